#include "explain/path_names.h"

#include <algorithm>
#include <optional>

#include "checks/accepted_values.h"
#include "explain/escaped_text.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr char lowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text as a name is compared here: in lower case, without blanks.
std::string folded(std::string_view text) {
  std::string fold;
  fold.reserve(text.size());
  for (const char c : text) {
    if (c != ' ') {
      fold.push_back(lowerCase(c));
    }
  }
  return fold;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerCase(x) == lowerCase(y);
         });
}

std::string withoutBlanks(std::string_view text) {
  std::string kept(text);
  kept.erase(std::remove(kept.begin(), kept.end(), ' '), kept.end());
  return kept;
}

// The accepted name that `text` writes in other case or with other blanks.
bool findOtherSpelling(std::string_view text, const std::string& fold,
                       const std::vector<std::string>& names, PathNameReading& reading) {
  const auto found = std::find_if(names.begin(), names.end(), [&fold](const std::string& name) {
    return folded(name) == fold;
  });
  if (found == names.end()) {
    return false;
  }
  const bool caseDiffers = withoutBlanks(text) != withoutBlanks(*found);
  const bool blanksDiffer = !equalIgnoringCase(text, *found);
  reading.name = *found;
  reading.slip = caseDiffers && blanksDiffer ? PathNameReading::Slip::kCaseAndBlanks
                 : caseDiffers               ? PathNameReading::Slip::kCase
                                             : PathNameReading::Slip::kBlanks;
  return true;
}

// The number N of a folded text "<prefix>N", digits only; nothing for any
// other text. A number too large for 32 bits reads as the largest.
std::optional<std::uint32_t> pathNumberIn(std::string_view fold, std::string_view prefix) {
  if (fold.size() <= prefix.size() || fold.compare(0, prefix.size(), prefix) != 0) {
    return std::nullopt;
  }
  return readAllDigits(fold.substr(prefix.size()));
}

std::size_t countWithPrefix(const std::vector<std::string>& names, std::string_view prefix) {
  return static_cast<std::size_t>(
      std::count_if(names.begin(), names.end(),
                    [prefix](const auto& n) { return n.compare(0, prefix.size(), prefix) == 0; }));
}

// Past the header's count: every close name would be a guess.
bool findPastCount(std::optional<std::uint32_t> number, std::size_t count, std::string_view kind,
                   PathNameReading& reading) {
  if (!number || *number <= count) {
    return false;
  }
  reading.pastKind = kind;
  reading.count = count;
  return true;
}

}  // namespace

PathNameReading readXmlLocation(std::string_view text, const std::vector<std::string>& names) {
  PathNameReading reading;
  const std::string fold = folded(text);
  if (findOtherSpelling(text, fold, names, reading)) {
    return reading;
  }
  const std::optional<std::uint32_t> number = pathNumberIn(fold, folded(kXmlPathName));
  if (number == 1u) {
    reading.name = kXmlPathName;
    reading.slip = PathNameReading::Slip::kFirstCncPathNumbered;
    return reading;
  }
  findPastCount(number, countWithPrefix(names, kXmlPathName), "CNC", reading);
  return reading;
}

PathNameReading readDataPath(std::string_view text, const std::vector<std::string>& names) {
  PathNameReading reading;
  const std::string fold = folded(text);
  if (!findOtherSpelling(text, fold, names, reading) &&
      !findPastCount(pathNumberIn(fold, folded(kCncPathPrefix)),
                     countWithPrefix(names, kCncPathPrefix), "CNC", reading)) {
    findPastCount(pathNumberIn(fold, folded(kPmcPathPrefix)),
                  countWithPrefix(names, kPmcPathPrefix), "PMC", reading);
  }
  return reading;
}

void appendPathNameReason(std::string& out, const PathNameReading& reading) {
  if (!reading.pastKind.empty()) {
    // Past the largest count a header line may give, the count there is
    // not necessarily one the header line gives: it may be faulty.
    const bool largest = reading.count == static_cast<std::size_t>(reading.pastKind == "CNC"
                                                                       ? kCncPathCounts.highest
                                                                       : kPmcPathCounts.highest);
    out.append(largest ? "; there are at most " : "; the header line gives ");
    appendDecimal(out, reading.count);
    out.push_back(' ');
    out.append(reading.pastKind);
    out.append(reading.count == 1 ? " path" : " paths");
    return;
  }
  switch (reading.slip) {
    case PathNameReading::Slip::kNone: break;
    case PathNameReading::Slip::kCase: out.append("; names are case-sensitive"); break;
    case PathNameReading::Slip::kBlanks: out.append("; blanks count in names"); break;
    case PathNameReading::Slip::kCaseAndBlanks:
      out.append("; names are case-sensitive and blanks count in them");
      break;
    case PathNameReading::Slip::kFirstCncPathNumbered:
      out.append("; CNC path 1 is written ");
      appendQuotedForPeople(out, kXmlPathName);
      break;
  }
}

}  // namespace marlint

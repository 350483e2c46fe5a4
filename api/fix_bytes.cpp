#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "explain/cause_undo.h"
#include "explain/escaped_text.h"
#include "explain/file_fixes.h"
#include "input/text_rules.h"
#include "marlint/marlint.h"
#include "run/rule.h"

// Fixing a file: the certain fixes of its faults applied in rounds, each
// round on the bytes the one before gave, until no certain fix is left. A
// round applies either one fix of the file as a whole, proved on the whole
// file, or every certain fix of a single fault that overlaps no other.

namespace marlint {
namespace {

constexpr std::size_t kMostRounds = 16;

// An edit applied in an earlier round: where it stands in the input and in
// the bytes now.
struct AppliedEdit {
  std::size_t inputOffset;
  std::size_t inputLength;
  std::size_t offsetNow;
  std::size_t lengthNow;
};

// Where an edit stands in the input.
struct InputSpan {
  std::size_t offset;
  std::size_t length;
};

// An edit of a round, in the bytes before it, without its replacement.
struct RoundEdit {
  std::size_t offset;
  std::size_t length;
  std::size_t replacementSize;
};

// The edits applied so far, in offset order, to map an offset of the bytes
// now back to the input. A file saved again from UTF-16 has an edit for
// each character, so both questions are answered by a binary search.
class EditMap {
 public:
  // Splits `edits`, of the bytes now, where an earlier edit removed bytes
  // inside one, so that in the input each piece stands between the bytes
  // removed: a word of a file saved again from UTF-16 has a NUL removed
  // after each letter. The first piece takes the replacement, the others
  // remove their bytes. False where an edit meets bytes that an earlier
  // edit wrote, or inserts where one removed: a fix there would change a
  // change.
  bool splitAroundRemovals(std::vector<Edit>& edits) const {
    bool splits = false;
    for (const Edit& edit : edits) {
      const std::size_t editEnd = edit.offset + edit.length;
      for (auto earlier = firstEndingAtOrAfter(edit.offset);
           earlier != edits_.end() && earlier->offsetNow <= editEnd; ++earlier) {
        const bool removed = earlier->lengthNow == 0;
        if (removed && edit.offset < earlier->offsetNow && earlier->offsetNow < editEnd) {
          splits = true;
          continue;
        }
        const std::size_t end = earlier->offsetNow + earlier->lengthNow;
        if ((edit.offset < end && earlier->offsetNow < editEnd) ||
            (edit.length == 0 && removed && edit.offset == earlier->offsetNow)) {
          return false;
        }
      }
    }
    if (!splits) {
      return true;
    }
    std::vector<Edit> pieces;
    for (Edit& edit : edits) {
      const std::size_t editEnd = edit.offset + edit.length;
      pieces.push_back(std::move(edit));
      for (auto earlier = firstEndingAtOrAfter(pieces.back().offset);
           earlier != edits_.end() && earlier->offsetNow < editEnd; ++earlier) {
        if (earlier->lengthNow == 0 && pieces.back().offset < earlier->offsetNow) {
          pieces.back().length = earlier->offsetNow - pieces.back().offset;
          pieces.push_back({earlier->offsetNow, editEnd - earlier->offsetNow, ""});
        }
      }
    }
    edits = std::move(pieces);
    return true;
  }

  // The input offset of `offset` of the bytes now, which no earlier edit
  // wrote: shifted by what the edits before it added or removed.
  std::size_t inputOffsetOf(std::size_t offset) const {
    const auto after = std::upper_bound(edits_.begin(), edits_.end(), offset,
                                        [](std::size_t at, const AppliedEdit& edit) {
                                          return edit.offsetNow + edit.lengthNow > at;
                                        });
    const auto before = static_cast<std::size_t>(after - edits_.begin());
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(offset) + shiftBefore_[before]);
  }

  // Adds a round's edits, given in offsets of the bytes before the round
  // and in offset order, with where each stands in the input.
  void addRound(const std::vector<RoundEdit>& roundEdits,
                const std::vector<InputSpan>& inputEdits) {
    std::vector<AppliedEdit> merged;
    merged.reserve(edits_.size() + roundEdits.size());
    std::size_t older = 0;
    std::ptrdiff_t shift = 0;
    for (std::size_t i = 0; i < roundEdits.size(); ++i) {
      const RoundEdit& edit = roundEdits[i];
      while (older < edits_.size() &&
             edits_[older].offsetNow + edits_[older].lengthNow <= edit.offset) {
        merged.push_back(shifted(edits_[older++], shift));
      }
      merged.push_back({inputEdits[i].offset, inputEdits[i].length,
                        static_cast<std::size_t>(static_cast<std::ptrdiff_t>(edit.offset) + shift),
                        edit.replacementSize});
      shift += static_cast<std::ptrdiff_t>(edit.replacementSize) -
               static_cast<std::ptrdiff_t>(edit.length);
    }
    while (older < edits_.size()) {
      merged.push_back(shifted(edits_[older++], shift));
    }
    edits_ = std::move(merged);
    shiftBefore_.assign(1, 0);
    shiftBefore_.reserve(edits_.size() + 1);
    for (const AppliedEdit& edit : edits_) {
      shiftBefore_.push_back(shiftBefore_.back() + static_cast<std::ptrdiff_t>(edit.inputLength) -
                             static_cast<std::ptrdiff_t>(edit.lengthNow));
    }
  }

 private:
  static AppliedEdit shifted(AppliedEdit edit, std::ptrdiff_t shift) {
    edit.offsetNow = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(edit.offsetNow) + shift);
    return edit;
  }

  // Edits never overlap, so their ends rise with their offsets.
  std::vector<AppliedEdit>::const_iterator firstEndingAtOrAfter(std::size_t offset) const {
    return std::lower_bound(edits_.begin(), edits_.end(), offset,
                            [](const AppliedEdit& edit, std::size_t at) {
                              return edit.offsetNow + edit.lengthNow < at;
                            });
  }

  std::vector<AppliedEdit> edits_;
  // What the edits before each one added to the bytes, less what they
  // removed: an offset now past them stands that much earlier in the input.
  std::vector<std::ptrdiff_t> shiftBefore_{0};
};

std::vector<Fault> everyFaultOf(std::string_view bytes, bool withNotes) {
  CheckOptions options;
  options.scope = Scope::kEveryFault;
  options.includeNotes = withNotes;
  return checkBytes(bytes, options).faults;
}

// The faults of the last few bytes checked: a round checks the bytes that
// the round before proved its fix on, and a proof may look at the bytes of
// the round after it.
class FaultChecks {
 public:
  const std::vector<Fault>& faultsOf(std::string_view bytes) {
    for (const auto& [checked, faults] : recent_) {
      if (checked == bytes) {
        return faults;
      }
    }
    if (recent_.size() == kKept) {
      recent_.erase(recent_.begin());
    }
    recent_.emplace_back(std::string(bytes), everyFaultOf(bytes, false));
    return recent_.back().second;
  }

 private:
  static constexpr std::size_t kKept = 3;
  std::vector<std::pair<std::string, std::vector<Fault>>> recent_;
};

// Where each line of some bytes starts, to find a line's offset, or an
// offset's line and column, without reading the bytes before it again.
class LineStarts {
 public:
  explicit LineStarts(std::string_view bytes) : size_(bytes.size()) {
    starts_.push_back(0);
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1)) {
      starts_.push_back(at + 1);
    }
  }

  // The offset of line `line`, from 1; the end for a line past the last.
  std::size_t offsetOfLine(std::size_t line) const {
    return line >= 1 && line <= starts_.size() ? starts_[line - 1] : size_;
  }

  // Where `offset` stands as a line and a byte column, both from 1.
  std::pair<std::size_t, std::size_t> lineAndColumnOf(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const auto line = static_cast<std::size_t>(after - starts_.begin());
    return {line, offset - starts_[line - 1] + 1};
  }

 private:
  std::vector<std::size_t> starts_;
  std::size_t size_;
};

// The point names the rows give, as written, each with how often.
std::unordered_map<std::string_view, std::size_t> pointNamesOf(std::string_view bytes) {
  std::unordered_map<std::string_view, std::size_t> names;
  std::size_t start = bytes.find('\n');
  while (start != std::string_view::npos && start + 1 < bytes.size()) {
    ++start;
    const std::size_t lineFeed = bytes.find('\n', start);
    std::string_view line = bytes.substr(
        start, lineFeed == std::string_view::npos ? std::string_view::npos : lineFeed - start);
    if (line.empty() || line == "\r") {
      break;
    }
    const std::size_t nameStart = line.find(',');
    if (nameStart != std::string_view::npos) {
      const std::string_view rest = line.substr(nameStart + 1);
      ++names[rest.substr(0, rest.find(','))];
    }
    start = lineFeed;
  }
  return names;
}

// A certain fix that changes a point name is certain only while no other
// row has, or is being given, the name it writes.
void downgradeNameClashes(std::vector<Fault>& faults, std::string_view bytes) {
  std::unordered_map<std::string_view, std::size_t> names;
  bool namesRead = false;
  std::unordered_map<std::string, std::size_t> written;
  const auto isNameFix = [](const Fault& fault) {
    return fault.field == 1 && fault.severity == Severity::kError;
  };
  for (const Fault& fault : faults) {
    if (isNameFix(fault)) {
      for (const Fix& fix : fault.fixes) {
        if (fix.applicability == Applicability::kCertain && fix.edits.size() == 1) {
          ++written[fix.edits.front().replacement];
        }
      }
    }
  }
  for (Fault& fault : faults) {
    if (!isNameFix(fault)) {
      continue;
    }
    for (Fix& fix : fault.fixes) {
      if (fix.applicability != Applicability::kCertain || fix.edits.size() != 1) {
        continue;
      }
      if (!namesRead) {
        names = pointNamesOf(bytes);
        namesRead = true;
      }
      const std::string& name = fix.edits.front().replacement;
      const auto used = names.find(name);
      if ((used != names.end() && used->second > 0) || written[name] > 1) {
        fix.applicability = Applicability::kMaybe;
      }
    }
  }
}

// The one certain fix of a fault, or none.
const Fix* certainFixOf(const Fault& fault) {
  const Fix* certain = nullptr;
  for (const Fix& fix : fault.fixes) {
    if (fix.applicability == Applicability::kCertain) {
      if (certain != nullptr) {
        return nullptr;
      }
      certain = &fix;
    }
  }
  return certain;
}

// What a fault of a line is, for telling a fault the input had from one a
// fix made.
struct FaultKey {
  std::size_t line;
  int field;
  std::string rule;
  bool operator<(const FaultKey& other) const {
    return std::tie(line, field, rule) < std::tie(other.line, other.field, other.rule);
  }
  bool operator==(const FaultKey& other) const {
    return line == other.line && field == other.field && rule == other.rule;
  }
};

std::vector<FaultKey> keysOf(const std::vector<Fault>& faults) {
  std::vector<FaultKey> keys;
  for (const Fault& fault : faults) {
    if (fault.severity == Severity::kError) {
      keys.push_back({fault.line, fault.field, fault.rule});
    }
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

// How many whole-file fixes a proof may look ahead: a UTF-16 export with
// tabs between its fields, saved as UTF-8, still has every line faulty
// until its tabs are commas.
constexpr int kMostFixesAhead = 2;

// A fix of the file as a whole is proved on the bytes it gives:
//
// - no line that the input's rows took in is left after the empty line that
//   ends the rows (a row "\r\r\n" or "\"\"" that the fix leaves empty would
//   end them early);
// - where the fix keeps every line where it was, the fixed bytes have lost
//   a fault, and each fault that the input lacked on its line has a certain
//   fix of its own: undoing quotes shows a unit "celsius" they hid, which
//   the next round fixes;
// - where it moves lines (lines that ended in CR alone, read as one line,
//   become many), no fault of the fixed bytes can be told from one of the
//   input by its line, so each has a certain fix of its own.
//
// Where that does not hold yet, a further fix of the whole file may prove
// the two together, as the next round will apply it.
bool provesOnFile(const std::vector<Fault>& before, std::string_view bytes,
                  std::string_view fixedBytes, FaultChecks& checks,
                  int fixesAhead = kMostFixesAhead) {
  if (linesAfterRows(fixedBytes) > linesAfterRows(bytes)) {
    return false;
  }
  const std::vector<Fault>& after = checks.faultsOf(fixedBytes);
  const std::vector<FaultKey> beforeKeys = keysOf(before);
  bool proved = false;
  if (countByte(bytes, '\n') == countByte(fixedBytes, '\n')) {
    std::vector<FaultKey> afterKeys = keysOf(after);
    std::vector<FaultKey> added;
    std::set_difference(afterKeys.begin(), afterKeys.end(), beforeKeys.begin(), beforeKeys.end(),
                        std::back_inserter(added));
    std::vector<FaultKey> fixable;
    for (const Fault& fault : after) {
      if (fault.severity == Severity::kError && certainFixOf(fault) != nullptr) {
        fixable.push_back({fault.line, fault.field, fault.rule});
      }
    }
    std::sort(fixable.begin(), fixable.end());
    proved = afterKeys.size() - added.size() < beforeKeys.size() &&
             std::all_of(added.begin(), added.end(), [&fixable](const FaultKey& key) {
               return std::binary_search(fixable.begin(), fixable.end(), key);
             });
  } else {
    proved = !beforeKeys.empty() && std::all_of(after.begin(), after.end(), [](const Fault& fault) {
      return fault.severity != Severity::kError || certainFixOf(fault) != nullptr;
    });
  }
  if (proved || fixesAhead == 0) {
    return proved;
  }
  for (const Fault& record : fileFixesOf(fixedBytes)) {
    if (provesOnFile(before, bytes, withEdits(fixedBytes, record.fixes.front().edits), checks,
                     fixesAhead - 1)) {
      return true;
    }
  }
  return false;
}

// "unit "celsius": write "CELSIUS"".
std::string fixedDetail(const Fault& fault, const Fix& fix) {
  if (fault.text.empty()) {
    return fix.description;
  }
  std::string detail = fault.columnName;
  detail.push_back(' ');
  appendQuotedForPeople(detail, fault.text);
  detail.append(": ");
  detail.append(fix.description);
  return detail;
}

// The fixes one round applies: one fix of the file as a whole, or every
// certain fix of a fault that overlaps neither another nor an earlier edit.
std::vector<std::pair<Fault, Fix>> fixesOfRound(std::vector<Fault>& faults, std::string_view bytes,
                                                const EditMap& map, FaultChecks& checks) {
  std::vector<std::pair<Fault, Fix>> chosen;
  for (Fault& record : fileFixesOf(bytes)) {
    Fix& fix = record.fixes.front();
    if (map.splitAroundRemovals(fix.edits) &&
        provesOnFile(faults, bytes, withEdits(bytes, fix.edits), checks)) {
      Fix applied = std::move(fix);
      record.fixes.clear();
      chosen.emplace_back(std::move(record), std::move(applied));
      return chosen;
    }
  }
  downgradeNameClashes(faults, bytes);
  std::vector<std::pair<Fault, Fix>> candidates;
  for (Fault& fault : faults) {
    if (fault.severity != Severity::kError) {
      continue;
    }
    if (const Fix* fix = certainFixOf(fault); fix != nullptr && !fix->edits.empty()) {
      candidates.emplace_back(fault, *fix);
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
    return a.second.edits.front().offset < b.second.edits.front().offset;
  });
  std::size_t end = 0;
  bool any = false;
  for (auto& candidate : candidates) {
    const std::vector<Edit>& edits = candidate.second.edits;
    const bool overlapsKept = any && (edits.front().offset < end ||
                                      (edits.front().offset == end && edits.front().length == 0));
    if (overlapsKept) {
      continue;
    }
    const std::size_t editsEnd = edits.back().offset + edits.back().length;
    if (!map.splitAroundRemovals(candidate.second.edits)) {
      continue;
    }
    end = editsEnd;
    any = true;
    chosen.push_back(std::move(candidate));
  }
  return chosen;
}

}  // namespace

// Fixing runs only when asked for: kept with the cold code, away from the
// pages every plain run touches.
[[gnu::cold]] FixResult fixBytes(std::string_view input) {
  FixResult result;
  std::string bytes(input);
  EditMap map;
  FaultChecks checks;
  const LineStarts inputLines(input);
  for (std::size_t round = 0; round < kMostRounds; ++round) {
    std::vector<Fault> faults = checks.faultsOf(bytes);
    std::vector<std::pair<Fault, Fix>> chosen = fixesOfRound(faults, bytes, map, checks);
    if (chosen.empty()) {
      break;
    }
    const LineStarts linesNow(bytes);
    std::vector<RoundEdit> roundEdits;
    std::vector<InputSpan> inputEdits;
    // The round's edits come in offset order: one fix of the whole file, or
    // fixes of faults that are apart, in the order of their edits.
    std::string fixedBytes;
    fixedBytes.reserve(bytes.size());
    std::size_t copied = 0;
    for (auto& [fault, fix] : chosen) {
      // The fault's place and its edits, in the input.
      const std::size_t placeNow = linesNow.offsetOfLine(fault.line) + fault.column - 1;
      const auto [line, column] = inputLines.lineAndColumnOf(map.inputOffsetOf(placeNow));
      Fault& applied = fault;
      applied.detail = fixedDetail(fault, fix);
      applied.line = line;
      applied.column = column;
      applied.severity = Severity::kFixed;
      applied.message.clear();
      for (Edit& edit : fix.edits) {
        const std::size_t start = map.inputOffsetOf(edit.offset);
        inputEdits.push_back({start, edit.length});
        roundEdits.push_back({edit.offset, edit.length, edit.replacement.size()});
        fixedBytes.append(bytes, copied, edit.offset - copied).append(edit.replacement);
        copied = edit.offset + edit.length;
        edit.offset = start;
      }
      applied.fixes.assign(1, std::move(fix));
      result.applied.push_back(std::move(applied));
    }
    fixedBytes.append(bytes, copied);
    map.addRound(roundEdits, inputEdits);
    bytes = std::move(fixedBytes);
  }
  std::stable_sort(
      result.applied.begin(), result.applied.end(), [](const Fault& a, const Fault& b) {
        const Edit& first = a.fixes.front().edits.front();
        const Edit& other = b.fixes.front().edits.front();
        return std::tie(first.offset, first.length) < std::tie(other.offset, other.length);
      });
  result.remaining = everyFaultOf(bytes, true);
  downgradeNameClashes(result.remaining, bytes);
  result.bytes = std::move(bytes);
  return result;
}

}  // namespace marlint

#include "app/fault_detail.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "app/close_words.h"
#include "app/escaped_text.h"
#include "app/unit_spellings.h"
#include "input/split_fields.h"
#include "input/text_rules.h"
#include "points/identity_columns.h"
#include "vocab/vocabularies.h"

// A detail sentence reads "<column> "<text>" <what is wrong>; <what is
// accepted>", then "; did you mean ...?" when an accepted word is close,
// then " Likely cause: ..." when the file shows why.

namespace marlint {
namespace {

constexpr std::array<std::string_view, 2> kPointKinds = {"C", "D"};
constexpr std::array<std::string_view, 3> kPointTypes = {"EVENT", "SAMPLE", "CONDITION"};
constexpr std::array<std::string_view, 2> kDcsLadders = {"True", "False"};
constexpr std::array<std::string_view, 1> kReturnTypes = {"String"};
constexpr std::array<std::string_view, 1> kAccessTypes = {"R"};
constexpr std::size_t kEntriesShown = 3;
constexpr std::string_view kCncPathPrefix = "CNC path ";
constexpr std::string_view kPmcPathPrefix = "PMC path ";
constexpr std::string_view kXmlPathPrefix = "Path";

// strerror_r comes in a GNU variant that returns the text and a POSIX one
// that fills the buffer; these take the result of either.
[[maybe_unused]] std::string_view errorTextOf(int result, const char* buffer) {
  return result == 0 ? buffer : "unknown error";
}
[[maybe_unused]] std::string_view errorTextOf(const char* result, const char* /*buffer*/) {
  return result;
}

void appendErrorText(std::string& out, int errorNumber) {
  std::array<char, 256> buffer{};
#ifdef _WIN32
  // The Windows C library has no strerror_r; strerror_s fills the buffer as
  // the POSIX variant does.
  out.append(errorTextOf(strerror_s(buffer.data(), buffer.size(), errorNumber), buffer.data()));
#else
  out.append(errorTextOf(strerror_r(errorNumber, buffer.data(), buffer.size()), buffer.data()));
#endif
}

// "A", "B" or "C"; each word quoted.
template <typename Words>
void appendAlternatives(std::string& out, const Words& words) {
  const std::size_t count = std::size(words);
  std::size_t index = 0;
  for (const auto& word : words) {
    if (index > 0) {
      out.append(index + 1 == count ? " or " : ", ");
    }
    appendQuotedForPeople(out, word);
    ++index;
  }
}

// "one of the 32 unit names, such as "NONE", "AMPERE", "CELSIUS"".
template <typename Words>
void appendVocabulary(std::string& out, const Words& words, std::string_view what) {
  out.append("one of the ");
  appendDecimal(out, std::size(words));
  out.append(" ");
  out.append(what);
  out.append(", such as ");
  std::size_t index = 0;
  for (const auto& word : words) {
    if (index == kEntriesShown) {
      break;
    }
    if (index > 0) {
      out.append(", ");
    }
    appendQuotedForPeople(out, word);
    ++index;
  }
}

// "<column> "<text>"", or "<column> is empty" and false for an empty text,
// so that the caller adds what is wrong with a text only when there is one.
bool appendSubject(std::string& out, const Fault& fault) {
  out.append(fault.columnName);
  if (fault.text.empty()) {
    out.append(" is empty");
    return false;
  }
  out.push_back(' ');
  appendQuotedForPeople(out, fault.text);
  return true;
}

void appendReadsAs(std::string& out, std::string_view text) {
  out.append(" reads as ");
  appendDecimal(out, readLeadingInt(text));
}

// " holds "_"" for the first character that `allowed` refuses, which may
// be a whole UTF-8 sequence; false when every character is allowed.
template <typename Allowed>
bool appendFirstRefused(std::string& out, std::string_view text, Allowed allowed) {
  const auto refused = std::find_if_not(text.begin(), text.end(), allowed);
  if (refused == text.end()) {
    return false;
  }
  const std::size_t at = static_cast<std::size_t>(refused - text.begin());
  out.append(" holds ");
  appendQuotedForPeople(out,
                        text.substr(at, std::max<std::size_t>(utf8SequenceLength(text, at), 1)));
  return true;
}

// " has 2 fields", " has 1 field".
void appendCount(std::string& out, std::size_t count, std::string_view singular) {
  out.append(" has ");
  appendDecimal(out, count);
  out.push_back(' ');
  out.append(singular);
  if (count != 1) {
    out.push_back('s');
  }
}

std::size_t fieldCountOf(std::string_view line) {
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}

// A digits-only column: what is wrong with a text that is not empty.
void appendDigitsProblem(std::string& out, std::string_view text) {
  if (!appendFirstRefused(out, text, isAsciiDigit)) {
    out.append(" is out of range");
  }
}

void appendPointNameProblem(std::string& out, std::string_view text) {
  if (!isAsciiLetter(text.front())) {
    out.append(" starts with ");
    appendQuotedForPeople(out,
                          text.substr(0, std::max<std::size_t>(utf8SequenceLength(text, 0), 1)));
  } else if (!appendFirstRefused(out, text, isAsciiAlnum)) {
    appendCount(out, text.size(), "character");
  }
}

void appendEventValueProblem(std::string& out, std::string_view text) {
  if (!appendFirstRefused(out, text, isAsciiAlnum)) {
    appendCount(out, text.size(), "character");
  }
}

// "CNC path 1" to "CNC path 3": the data path names of one kind.
void appendPathRange(std::string& out, const std::vector<std::string>& names,
                     std::string_view prefix) {
  std::string_view first;
  std::string_view last;
  for (const std::string& name : names) {
    if (name.compare(0, prefix.size(), prefix) == 0) {
      first = first.empty() ? std::string_view(name) : first;
      last = name;
    }
  }
  appendQuotedForPeople(out, first);
  if (last != first) {
    out.append(" to ");
    appendQuotedForPeople(out, last);
  }
}

void appendXmlLocations(std::string& out, const std::vector<std::string>& names) {
  out.append("expected \"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\"");
  if (names.size() > 3) {
    out.append(" to ");
    appendQuotedForPeople(out, names.back());
  }
}

// The number N of a path name written "<prefix>N"; 0 when `text` is none.
std::int32_t pathNumberIn(std::string_view text, std::string_view prefix) {
  if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0 ||
      !std::all_of(text.begin() + prefix.size(), text.end(), isAsciiDigit)) {
    return 0;
  }
  return readLeadingIntByFullRule(text.substr(prefix.size()));
}

std::size_t countWithPrefix(const std::vector<std::string>& names, std::string_view prefix) {
  return static_cast<std::size_t>(
      std::count_if(names.begin(), names.end(),
                    [prefix](const auto& n) { return n.compare(0, prefix.size(), prefix) == 0; }));
}

// "; the header line gives 3 CNC paths" for a path beyond the header's count,
// whose every close name would be a guess; true when written.
bool appendPathBeyondCount(std::string& out, std::vector<std::string>& suggestions,
                           std::int32_t number, std::size_t count, std::string_view kind) {
  if (number <= 0 || static_cast<std::size_t>(number) <= count) {
    return false;
  }
  suggestions.clear();
  out.append("; the header line gives ");
  appendDecimal(out, count);
  out.push_back(' ');
  out.append(kind);
  out.append(count == 1 ? " path" : " paths");
  return true;
}

// The sentence of `rule` up to, not including, the suggestions; fills
// `suggestions` for the columns with a fixed vocabulary.
void appendRuleSentence(std::string& out, std::vector<std::string>& suggestions, const Fault& fault,
                        Rule rule, const RunState& run, const FaultSurroundings& around) {
  const std::string_view text = fault.text;
  switch (rule) {
    case Rule::kCannotOpen:
      out.append("cannot open: ");
      appendErrorText(out, run.fileErrorNumber());
      return;
    case Rule::kReadError:
      out.append("read error: ");
      appendErrorText(out, run.fileErrorNumber());
      return;
    case Rule::kEmptyFile: out.append("the file is empty"); return;
    case Rule::kHeaderFieldCount:
      if (appendSubject(out, fault)) {
        appendCount(out, fieldCountOf(text), "field");
      }
      out.append(
          "; expected 3 fields: PMC path count, CNC path count, DCS ladder, such as "
          "\"2,3,False\"");
      return;
    case Rule::kPmcPathCount:
    case Rule::kCncPathCount:
      if (appendSubject(out, fault)) {
        appendReadsAs(out, text);
      }
      out.append(rule == Rule::kPmcPathCount ? "; expected 1 to 5" : "; expected 1 to 10");
      return;
    case Rule::kDcsLadder:
      suggestions = closeWordsIn(text, kDcsLadders);
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      out.append("; expected ");
      appendAlternatives(out, kDcsLadders);
      return;
    case Rule::kRowFieldCount:
      appendSubject(out, fault);
      appendCount(out, fieldCountOf(text), "field");
      out.append("; expected 14 fields (13 commas)");
      return;
    case Rule::kPointKind:
      suggestions = closeWordsIn(text, kPointKinds);
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      out.append("; expected \"C\" (a configured point) or \"D\" (a method point)");
      return;
    case Rule::kPointName:
      if (appendSubject(out, fault)) {
        appendPointNameProblem(out, text);
      }
      out.append("; expected a letter, then letters and digits, 50 at most");
      return;
    case Rule::kMethodName: {
      // A "D" row's name is a method name, then optionally "_" and a suffix
      // that is kept as it is in a suggestion.
      const std::string_view method = methodNameOf(text);
      const std::string_view suffix = text.substr(method.size());
      suggestions = closeWordsIn(method, methodNames());
      for (std::string& suggestion : suggestions) {
        suggestion.append(suffix);
      }
      // A name another row has would only be the next fault.
      if (around.dropUsedNames) {
        around.dropUsedNames(suggestions);
      }
      if (appendSubject(out, fault) && !suffix.empty()) {
        out.append(": ");
        appendQuotedForPeople(out, method);
      }
      out.append(" is not a method name; expected ");
      appendVocabulary(out, methodNames(), "method names");
      out.append(", optionally followed by \"_\" and a suffix");
      return;
    }
    case Rule::kPointType:
      suggestions = closeWordsIn(text, kPointTypes);
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      out.append("; expected ");
      appendAlternatives(out, kPointTypes);
      return;
    case Rule::kEventValue:
      appendSubject(out, fault);
      appendEventValueProblem(out, text);
      out.append("; an EVENT point's value is empty or 1 to 10 letters and digits");
      return;
    case Rule::kSampleValue:
      appendSubject(out, fault);
      out.append(" is not empty; a SAMPLE point has no constant value");
      return;
    case Rule::kConditionWordCount:
      appendSubject(out, fault);
      appendCount(out, static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1,
                  "code");
      out.append("; a CONDITION point has 1 to 10 codes separated by single blanks");
      return;
    case Rule::kConditionCode:
      if (text.empty()) {
        const std::vector<std::string_view> fields = splitFields(run.currentLine(), ',');
        const auto index = static_cast<std::size_t>(fault.field);
        if (index >= fields.size() || fields[index].empty()) {
          out.append(
              "constant value is empty; a CONDITION point needs 1 to 10 codes, each 1000 to "
              "2999, separated by single blanks");
          return;
        }
        out.append(
            "constant value has an empty code, from two blanks in a row or a blank at its start "
            "or end");
      } else {
        out.append("constant value code ");
        appendQuotedForPeople(out, text);
        if (!appendFirstRefused(out, text, isAsciiAlnum)) {
          appendReadsAs(out, text);
        }
      }
      out.append("; a CONDITION code is 1000 to 2999, codes are separated by single blanks");
      return;
    case Rule::kCycle:
      if (appendSubject(out, fault)) {
        appendReadsAs(out, text);
      }
      out.append("; expected 100 to 10000");
      return;
    case Rule::kUnitName:
      if (const std::string_view spelled = unitNameSpelledAs(text); !spelled.empty()) {
        suggestions.assign(1, std::string(spelled));
      } else {
        suggestions = closeWordsIn(text, unitNames());
      }
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      out.append("; a SAMPLE point names ");
      appendVocabulary(out, unitNames(), "unit names");
      out.append(" (\"NONE\" for no unit)");
      return;
    case Rule::kUnitNotAllowed:
      appendSubject(out, fault);
      out.append(" is not empty; only a SAMPLE point has a unit");
      return;
    case Rule::kXmlLocation: {
      const std::vector<std::string>& names = run.xmlLocationNames.names();
      suggestions = closeWordsIn(text, names);
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      const std::int32_t path = pathNumberIn(text, kXmlPathPrefix);
      if (path == 1) {
        out.append("; CNC path 1 is written \"Path\"");
        suggestions.assign(1, std::string(kXmlPathPrefix));
      } else {
        appendPathBeyondCount(out, suggestions, path, countWithPrefix(names, kXmlPathPrefix),
                              "CNC");
      }
      out.append("; ");
      appendXmlLocations(out, names);
      return;
    }
    case Rule::kConstantPointColumn:
      appendSubject(out, fault);
      out.append(
          " is not empty; a point with constant values (a CONDITION point, or an EVENT point "
          "with a value) leaves columns 7 to 13 empty");
      return;
    case Rule::kDataPath: {
      const std::vector<std::string>& names = run.pathNameSet.names();
      suggestions = closeWordsIn(text, names);
      appendSubject(out, fault);
      out.append(" is not accepted");
      if (!appendPathBeyondCount(out, suggestions, pathNumberIn(text, kCncPathPrefix),
                                 countWithPrefix(names, kCncPathPrefix), "CNC")) {
        appendPathBeyondCount(out, suggestions, pathNumberIn(text, kPmcPathPrefix),
                              countWithPrefix(names, kPmcPathPrefix), "PMC");
      }
      out.append("; expected empty (CNC path 1), ");
      appendPathRange(out, names, kCncPathPrefix);
      out.append(", ");
      appendPathRange(out, names, kPmcPathPrefix);
      out.append(" or \"DCS path 9\"");
      return;
    }
    case Rule::kCncDataType:
    case Rule::kPmcDataType:
      if (appendSubject(out, fault)) {
        appendReadsAs(out, text);
      }
      out.append(rule == Rule::kCncDataType
                     ? "; on a CNC path the data type is 1 to 4"
                     : "; on a PMC path or the DCS path the data type is 5 to 8");
      return;
    case Rule::kReturnType:
    case Rule::kAccessType: {
      const auto& accepted = rule == Rule::kReturnType ? kReturnTypes : kAccessTypes;
      suggestions = closeWordsIn(text, accepted);
      if (appendSubject(out, fault)) {
        out.append(" is not accepted");
      }
      out.append("; expected ");
      appendQuotedForPeople(out, accepted.front());
      return;
    }
    case Rule::kCncAddressType:
      appendSubject(out, fault);
      out.append(" is not empty; data types 1 to 4 have no address type");
      return;
    case Rule::kAddressLetter: {
      const std::string_view letters = addressLetters();
      CloseWords close(text);
      for (std::size_t i = 0; i < letters.size(); ++i) {
        close.consider(letters.substr(i, 1));
      }
      suggestions = close.closest();
      appendSubject(out, fault);
      out.append(
          " is not accepted; expected one of the 14 address letters G F Y X A R T K C D M N E Z");
      return;
    }
    case Rule::kStartAddressType1:
    case Rule::kStartAddressType2:
    case Rule::kStartAddressType3:
    case Rule::kPmcStartAddress:
      if (appendSubject(out, fault)) {
        appendDigitsProblem(out, text);
      }
      switch (rule) {
        case Rule::kStartAddressType1: out.append("; for data type 1 it is 100 to 199"); break;
        case Rule::kStartAddressType2: out.append("; for data type 2 it is 500 to 999"); break;
        case Rule::kStartAddressType3: out.append("; for data type 3 it is 1 to 33"); break;
        default: out.append("; for data types 5 to 8 it is 0 to 59999 (empty means 0)"); break;
      }
      out.append(", digits only");
      return;
    case Rule::kStartAddressType4:
      appendSubject(out, fault);
      out.append(" is not empty; data type 4 has no start address");
      return;
    case Rule::kBitPos:
      if (appendSubject(out, fault)) {
        appendDigitsProblem(out, text);
      }
      out.append("; for data type 7 it is 0 to 7, digits only");
      return;
    case Rule::kBitPosNotAllowed:
      appendSubject(out, fault);
      out.append(" is not empty; only data type 7 has a bit position");
      return;
    case Rule::kDuplicateName:
      appendSubject(out, fault);
      out.append(" is repeated; it first appears on line ");
      appendDecimal(out, fault.firstLine);
      return;
    case Rule::kUncheckedLines:
      if (run.uncheckedLineCount() == 1) {
        out.append("the 1 line after this empty line is not checked");
      } else {
        out.append("the ");
        appendDecimal(out, run.uncheckedLineCount());
        out.append(" lines after this empty line are not checked");
      }
      return;
  }
}

void appendSuggestions(std::string& out, const std::vector<std::string>& suggestions) {
  if (suggestions.empty()) {
    return;
  }
  out.append("; did you mean ");
  appendAlternatives(out, suggestions);
  out.push_back('?');
}

// Whether the input held an LF (or CR LF) right after `line`.
bool isEndedByLineFeed(std::string_view line, std::string_view held) {
  const std::less_equal<const char*> notAfter;
  const char* const lineEnd = line.data() + line.size();
  return line.data() != nullptr && held.data() != nullptr && notAfter(held.data(), line.data()) &&
         std::less<const char*>()(lineEnd, held.data() + held.size());
}

}  // namespace

void describeFault(Fault& fault, Rule rule, const RunState& run, const FaultSurroundings& around) {
  std::string& detail = fault.detail;
  detail.clear();
  // Room for the longer sentences, a vocabulary with suggestions and a
  // cause, without growing the text on the way.
  detail.reserve(256);
  appendRuleSentence(detail, fault.suggestions, fault, rule, run, around);
  if (fault.severity == Severity::kNote) {
    return;
  }
  appendSuggestions(detail, fault.suggestions);
  if (fault.line == 0 || rule == Rule::kDuplicateName) {
    return;  // a repeated name is found after its line was read
  }
  const std::string_view line = run.currentLine();
  const FileShape lineAlone =
      around.fileShape == nullptr ? FileShape::of(line, fault.line == 1) : FileShape();
  const FileShape& shape = around.fileShape == nullptr ? lineAlone : *around.fileShape;
  const FaultSite site{rule,       fault.line, fault.column,
                       fault.text, line,       isEndedByLineFeed(line, around.heldBytes)};
  const FileCauses causes = likelyCausesOf(site, shape);
  if (!causes.empty() && detail.back() != '?') {
    detail.push_back('.');
  }
  appendLikelyCauses(detail, causes, shape);
}

}  // namespace marlint

#include "explain/rule_sentences.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "checks/identity_columns.h"
#include "explain/close_words.h"
#include "explain/path_names.h"
#include "explain/row_repair.h"
#include "explain/unit_spellings.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

// A rule's sentence reads "<column> "<text>" <what is wrong>; <what is
// accepted>". Each rule has one row below that says how its subject is
// written, what is wrong with a text, what is accepted and where its
// suggestions come from; what is accepted is built from the same constants
// the checks compare with.

namespace marlint {
namespace {

// How a sentence starts.
enum class Subject : std::uint8_t {
  kNone,           // a fault of the file as a whole, or a note: no column, no text
  kColumn,         // "<column> "<text>"" and the problem, or "<column> is empty"
  kConditionCode,  // "<column> code "<text>"" and the problem, or what an empty code shows
};

struct RuleSentence {
  Rule rule;
  Subject subject;
  SentencePart problem;  // what is wrong with a text; nullptr: nothing
  Pieces accepted;       // what the column accepts
  SentencePart suggest;  // fills the suggestions; nullptr: none
};

// strerror_r comes in a GNU variant that returns the text and a POSIX one
// that fills the buffer; these take the result of either.
[[maybe_unused]] std::string_view errorTextOf(int result, const char* buffer) {
  return result == 0 ? buffer : "unknown error";
}
[[maybe_unused]] std::string_view errorTextOf(const char* result, const char* /*buffer*/) {
  return result;
}

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

// " has 51 characters", or " is too long" where the quote before it gave
// the size of a text too long to show whole.
void appendLength(std::string& out, std::string_view text) {
  if (isQuotedWhole(text)) {
    appendCount(out, text.size(), "character");
  } else {
    out.append(" is too long");
  }
}

void appendReadsAs(std::string& out, std::string_view text) {
  out.append(" reads as ");
  appendDecimal(out, readLeadingInt(text));
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

// What is wrong with a text, after its subject.

void isNotAccepted(Sentence& sentence) {
  sentence.out.append(" is not accepted");
}

void isNotEmpty(Sentence& sentence) {
  sentence.out.append(" is not empty");
}

void readsAs(Sentence& sentence) {
  appendReadsAs(sentence.out, sentence.fault.text);
}

void fieldCount(Sentence& sentence) {
  appendCount(sentence.out, fieldCountOf(sentence.fault.text), "field");
}

// The one slip, such as a thousands separator, that makes the row check;
// the repaired row is the suggestion when exactly one edit works. Without
// one, where the fields look shifted. Where likely causes are named, they
// say it instead.
void rowRepairs(Sentence& sentence) {
  if (!sentence.causesNamed) {
    explainFieldCount(sentence.out, sentence.suggestions, sentence.fault.text, sentence.run);
    return;
  }
  // The causes say what went wrong; the repaired row is still the
  // suggestion when exactly one edit works.
  std::string unsaid;
  explainFieldCount(unsaid, sentence.suggestions, sentence.fault.text, sentence.run);
}

void codeCount(Sentence& sentence) {
  const std::string_view text = sentence.fault.text;
  appendCount(sentence.out, static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1,
              "code");
}

// A digits-only column.
void digitsProblem(Sentence& sentence) {
  if (!appendFirstRefused(sentence.out, sentence.fault.text, isAsciiDigit)) {
    sentence.out.append(" is out of range");
  }
}

void pointNameProblem(Sentence& sentence) {
  const std::string_view text = sentence.fault.text;
  if (!isAsciiLetter(text.front())) {
    sentence.out.append(" starts with ");
    appendQuotedForPeople(sentence.out,
                          text.substr(0, std::max<std::size_t>(utf8SequenceLength(text, 0), 1)));
  } else if (!appendFirstRefused(sentence.out, text, isAsciiAlnum)) {
    appendLength(sentence.out, text);
  }
}

void eventValueProblem(Sentence& sentence) {
  if (!appendFirstRefused(sentence.out, sentence.fault.text, isAsciiAlnum)) {
    appendLength(sentence.out, sentence.fault.text);
  }
}

// A "D" row's name is a method name, then optionally "_" and a suffix; with
// a suffix, the method name is quoted on its own.
void methodOfName(Sentence& sentence) {
  const std::string_view text = sentence.fault.text;
  const std::string_view method = methodNameOf(text);
  if (method.size() < text.size()) {
    sentence.out.append(": ");
    appendQuotedForPeople(sentence.out, method);
  }
  sentence.out.append(" is not a method name");
}

void conditionCodeProblem(Sentence& sentence) {
  const std::string_view text = sentence.fault.text;
  if (!appendFirstRefused(sentence.out, text, isAsciiAlnum)) {
    appendReadsAs(sentence.out, text);
  }
}

// A path name in other case or with other blanks, or past the header's
// count, says so.
void xmlLocationProblem(Sentence& sentence) {
  sentence.out.append(" is not accepted");
  appendPathNameReason(sentence.out,
                       readXmlLocation(sentence.fault.text, sentence.run.xmlLocationNames.names()));
}

void dataPathProblem(Sentence& sentence) {
  sentence.out.append(" is not accepted");
  appendPathNameReason(sentence.out,
                       readDataPath(sentence.fault.text, sentence.run.pathNameSet.names()));
}

// Pieces that read the fault or the run.

void fileErrorText(Sentence& sentence) {
  std::array<char, 256> buffer{};
  const int errorNumber = sentence.run.fileErrorNumber();
#ifdef _WIN32
  // The Windows C library has no strerror_r; strerror_s fills the buffer as
  // the POSIX variant does.
  sentence.out.append(
      errorTextOf(strerror_s(buffer.data(), buffer.size(), errorNumber), buffer.data()));
#else
  sentence.out.append(
      errorTextOf(strerror_r(errorNumber, buffer.data(), buffer.size()), buffer.data()));
#endif
}

void firstLineOfName(Sentence& sentence) {
  appendDecimal(sentence.out, sentence.fault.firstLine);
}

void uncheckedLines(Sentence& sentence) {
  const std::size_t count = sentence.run.uncheckedLineCount();
  sentence.out.append("the ");
  appendDecimal(sentence.out, count);
  sentence.out.append(count == 1
                          ? " line after this empty line is not read, so it may hold faults that "
                            "the result does not show"
                          : " lines after this empty line are not read, so they may hold faults "
                            "that the result does not show");
}

// " to "Path3"" when the header line gives more than one CNC path.
void xmlPathNamesEnd(Sentence& sentence) {
  const std::vector<std::string>& names = sentence.run.xmlLocationNames.names();
  if (names.size() > std::size(kStartupXmlLocationNames) + 1) {
    sentence.out.append(" to ");
    appendQuotedForPeople(sentence.out, names.back());
  }
}

void cncPathNames(Sentence& sentence) {
  appendPathRange(sentence.out, sentence.run.pathNameSet.names(), kCncPathPrefix);
}

void pmcPathNames(Sentence& sentence) {
  appendPathRange(sentence.out, sentence.run.pathNameSet.names(), kPmcPathPrefix);
}

// "14 address letters G F Y X ...".
void addressLetterList(Sentence& sentence) {
  const std::string_view letters = addressLetters();
  appendDecimal(sentence.out, letters.size());
  sentence.out.append(" address letters");
  for (const char letter : letters) {
    sentence.out.push_back(' ');
    sentence.out.push_back(letter);
  }
}

// Where the suggestions come from: a fixed list of words, a vocabulary, or
// the names the run derived from the header line.

template <const auto& words>
void closeTo(Sentence& sentence) {
  sentence.suggestions = closeWordsIn(sentence.fault.text, words);
}

constexpr std::array<std::string_view, 1> kReturnTypeNames = {kReturnTypeName};
constexpr std::array<std::string_view, 1> kAccessTypeNames = {kAccessTypeName};

void appendToEach(std::vector<std::string>& names, std::string_view suffix) {
  for (std::string& name : names) {
    name.append(suffix);
  }
}

// The suffix of a "D" row's name is kept as it is in a suggestion. A name
// another row has, or one offered for another row already, would only be
// the next fault: the closest method names whose whole name is free are
// offered instead, and a method name further away may then be among them.
void closeMethodNames(Sentence& sentence) {
  const std::string_view text = sentence.fault.text;
  const std::string_view method = methodNameOf(text);
  const std::string_view suffix = text.substr(method.size());
  sentence.suggestions = closeWordsIn(method, methodNames());
  appendToEach(sentence.suggestions, suffix);
  UsedNames* const usedNames = sentence.around.usedNames;
  if (usedNames == nullptr || sentence.suggestions.empty()) {
    return;
  }
  if (usedNames->dropUsed(sentence.suggestions)) {
    std::vector<std::string> freeNames;
    for (const std::string_view name : methodNames()) {
      freeNames.push_back(std::string(name).append(suffix));
    }
    usedNames->dropUsed(freeNames);
    CloseWords close(method);
    for (const std::string& name : freeNames) {
      close.consider(std::string_view(name).substr(0, name.size() - suffix.size()));
    }
    sentence.suggestions = close.closest();
    appendToEach(sentence.suggestions, suffix);
  }
  usedNames->offer(sentence.suggestions);
}

// A unit as people write it ("RPM", "degC") names its unit; otherwise the
// close unit names.
void closeUnitNames(Sentence& sentence) {
  if (const std::string_view spelled = unitNameSpelledAs(sentence.fault.text); !spelled.empty()) {
    sentence.suggestions.assign(1, std::string(spelled));
  } else {
    sentence.suggestions = closeWordsIn(sentence.fault.text, unitNames());
  }
}

// The name a path text writes otherwise is the one suggestion; a path past
// the header's count has none; any other text gets the close names.
void suggestPathNames(Sentence& sentence, const PathNameReading& reading,
                      const std::vector<std::string>& names) {
  if (!reading.name.empty()) {
    sentence.suggestions.assign(1, std::string(reading.name));
  } else if (!reading.pastKind.empty()) {
    sentence.suggestions.clear();
  } else {
    sentence.suggestions = closeWordsIn(sentence.fault.text, names);
  }
}

void closeXmlLocations(Sentence& sentence) {
  const std::vector<std::string>& names = sentence.run.xmlLocationNames.names();
  suggestPathNames(sentence, readXmlLocation(sentence.fault.text, names), names);
}

void closeDataPaths(Sentence& sentence) {
  const std::vector<std::string>& names = sentence.run.pathNameSet.names();
  suggestPathNames(sentence, readDataPath(sentence.fault.text, names), names);
}

void closeAddressLetters(Sentence& sentence) {
  const std::string_view letters = addressLetters();
  CloseWords close(sentence.fault.text);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    close.consider(letters.substr(i, 1));
  }
  sentence.suggestions = close.closest();
}

// What a CONDITION point needs, said when its constant value is empty.
constexpr Pieces kNoConditionCodes = {
    "; a ",          kConditionTypeName, " point needs 1 to ",          kMaxConditionCodes,
    " codes, each ", kConditionCodes,    ", separated by single blanks"};

// One row per rule, in the order of the enumeration.
constexpr RuleSentence kRuleSentences[] = {
    {Rule::kCannotOpen, Subject::kNone, nullptr, {"cannot open: ", fileErrorText}, nullptr},
    {Rule::kReadError, Subject::kNone, nullptr, {"read error: ", fileErrorText}, nullptr},
    {Rule::kEmptyFile, Subject::kNone, nullptr, {"the file is empty"}, nullptr},
    {Rule::kHeaderFieldCount,
     Subject::kColumn,
     fieldCount,
     {"; expected ", kHeaderFieldCount,
      " fields: PMC path count, CNC path count, DCS ladder, such as \"2,3,False\""},
     nullptr},
    {Rule::kPmcPathCount, Subject::kColumn, readsAs, {"; expected ", kPmcPathCounts}, nullptr},
    {Rule::kCncPathCount, Subject::kColumn, readsAs, {"; expected ", kCncPathCounts}, nullptr},
    {Rule::kDcsLadder,
     Subject::kColumn,
     isNotAccepted,
     {"; expected ", alternatives(kDcsLadderWords)},
     closeTo<kDcsLadderWords>},
    {Rule::kRowFieldCount,
     Subject::kColumn,
     fieldCount,
     {"; expected ", row_field::kCount, " fields (", row_field::kCount - 1, " commas)", rowRepairs},
     nullptr},
    {Rule::kPointKind,
     Subject::kColumn,
     isNotAccepted,
     {"; expected ", quoted(kConfiguredPointKind), " (a configured point) or ",
      quoted(kMethodPointKind), " (a method point)"},
     closeTo<kPointKinds>},
    {Rule::kPointName,
     Subject::kColumn,
     pointNameProblem,
     {"; expected a letter, then letters and digits, ", kMaxPointNameLength, " at most"},
     nullptr},
    {Rule::kMethodName,
     Subject::kColumn,
     methodOfName,
     {"; expected ", vocabulary(methodNames, "method names"),
      ", optionally followed by \"_\" and a suffix"},
     closeMethodNames},
    {Rule::kPointType,
     Subject::kColumn,
     isNotAccepted,
     {"; expected ", alternatives(kPointTypeNames)},
     closeTo<kPointTypeNames>},
    {Rule::kEventValue,
     Subject::kColumn,
     eventValueProblem,
     {"; an ", kEventTypeName, " point's value is empty or 1 to ", kMaxEventValueLength,
      " letters and digits"},
     nullptr},
    {Rule::kSampleValue,
     Subject::kColumn,
     isNotEmpty,
     {"; a ", kSampleTypeName, " point has no constant value"},
     nullptr},
    {Rule::kConditionWordCount,
     Subject::kColumn,
     codeCount,
     {"; a ", kConditionTypeName, " point has 1 to ", kMaxConditionCodes,
      " codes separated by single blanks"},
     nullptr},
    {Rule::kConditionCode,
     Subject::kConditionCode,
     conditionCodeProblem,
     {"; a ", kConditionTypeName, " code is ", kConditionCodes,
      ", and codes are separated by single blanks"},
     nullptr},
    {Rule::kCycle, Subject::kColumn, readsAs, {"; expected ", kCycles}, nullptr},
    {Rule::kUnitName,
     Subject::kColumn,
     isNotAccepted,
     {"; a ", kSampleTypeName, " point names ", vocabulary(unitNames, "unit names"),
      " (\"NONE\" for no unit)"},
     closeUnitNames},
    {Rule::kUnitNotAllowed,
     Subject::kColumn,
     isNotEmpty,
     {"; only a ", kSampleTypeName, " point has a unit"},
     nullptr},
    {Rule::kXmlLocation,
     Subject::kColumn,
     xmlLocationProblem,
     {"; expected ", quoted(kStartupXmlLocationNames[0]), ", ", quoted(kStartupXmlLocationNames[1]),
      ", or one ", quoted(kXmlPathName), " name per CNC path: ", quoted(kXmlPathName),
      xmlPathNamesEnd},
     closeXmlLocations},
    {Rule::kConstantPointColumn,
     Subject::kColumn,
     isNotEmpty,
     {"; a point with constant values (a ", kConditionTypeName, " point, or an ", kEventTypeName,
      " point with a value) leaves columns ", row_field::kDataPath, " to ", row_field::kBitPos,
      " empty"},
     nullptr},
    {Rule::kDataPath,
     Subject::kColumn,
     dataPathProblem,
     {"; expected empty (CNC path 1), ", cncPathNames, ", ", pmcPathNames, " or ",
      quoted(kDcsPathName)},
     closeDataPaths},
    {Rule::kCncDataType,
     Subject::kColumn,
     readsAs,
     {"; on a CNC path the data type is ", kCncDataTypes},
     nullptr},
    {Rule::kPmcDataType,
     Subject::kColumn,
     readsAs,
     {"; on a PMC path or the DCS path the data type is ", kPmcDataTypes},
     nullptr},
    {Rule::kReturnType,
     Subject::kColumn,
     isNotAccepted,
     {"; expected ", quoted(kReturnTypeName)},
     closeTo<kReturnTypeNames>},
    {Rule::kAccessType,
     Subject::kColumn,
     isNotAccepted,
     {"; expected ", quoted(kAccessTypeName)},
     closeTo<kAccessTypeNames>},
    {Rule::kCncAddressType,
     Subject::kColumn,
     isNotEmpty,
     {"; data types ", kCncDataTypes, " have no address type"},
     nullptr},
    {Rule::kAddressLetter,
     Subject::kColumn,
     isNotAccepted,
     {"; expected one of the ", addressLetterList},
     closeAddressLetters},
    {Rule::kStartAddressType1,
     Subject::kColumn,
     digitsProblem,
     {"; for data type ", 1, " it is ", kDataType1StartAddresses, ", digits only"},
     nullptr},
    {Rule::kStartAddressType2,
     Subject::kColumn,
     digitsProblem,
     {"; for data type ", 2, " it is ", kDataType2StartAddresses, ", digits only"},
     nullptr},
    {Rule::kStartAddressType3,
     Subject::kColumn,
     digitsProblem,
     {"; for data type ", 3, " it is ", kDataType3StartAddresses, ", digits only"},
     nullptr},
    {Rule::kStartAddressType4,
     Subject::kColumn,
     isNotEmpty,
     {"; data type ", kDataTypeWithoutStartAddress, " has no start address"},
     nullptr},
    {Rule::kPmcStartAddress,
     Subject::kColumn,
     digitsProblem,
     {"; for data types ", kPmcDataTypes, " it is ", kPmcStartAddresses,
      " (empty means 0), digits only"},
     nullptr},
    {Rule::kBitPos,
     Subject::kColumn,
     digitsProblem,
     {"; for data type ", kBitDataType, " it is ", kBitPositions, ", digits only"},
     nullptr},
    {Rule::kBitPosNotAllowed,
     Subject::kColumn,
     isNotEmpty,
     {"; only data type ", kBitDataType, " has a bit position"},
     nullptr},
    {Rule::kDuplicateName,
     Subject::kColumn,
     nullptr,
     {" is repeated; it first appears on line ", firstLineOfName},
     nullptr},
    {Rule::kUncheckedLines, Subject::kNone, nullptr, {uncheckedLines}, nullptr},
};

// The table has one row for every rule, in the enumeration's order, so a
// rule's row is found by its number.
constexpr bool hasOneRowPerRuleInOrder() {
  for (std::size_t i = 0; i < std::size(kRuleSentences); ++i) {
    if (static_cast<std::size_t>(kRuleSentences[i].rule) != i) {
      return false;
    }
  }
  return std::size(kRuleSentences) == kRuleCount;
}
static_assert(hasOneRowPerRuleInOrder(), "every Rule needs its row in kRuleSentences, in order");

// "<column> code "<text>"" and what is wrong with it; for an empty code,
// the blanks that made it. An empty column gets what a CONDITION point
// needs, which ends the sentence: false then.
bool appendConditionCodeSubject(Sentence& sentence, SentencePart problem) {
  const Fault& fault = sentence.fault;
  sentence.out.append(fault.columnName);
  if (!fault.text.empty()) {
    sentence.out.append(" code ");
    appendQuotedForPeople(sentence.out, fault.text);
    problem(sentence);
    return true;
  }
  const std::vector<std::string_view> fields = splitFields(sentence.run.currentLine(), ',');
  const auto index = static_cast<std::size_t>(fault.field);
  if (index >= fields.size() || fields[index].empty()) {
    sentence.out.append(" is empty");
    kNoConditionCodes.appendTo(sentence);
    return false;
  }
  const std::string_view written = fields[index];
  sentence.out.push_back(' ');
  appendQuotedForPeople(sentence.out, written);
  sentence.out.append(written.front() == ' '  ? " starts with a blank"
                      : written.back() == ' ' ? " ends with a blank"
                                              : " has two blanks in a row");
  sentence.out.append(", which makes an empty code");
  return true;
}

// "; this holds whatever the faulty data path should be" for a column
// reported under every reading of its faulty premises.
void appendFaultyPremises(std::string& out, std::uint16_t fields) {
  if (fields == 0) {
    return;
  }
  out.append("; this holds whatever the faulty ");
  std::size_t left = 0;
  for (std::uint16_t rest = fields; rest != 0;
       rest = static_cast<std::uint16_t>(rest & (rest - 1))) {
    ++left;
  }
  for (int field = 0; left > 0; ++field) {
    if ((fields & (1u << field)) == 0) {
      continue;
    }
    out.append(columnNameOf(Rule::kPointKind, field));
    --left;
    out.append(left > 1 ? ", " : left == 1 ? " and " : "");
  }
  out.append(" should be");
}

}  // namespace

void appendRuleSentence(Sentence& sentence, Rule rule) {
  const RuleSentence& row = kRuleSentences[static_cast<std::size_t>(rule)];
  if (row.suggest != nullptr) {
    row.suggest(sentence);
  }
  switch (row.subject) {
    case Subject::kNone: break;
    case Subject::kColumn:
      if (appendSubject(sentence.out, sentence.fault) && row.problem != nullptr) {
        row.problem(sentence);
      }
      break;
    case Subject::kConditionCode:
      if (!appendConditionCodeSubject(sentence, row.problem)) {
        return;
      }
      break;
  }
  row.accepted.appendTo(sentence);
  appendFaultyPremises(sentence.out, sentence.run.faultyPremises);
}

}  // namespace marlint

#include "explain/cause_evidence.h"

#include <algorithm>
#include <array>

#include "checks/point_record.h"
#include "explain/cause_undo.h"
#include "explain/line_recheck.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kHeaderFieldCount = 3;
constexpr std::size_t kRowFieldCount = row_field::kCount;
constexpr std::size_t kConditionValueField = row_field::kConstantValue;
// A CONDITION value holds 10 codes at most.
constexpr std::size_t kMostCodes = 10;

std::size_t countOf(std::string_view text, char byte) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), byte));
}

// Splits `line` at its commas into `fields`, as far as they go, and returns
// how many fields it has in all. Not the row loop's split: a second caller
// of that would keep the compiler from building it into the row loop.
template <std::size_t N>
std::size_t splitCommas(std::string_view line, std::array<std::string_view, N>& fields) {
  std::size_t count = 0;
  for (std::size_t from = 0;; ++count) {
    const std::size_t comma = line.find(',', from);
    if (count < N) {
      fields[count] = line.substr(from, comma == std::string_view::npos ? comma : comma - from);
    }
    if (comma == std::string_view::npos) {
      return count + 1;
    }
    from = comma + 1;
  }
}

// Digits and nothing else, at least one.
bool isDigitsOnly(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// A line whose fields are separated by `separator` rather than by commas:
// enough of them for a header line at least, and more than commas, so that
// one semicolon in a field of a comma-separated line is no separator.
bool isSeparatedBy(std::string_view line, char separator) {
  const std::size_t separators = countOf(line, separator);
  return !isBlankOnly(line) && separators >= kHeaderFieldCount - 1 &&
         separators > countOf(line, ',');
}

// A CR inside the line, followed by a byte of it: the line end of a file
// whose lines end in CR alone. A CR at the end is not one of them.
bool holdsInnerCr(std::string_view line) {
  const std::size_t cr = line.find('\r');
  return cr != std::string_view::npos && line.find_first_not_of('\r', cr) != std::string_view::npos;
}

// A line that passes as a header line once the empty fields at its end are
// dropped: two counts and "True" or "False", padded as a spreadsheet pads
// it, or with a comma at its end.
bool readsAsHeaderLine(std::string_view line, const RunState& run) {
  std::string_view text = withoutFinalCr(line);
  const std::size_t lastField = text.find_last_not_of(',');
  text = text.substr(0, lastField == std::string_view::npos ? 0 : lastField + 1);
  return fieldCountOf(text) == kHeaderFieldCount && faultsOfLine(text, true, run).empty();
}

// A header line of three fields and then only empty ones, as many as the
// rows have: what a spreadsheet writes for a sheet whose rows are wider.
bool isPaddedHeader(std::string_view line, const FileShape& shape) {
  line = withoutFinalCr(line);
  const std::size_t fieldCount = fieldCountOf(line);
  if (fieldCount <= kHeaderFieldCount ||
      (fieldCount != kRowFieldCount && fieldCount != shape.firstRowWidth())) {
    return false;
  }
  std::array<std::string_view, kHeaderFieldCount + 1> fields;
  splitCommas(line, fields);
  const std::size_t padding = static_cast<std::size_t>(fields.back().data() - line.data()) - 1;
  return std::none_of(fields.begin(), fields.end() - 1,
                      [](std::string_view f) { return f.empty(); }) &&
         line.find_first_not_of(',', padding) == std::string_view::npos;
}

// A CONDITION row whose codes were separated by commas: the extra fields
// right after the constant value hold codes, digits only, the first and the
// last maybe with the quote that a spreadsheet wrapped the codes in.
bool hasCommaSeparatedCodes(std::string_view line) {
  std::array<std::string_view, kRowFieldCount + kMostCodes - 1> fields;
  const std::size_t fieldCount = splitCommas(withoutFinalCr(line), fields);
  if (fieldCount <= kRowFieldCount || fieldCount > fields.size() || fields[2] != "CONDITION") {
    return false;
  }
  const std::size_t codeCount = fieldCount - kRowFieldCount + 1;
  const auto codes = fields.begin() + kConditionValueField;
  const auto lastCode = codes + static_cast<std::ptrdiff_t>(codeCount) - 1;
  if (codes->substr(0, 1) == "\"" && lastCode->size() > 1 && lastCode->back() == '"') {
    codes->remove_prefix(1);
    lastCode->remove_suffix(1);
  }
  return std::all_of(codes, lastCode + 1, isDigitsOnly);
}

bool hasTrailingComma(std::string_view line, Rule rule) {
  const std::size_t expected = rule == Rule::kHeaderFieldCount ? kHeaderFieldCount : kRowFieldCount;
  line = withoutFinalCr(line);
  return !line.empty() && line.back() == ',' && fieldCountOf(line) == expected + 1;
}

}  // namespace

FaultEvidence::FaultEvidence(const FaultSite& faultSite, const FileShape& fileShape,
                             const RunState& checkRun)
    : site(faultSite),
      shape(fileShape),
      run(checkRun),
      wholeLine(faultSite.rule == Rule::kHeaderFieldCount ||
                faultSite.rule == Rule::kRowFieldCount),
      atFileStart(faultSite.lineNumber == 1 && faultSite.column == 1),
      line(atFileStart && fileShape.startsWithByteOrderMark() ? withoutByteOrderMark(faultSite.line)
                                                              : faultSite.line),
      text(withoutFinalCr(atFileStart && fileShape.startsWithByteOrderMark()
                              ? withoutByteOrderMark(faultSite.text)
                              : faultSite.text)) {}

bool showsNotText(const FaultEvidence& evidence) {
  return evidence.shape.isNotText();
}

bool showsUtf16Text(const FaultEvidence& evidence) {
  return evidence.shape.isUtf16();
}

bool showsCrOnlyLineEnds(const FaultEvidence& evidence) {
  return evidence.shape.hasCrOnlyLineEnds() && holdsInnerCr(evidence.site.line);
}

// The field ends in the CR that reading left of a CR CR LF line end.
bool showsDoubledCr(const FaultEvidence& evidence) {
  const FaultSite& site = evidence.site;
  return !evidence.wholeLine && site.endedByLineFeed && !site.text.empty() &&
         site.text.back() == '\r' && !site.line.empty() && site.line.back() == '\r';
}

bool showsSemicolonSeparators(const FaultEvidence& evidence) {
  return evidence.wholeLine && isSeparatedBy(evidence.line, ';');
}

bool showsTabSeparators(const FaultEvidence& evidence) {
  return evidence.wholeLine && isSeparatedBy(evidence.line, '\t');
}

bool showsByteOrderMark(const FaultEvidence& evidence) {
  return evidence.atFileStart && evidence.shape.startsWithByteOrderMark();
}

// A field that starts or ends with a quote; in a line of too many or too
// few fields, a field that a spreadsheet wrapped in quotes, which may hold
// commas. A quote inside a field shows nothing.
bool showsQuotedFields(const FaultEvidence& evidence) {
  const std::string_view text = evidence.text;
  return evidence.wholeLine ? !undoQuotedFields(evidence.line).empty()
                            : !text.empty() && (text.front() == '"' || text.back() == '"');
}

bool showsPaddedHeader(const FaultEvidence& evidence) {
  return evidence.site.rule == Rule::kHeaderFieldCount &&
         isPaddedHeader(evidence.line, evidence.shape);
}

bool showsTrailingCommas(const FaultEvidence& evidence) {
  return evidence.wholeLine && evidence.shape.hasTrailingCommas() &&
         hasTrailingComma(evidence.line, evidence.site.rule);
}

bool showsCommaSeparatedCodes(const FaultEvidence& evidence) {
  return evidence.site.rule == Rule::kRowFieldCount && hasCommaSeparatedCodes(evidence.line);
}

bool showsSecondHeaderLine(const FaultEvidence& evidence) {
  return evidence.wholeLine && evidence.site.lineNumber > 1 &&
         readsAsHeaderLine(evidence.line, evidence.run);
}

bool showsBlankLine(const FaultEvidence& evidence) {
  return evidence.site.rule == Rule::kRowFieldCount && isBlankOnly(evidence.line);
}

}  // namespace marlint

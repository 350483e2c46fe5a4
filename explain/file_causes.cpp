#include "explain/file_causes.h"

#include <algorithm>
#include <array>

#include "checks/point_record.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kSampleSize = 64 * 1024;
// Enough bytes to see whether every other one is NUL.
constexpr std::size_t kUtf16Window = 512;
constexpr std::size_t kUtf16LeastBytes = 8;
constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
constexpr std::size_t kHeaderFieldCount = 3;
constexpr std::size_t kRowFieldCount = row_field::kCount;
constexpr std::size_t kConditionValueField = row_field::kConstantValue;

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

bool isBlankOnly(std::string_view line) {
  return !line.empty() && line.find_first_not_of(" \t") == std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

std::string_view withoutByteOrderMark(std::string_view text) {
  return startsWith(text, kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

std::string_view withoutFinalCr(std::string_view text) {
  return !text.empty() && text.back() == '\r' ? text.substr(0, text.size() - 1) : text;
}

// A line whose fields are separated by `separator` rather than by commas:
// enough of them for a header line at least, and more than commas, so that
// one semicolon in a field of a comma-separated line is no separator.
bool isSeparatedBy(std::string_view line, char separator) {
  const std::size_t separators = countOf(line, separator);
  return !isBlankOnly(line) && separators >= kHeaderFieldCount - 1 &&
         separators > countOf(line, ',');
}

bool isWrappedInQuotes(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// A CR inside the line, followed by a byte of it: the line end of a file
// whose lines end in CR alone. A CR at the end is not one of them.
bool holdsInnerCr(std::string_view line) {
  const std::size_t cr = line.find('\r');
  return cr != std::string_view::npos && line.find_first_not_of('\r', cr) != std::string_view::npos;
}

// Every other byte NUL: ASCII text written as UTF-16, in either byte order.
bool looksLikeUtf16(std::string_view bytes) {
  const std::size_t size = std::min(bytes.size(), kUtf16Window) & ~std::size_t{1};
  if (size < kUtf16LeastBytes) {
    return false;
  }
  std::array<std::size_t, 2> nuls{};
  for (std::size_t i = 0; i < size; ++i) {
    nuls[i % 2] += bytes[i] == '\0' ? 1 : 0;
  }
  const std::size_t half = size / 2;
  // Nine in ten: a character beyond ASCII has no NUL half.
  const auto mostly = [half](std::size_t count) { return 10 * count >= 9 * half; };
  const auto hardly = [half](std::size_t count) { return 10 * count <= half; };
  return (mostly(nuls[0]) && hardly(nuls[1])) || (mostly(nuls[1]) && hardly(nuls[0]));
}

// A line that would pass as a header line: two counts and "True" or "False".
bool looksLikeHeaderLine(std::string_view line) {
  std::array<std::string_view, kHeaderFieldCount> fields;
  if (splitCommas(withoutFinalCr(withoutByteOrderMark(line)), fields) != fields.size()) {
    return false;
  }
  return isDigitsOnly(fields[0]) && isDigitsOnly(fields[1]) &&
         (fields[2] == "True" || fields[2] == "False");
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
// right after the constant value hold codes, 10 at most.
bool hasCommaSeparatedCodes(std::string_view line) {
  constexpr std::size_t kMostCodes = 10;
  std::array<std::string_view, kRowFieldCount + kMostCodes - 1> fields;
  const std::size_t fieldCount = splitCommas(line, fields);
  if (fieldCount <= kRowFieldCount || fieldCount > fields.size() || fields[2] != "CONDITION") {
    return false;
  }
  const std::size_t codeCount = fieldCount - kRowFieldCount + 1;
  const auto codes = fields.begin() + kConditionValueField;
  return std::all_of(codes, codes + static_cast<std::ptrdiff_t>(codeCount), isDigitsOnly);
}

bool hasTrailingComma(std::string_view line, Rule rule) {
  const std::size_t expected = rule == Rule::kHeaderFieldCount ? kHeaderFieldCount : kRowFieldCount;
  line = withoutFinalCr(line);
  return !line.empty() && line.back() == ',' && fieldCountOf(line) == expected + 1;
}

void appendCause(std::string& out, FileCause cause, const FileShape& shape) {
  switch (cause) {
    case FileCause::kUtf16Text:
      out.append(shape.utf16ByteOrderMark()
                     ? "the file is UTF-16 text, as its byte-order mark shows: save it as UTF-8"
                     : "the file is UTF-16 text, with a NUL byte beside every character: save it "
                       "as UTF-8");
      return;
    case FileCause::kCrOnlyLineEnds:
      out.append(
          "the file's lines end in CR alone, which ends no line here, so its lines read as one: "
          "end lines with LF or CR LF");
      return;
    case FileCause::kDoubledCr:
      out.append(shape.hasDoubledCrLineEnds() ? "the file's lines end" : "the line ends");
      out.append(
          " in CR CR LF, as when CR LF line ends are converted twice: end lines with LF or CR LF");
      return;
    case FileCause::kSemicolonSeparators:
      out.append(
          "fields are separated by semicolons, as spreadsheets export them in some languages: "
          "separate them with commas");
      return;
    case FileCause::kTabSeparators:
      out.append("fields are separated by tabs: separate them with commas");
      return;
    case FileCause::kByteOrderMark:
      out.append(
          "the file starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), which spreadsheet "
          "exports add: save it without one");
      return;
    case FileCause::kQuotedFields:
      out.append(shape.hasQuotedLines()
                     ? "the file wraps its fields in double quotes, as spreadsheet exports do: "
                       "quotes are ordinary bytes here, so save it without them"
                     : "double quotes are ordinary bytes here: they neither group fields nor are "
                       "removed from them");
      return;
    case FileCause::kPaddedHeader:
      out.append(
          "the header line is padded with empty fields to the width of the rows, as spreadsheets "
          "do: keep its first 3 fields only");
      return;
    case FileCause::kTrailingCommas:
      out.append(
          "every row ends in a comma, which adds a fifteenth field: remove the comma at the end of "
          "each row");
      return;
    case FileCause::kCommaSeparatedCodes:
      out.append(
          "the CONDITION codes seem separated by commas, which separate fields: separate them "
          "with single blanks");
      return;
    case FileCause::kSecondHeaderLine:
      out.append(
          "the line looks like a second header line, as when two point files are joined: "
          "remove it");
      return;
    case FileCause::kBlankLine:
      out.append("the line holds only blanks, and only an empty line ends the rows: remove it");
      return;
  }
}

}  // namespace

FileShape FileShape::around(std::string_view held, bool heldFromStart, bool heldToEnd,
                            std::string_view line) {
  const std::optional<std::size_t> offset = offsetWithin(line, held);
  if (!offset) {
    return of(line, false);
  }
  const std::size_t lineOffset = *offset;
  const char* const heldEnd = held.data() + held.size();
  const bool fromStart = heldFromStart && lineOffset < kSampleSize;
  std::string_view sample = held.substr(fromStart ? 0 : lineOffset, kSampleSize);
  // Only whole lines: what follows the last LF may go on beyond the sample
  // or beyond what was read.
  const bool cut = sample.data() + sample.size() != heldEnd || !heldToEnd;
  const std::size_t lastLineFeed = sample.rfind('\n');
  if (cut && lastLineFeed != std::string_view::npos) {
    sample = sample.substr(0, lastLineFeed + 1);
  }
  return of(sample, fromStart);
}

FileShape FileShape::of(std::string_view sample, bool fromFileStart) {
  FileShape shape;
  shape.fromFileStart_ = fromFileStart;
  if (fromFileStart) {
    shape.utf16ByteOrderMark_ = startsWith(sample, "\xff\xfe") || startsWith(sample, "\xfe\xff");
    shape.utf16_ = shape.utf16ByteOrderMark_ || looksLikeUtf16(sample);
    shape.byteOrderMark_ = startsWith(sample, kByteOrderMark);
  }
  bool firstLine = fromFileStart;
  std::size_t from = 0;
  while (from < sample.size()) {
    const std::size_t lineFeed = sample.find('\n', from);
    const bool ended = lineFeed != std::string_view::npos;
    std::string_view line = sample.substr(from, ended ? lineFeed - from : std::string_view::npos);
    from = ended ? lineFeed + 1 : sample.size();
    if (ended) {
      ++shape.lineFeeds_;
      // Reading drops one CR before the LF; one more is a doubled CR.
      line = withoutFinalCr(line);
      if (!line.empty() && line.back() == '\r') {
        ++shape.doubledCrs_;
      }
    }
    for (std::size_t cr = line.find('\r'); cr != std::string_view::npos && cr + 1 < line.size();
         cr = line.find('\r', cr + 1)) {
      shape.bareCrs_ += line[cr + 1] != '\r' ? 1 : 0;
    }
    const bool isHeader = firstLine;
    firstLine = false;
    line = withoutFinalCr(isHeader ? withoutByteOrderMark(line) : line);
    if (line.empty() || isBlankOnly(line)) {
      continue;
    }
    ++shape.shapedLines_;
    shape.quotedLines_ += isWrappedInQuotes(line) ? 1 : 0;
    if (!isHeader) {
      ++shape.rows_;
      // An empty last field is a comma at the end too: only one field too
      // many is a trailing comma.
      shape.trailingCommaRows_ +=
          line.back() == ',' && fieldCountOf(line) == kRowFieldCount + 1 ? 1 : 0;
      if (shape.firstRowWidth_ == 0) {
        shape.firstRowWidth_ = fieldCountOf(line);
      }
    }
  }
  return shape;
}

FileCauses likelyCausesOf(const FaultSite& site, const FileShape& shape) {
  FileCauses causes;
  if (site.lineNumber == 0 || site.rule == Rule::kDuplicateName) {
    return causes;
  }
  // UTF-16 text explains every fault, and what else its bytes seem to show
  // is an artefact of the NULs.
  if (shape.isUtf16()) {
    causes.add(FileCause::kUtf16Text);
    return causes;
  }
  const bool wholeLine = site.rule == Rule::kHeaderFieldCount || site.rule == Rule::kRowFieldCount;
  const bool atFileStart = site.lineNumber == 1 && site.column == 1;
  const std::string_view line =
      atFileStart && shape.startsWithByteOrderMark() ? withoutByteOrderMark(site.line) : site.line;
  if (shape.hasCrOnlyLineEnds() && holdsInnerCr(site.line)) {
    causes.add(FileCause::kCrOnlyLineEnds);
  }
  if (!wholeLine && site.endedByLineFeed && !site.text.empty() && site.text.back() == '\r' &&
      !site.line.empty() && site.line.back() == '\r') {
    causes.add(FileCause::kDoubledCr);
  }
  if (wholeLine && isSeparatedBy(line, ';')) {
    causes.add(FileCause::kSemicolonSeparators);
  }
  if (wholeLine && isSeparatedBy(line, '\t')) {
    causes.add(FileCause::kTabSeparators);
  }
  if (atFileStart && shape.startsWithByteOrderMark()) {
    causes.add(FileCause::kByteOrderMark);
  }
  const std::string_view text = withoutFinalCr(
      atFileStart && shape.startsWithByteOrderMark() ? withoutByteOrderMark(site.text) : site.text);
  const bool quoted = wholeLine ? isWrappedInQuotes(withoutFinalCr(line))
                                : !text.empty() && (text.front() == '"' || text.back() == '"');
  if (quoted) {
    causes.add(FileCause::kQuotedFields);
  }
  if (site.rule == Rule::kHeaderFieldCount && isPaddedHeader(line, shape)) {
    causes.add(FileCause::kPaddedHeader);
  }
  // Codes separated by commas explain the extra field better than a comma
  // at the end of the row does.
  if (site.rule == Rule::kRowFieldCount && hasCommaSeparatedCodes(line)) {
    causes.add(FileCause::kCommaSeparatedCodes);
  } else if (wholeLine && shape.hasTrailingCommas() && hasTrailingComma(line, site.rule)) {
    causes.add(FileCause::kTrailingCommas);
  }
  if (wholeLine && site.lineNumber > 1 && looksLikeHeaderLine(line)) {
    causes.add(FileCause::kSecondHeaderLine);
  }
  if (site.rule == Rule::kRowFieldCount && isBlankOnly(line)) {
    causes.add(FileCause::kBlankLine);
  }
  return causes;
}

void appendLikelyCauses(std::string& out, FileCauses causes, const FileShape& shape) {
  if (causes.empty()) {
    return;
  }
  std::size_t count = 0;
  for (unsigned i = 0; i <= static_cast<unsigned>(FileCause::kBlankLine); ++i) {
    count += causes.has(static_cast<FileCause>(i)) ? 1 : 0;
  }
  out.append(count == 1 ? " Likely cause: " : " Likely causes, most likely first: ");
  std::size_t written = 0;
  for (unsigned i = 0; i <= static_cast<unsigned>(FileCause::kBlankLine); ++i) {
    const auto cause = static_cast<FileCause>(i);
    if (causes.has(cause)) {
      if (written++ > 0) {
        out.append("; ");
      }
      appendCause(out, cause, shape);
    }
  }
}

}  // namespace marlint

#include "explain/file_fixes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "checks/accepted_values.h"
#include "checks/point_record.h"
#include "explain/file_shape.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

// Enough bytes to see whether every other one is NUL, as the file's shape
// looks for UTF-16.
constexpr std::size_t kUtf16Window = 512;

// One line of the header line and the rows: its bytes without the line end,
// and where it starts in the input.
struct FileLine {
  std::string_view text;
  std::size_t offset;
  bool isHeader;
  bool endedByLineFeed;
};

// The header line and the rows up to the first empty line, as the checks
// read them: split at LF, a CR right before it not part of the line.
std::vector<FileLine> linesOfRows(std::string_view bytes) {
  std::vector<FileLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lineFeed = bytes.find('\n', start);
    const std::size_t end = lineFeed == std::string_view::npos ? bytes.size() : lineFeed;
    std::string_view text = bytes.substr(start, end - start);
    if (lineFeed != std::string_view::npos && !text.empty() && text.back() == '\r') {
      text.remove_suffix(1);
    }
    if (text.empty() && !lines.empty()) {
      break;
    }
    lines.push_back({text, start, lines.empty(), lineFeed != std::string_view::npos});
    if (lineFeed == std::string_view::npos) {
      break;
    }
    start = lineFeed + 1;
  }
  return lines;
}

// What one cause's fix does to one line: appends its edits and tells
// whether the line shows the cause, does not show it, or refuses the fix
// (it shows the cause in a way that one undo cannot take back).
enum class LineUndo { kShows, kNotShown, kRefused };
using UndoLine = LineUndo (*)(const FileLine& line, std::vector<Edit>& edits);

// Fields split at `separator` where no comma is: each separator becomes a
// comma. A line that holds a comma too is refused, since a value's own
// separator would become a field's end.
template <char separator>
LineUndo separatorsToCommas(const FileLine& line, std::vector<Edit>& edits) {
  if (line.text.find(',') != std::string_view::npos) {
    return LineUndo::kRefused;
  }
  if (line.text.find(separator) == std::string_view::npos) {
    return LineUndo::kRefused;
  }
  for (std::size_t at = 0; at < line.text.size(); ++at) {
    if (line.text[at] == separator) {
      edits.push_back({line.offset + at, 1, ","});
    }
  }
  return LineUndo::kShows;
}

// Every field that is wrapped in double quotes loses them. A quote anywhere
// else (a quote inside a value, one doubled as spreadsheets escape it)
// refuses the fix.
LineUndo unwrapQuotedFields(const FileLine& line, std::vector<Edit>& edits) {
  bool shows = false;
  // A byte-order mark before the first quote is a fix of its own.
  std::size_t start =
      line.offset == 0 ? line.text.size() - withoutByteOrderMark(line.text).size() : 0;
  for (const std::string_view field : splitFields(line.text.substr(start), ',')) {
    const bool wrapped = field.size() >= 2 && field.front() == '"' && field.back() == '"';
    const std::string_view inside = wrapped ? field.substr(1, field.size() - 2) : field;
    if (inside.find('"') != std::string_view::npos) {
      return LineUndo::kRefused;
    }
    if (wrapped) {
      edits.push_back({line.offset + start, 1, ""});
      edits.push_back({line.offset + start + field.size() - 1, 1, ""});
      shows = true;
    }
    start += field.size() + 1;
  }
  return shows ? LineUndo::kShows : LineUndo::kNotShown;
}

// A row with one field too many, the last one empty: its last comma goes.
LineUndo dropTrailingComma(const FileLine& line, std::vector<Edit>& edits) {
  if (line.isHeader) {
    return LineUndo::kNotShown;
  }
  if (line.text.empty() || line.text.back() != ',' ||
      fieldCountOf(line.text) != row_field::kCount + 1) {
    return LineUndo::kRefused;
  }
  edits.push_back({line.offset + line.text.size() - 1, 1, ""});
  return LineUndo::kShows;
}

// A header line with empty fields after its three: they go, with their commas.
LineUndo dropHeaderPadding(const FileLine& line, std::vector<Edit>& edits) {
  if (!line.isHeader) {
    return LineUndo::kNotShown;
  }
  const std::vector<std::string_view> fields = splitFields(line.text, ',');
  if (fields.size() <= kHeaderFieldCount ||
      !std::all_of(fields.begin() + kHeaderFieldCount, fields.end(),
                   [](std::string_view field) { return field.empty(); })) {
    return LineUndo::kRefused;
  }
  std::size_t end = 0;
  for (std::size_t field = 0; field < kHeaderFieldCount; ++field) {
    end += fields[field].size() + (field > 0 ? 1 : 0);
  }
  edits.push_back({line.offset + end, line.text.size() - end, ""});
  return LineUndo::kShows;
}

// A line ended by CR CR LF reads with a CR at its end: that CR goes, and
// the line ends in CR LF.
LineUndo dropDoubledCr(const FileLine& line, std::vector<Edit>& edits) {
  if (!line.endedByLineFeed || line.text.empty() || line.text.back() != '\r') {
    return LineUndo::kNotShown;
  }
  edits.push_back({line.offset + line.text.size() - 1, 1, ""});
  return LineUndo::kShows;
}

// What a fix of the file's bytes as a whole does: appends its edits, in
// offset order, and tells whether the bytes show its cause.
using UndoBytes = bool (*)(std::string_view bytes, std::vector<Edit>& edits);

// Appends an edit, joined to the one before where they meet, so that a run
// of characters rewritten is one edit.
void appendJoined(std::vector<Edit>& edits, Edit edit) {
  if (!edits.empty() && edits.back().offset + edits.back().length == edit.offset) {
    edits.back().length += edit.length;
    edits.back().replacement.append(edit.replacement);
    return;
  }
  edits.push_back(std::move(edit));
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xc0 | codePoint >> 6));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3f)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xe0 | codePoint >> 12));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3f)));
  } else {
    out.push_back(static_cast<char>(0xf0 | codePoint >> 18));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 12 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3f)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3f)));
  }
}

// Whether UTF-16 text stores the low byte of each character first: its
// byte-order mark says so, or else the NULs of its ASCII characters stand
// at odd offsets. Empty when the bytes do not read as UTF-16.
std::optional<bool> utf16LowByteFirst(std::string_view bytes) {
  if (bytes.size() % 2 != 0) {
    return std::nullopt;
  }
  if (bytes.substr(0, 2) == "\xff\xfe") {
    return true;
  }
  if (bytes.substr(0, 2) == "\xfe\xff") {
    return false;
  }
  if (!FileShape::of(bytes.substr(0, kUtf16Window), true).isUtf16()) {
    return std::nullopt;
  }
  std::size_t oddNuls = 0;
  for (std::size_t at = 1; at < std::min(bytes.size(), kUtf16Window); at += 2) {
    oddNuls += bytes[at] == '\0' ? 1 : 0;
  }
  return 2 * oddNuls > std::min(bytes.size(), kUtf16Window) / 2;
}

// UTF-16 text saved as UTF-8: an ASCII character loses its NUL half, and
// the byte-order mark goes, so the bytes of the text itself stay where they
// are; any other character is written in its UTF-8 bytes. Half a surrogate
// pair, or an odd last byte, refuses the fix: no one text is meant.
bool utf16ToUtf8(std::string_view bytes, std::vector<Edit>& edits) {
  const std::optional<bool> lowByteFirst = utf16LowByteFirst(bytes);
  if (!lowByteFirst) {
    return false;
  }
  const auto unitAt = [&](std::size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<std::uint32_t>(*lowByteFirst ? second << 8 | first : first << 8 | second);
  };
  for (std::size_t at = 0; at < bytes.size(); at += 2) {
    std::uint32_t codePoint = unitAt(at);
    std::size_t length = 2;
    if (codePoint >= 0xd800 && codePoint <= 0xdbff && at + 4 <= bytes.size() &&
        unitAt(at + 2) >= 0xdc00 && unitAt(at + 2) <= 0xdfff) {
      codePoint = 0x10000 + ((codePoint - 0xd800) << 10) + (unitAt(at + 2) - 0xdc00);
      length = 4;
    } else if (codePoint >= 0xd800 && codePoint <= 0xdfff) {
      edits.clear();
      return false;
    }
    if (at == 0 && codePoint == 0xfeff) {
      appendJoined(edits, {at, length, ""});
    } else if (codePoint < 0x80) {
      appendJoined(edits, {*lowByteFirst ? at + 1 : at, 1, ""});
    } else {
      Edit edit{at, length, ""};
      appendUtf8(edit.replacement, codePoint);
      appendJoined(edits, std::move(edit));
    }
    at += length - 2;
  }
  return true;
}

// A file without one LF whose lines end in CR alone reads as one line:
// each CR becomes CR LF. The CR is rewritten rather than an LF inserted
// after it, so that no two edits stand at one offset: the first byte of
// the next line may take an edit of its own.
bool lineFeedAfterEachCr(std::string_view bytes, std::vector<Edit>& edits) {
  if (bytes.find('\n') != std::string_view::npos) {
    return false;
  }
  for (std::size_t at = bytes.find('\r'); at != std::string_view::npos;
       at = bytes.find('\r', at + 1)) {
    edits.push_back({at, 1, "\r\n"});
  }
  return !edits.empty();
}

struct FileFixRow {
  std::string_view cause;  // the cause's stable name
  std::string_view description;
  // One of the two: what the fix does to each line of the rows, or to the
  // file's bytes as a whole (where the lines the checks read are not yet
  // the file's lines).
  UndoLine undo;
  UndoBytes undoBytes;
  // Most rows must show the cause, not only one (the header line alone
  // when there are none); a line that refuses the fix always stops it.
  bool mostLines;
};

// In the order they are tried: the encoding and the line ends first, since
// until then no line reads as written; a file split at semicolons has its
// quotes taken off once its fields are split at commas.
constexpr FileFixRow kFileFixes[] = {
    {"utf16-text", "save the UTF-16 text as UTF-8", nullptr, utf16ToUtf8, false},
    {"cr-line-ends", "end each line in CR LF instead of CR alone", nullptr, lineFeedAfterEachCr,
     false},
    {"doubled-cr", "end each line in CR LF instead of CR CR LF", dropDoubledCr, nullptr, false},
    {"semicolon-separators", "write a comma for each semicolon between the fields",
     separatorsToCommas<';'>, nullptr, false},
    {"tab-separators", "write a comma for each tab between the fields", separatorsToCommas<'\t'>,
     nullptr, false},
    {"quoted-fields", "take the double quotes off every field wrapped in them", unwrapQuotedFields,
     nullptr, true},
    {"padded-header", "remove the empty fields after the header line's three", dropHeaderPadding,
     nullptr, false},
    {"trailing-commas", "remove the comma at the end of every row", dropTrailingComma, nullptr,
     false},
};

constexpr bool isEveryFixOfOneKind() {
  for (const FileFixRow& row : kFileFixes) {
    if ((row.undo == nullptr) == (row.undoBytes == nullptr)) {
      return false;
    }
  }
  return true;
}
static_assert(isEveryFixOfOneKind(), "a file fix undoes either each line or the whole file");

Fault fileFixRecord(const FileFixRow& row, std::vector<Edit> edits) {
  Fault record;
  record.line = 1;
  record.column = 1;
  record.columnName = "point file";
  record.rule = std::string(row.cause);
  record.detail = std::string(row.description);
  record.fixes.push_back({std::string(row.description), std::move(edits), Applicability::kCertain});
  return record;
}

}  // namespace

[[gnu::cold]] std::vector<Fault> fileFixesOf(std::string_view bytes) {
  std::vector<Fault> records;
  const std::vector<FileLine> lines = linesOfRows(bytes);
  for (const FileFixRow& row : kFileFixes) {
    std::vector<Edit> edits;
    if (row.undoBytes != nullptr) {
      if (row.undoBytes(bytes, edits)) {
        records.push_back(fileFixRecord(row, std::move(edits)));
      }
      continue;
    }
    std::size_t showing = 0;
    std::size_t rowsShowing = 0;
    bool refused = false;
    for (const FileLine& line : lines) {
      const LineUndo undo = row.undo(line, edits);
      if (undo == LineUndo::kRefused) {
        refused = true;
        break;
      }
      showing += undo == LineUndo::kShows ? 1 : 0;
      rowsShowing += undo == LineUndo::kShows && !line.isHeader ? 1 : 0;
    }
    const std::size_t rows = lines.empty() ? 0 : lines.size() - 1;
    if (refused || showing == 0 || (row.mostLines && rows > 0 && 2 * rowsShowing <= rows)) {
      continue;
    }
    records.push_back(fileFixRecord(row, std::move(edits)));
  }
  return records;
}

std::size_t linesAfterRows(std::string_view bytes) {
  std::size_t count = 0;
  bool inRows = true;
  bool isHeader = true;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t lineFeed = bytes.find('\n', start);
    const std::size_t end = lineFeed == std::string_view::npos ? bytes.size() : lineFeed;
    const std::string_view text = withoutFinalCr(bytes.substr(start, end - start));
    if (inRows) {
      inRows = isHeader || !text.empty();
    } else if (!text.empty()) {
      ++count;
    }
    isHeader = false;
    start = end + 1;
  }
  return count;
}

}  // namespace marlint

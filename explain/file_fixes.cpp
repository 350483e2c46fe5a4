#include "explain/file_fixes.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "checks/accepted_values.h"
#include "checks/point_record.h"
#include "explain/file_shape.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

// One line of the header line and the rows: its bytes without the line end,
// and where it starts in the input.
struct FileLine {
  std::string_view text;
  std::size_t offset;
  bool isHeader;
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
    lines.push_back({text, start, lines.empty()});
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

struct FileFixRow {
  std::string_view cause;  // the cause's stable name
  std::string_view description;
  UndoLine undo;
  // Most rows must show the cause, not only one (the header line alone
  // when there are none); a line that refuses the fix always stops it.
  bool mostLines;
};

// In the order they are tried: a file split at semicolons has its quotes
// taken off once its fields are split at commas.
constexpr FileFixRow kFileFixes[] = {
    {"semicolon-separators", "write a comma for each semicolon between the fields",
     separatorsToCommas<';'>, false},
    {"tab-separators", "write a comma for each tab between the fields", separatorsToCommas<'\t'>,
     false},
    {"quoted-fields", "take the double quotes off every field wrapped in them", unwrapQuotedFields,
     true},
    {"padded-header", "remove the empty fields after the header line's three", dropHeaderPadding,
     false},
    {"trailing-commas", "remove the comma at the end of every row", dropTrailingComma, false},
};

}  // namespace

[[gnu::cold]] std::vector<Fault> fileFixesOf(std::string_view bytes) {
  std::vector<Fault> records;
  const std::vector<FileLine> lines = linesOfRows(bytes);
  for (const FileFixRow& row : kFileFixes) {
    std::vector<Edit> edits;
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
    Fault record;
    record.line = 1;
    record.column = 1;
    record.columnName = "point file";
    record.rule = std::string(row.cause);
    record.detail = std::string(row.description);
    record.fixes.push_back(
        {std::string(row.description), std::move(edits), Applicability::kCertain});
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace marlint

#include "explain/cause_undo.h"

#include "checks/point_record.h"
#include "explain/file_shape.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kHeaderFieldCount = 3;
constexpr std::size_t kRowFieldCount = row_field::kCount;
constexpr std::string_view kConditionPointType = "CONDITION";

Edit removal(std::size_t offset, std::size_t length) {
  return {offset, length, {}};
}

std::vector<Edit> everyByteToComma(std::string_view line, char separator) {
  std::vector<Edit> edits;
  for (std::size_t at = line.find(separator); at != std::string_view::npos;
       at = line.find(separator, at + 1)) {
    edits.push_back({at, 1, ","});
  }
  return edits;
}

// The offset just past the closing quote of a field that opens with a quote
// at `open`: a quote followed by a comma or the line's end, a doubled quote
// being one quote of the text. Npos when the quote wraps no field.
std::size_t closingQuoteEnd(std::string_view line, std::size_t open) {
  for (std::size_t at = open + 1; at < line.size(); ++at) {
    if (line[at] != '"') {
      continue;
    }
    if (at + 1 < line.size() && line[at + 1] == '"') {
      ++at;
      continue;
    }
    return at + 1 == line.size() || line[at + 1] == ',' ? at + 1 : std::string_view::npos;
  }
  return std::string_view::npos;
}

}  // namespace

std::vector<Edit> undoByteOrderMark(std::string_view line) {
  if (withoutByteOrderMark(line).size() == line.size()) {
    return {};
  }
  return {removal(0, kUtf8ByteOrderMark.size())};
}

std::vector<Edit> undoDoubledCr(std::string_view line) {
  if (line.empty() || line.back() != '\r') {
    return {};
  }
  return {removal(line.size() - 1, 1)};
}

std::vector<Edit> undoSemicolonSeparators(std::string_view line) {
  return everyByteToComma(line, ';');
}

std::vector<Edit> undoTabSeparators(std::string_view line) {
  return everyByteToComma(line, '\t');
}

std::vector<Edit> undoQuotedFields(std::string_view line) {
  const std::string_view text = withoutFinalCr(line);
  std::vector<Edit> edits;
  std::size_t field = 0;
  while (field <= text.size()) {
    std::size_t end = text.find(',', field);
    if (field < text.size() && text[field] == '"') {
      const std::size_t quotedEnd = closingQuoteEnd(text, field);
      if (quotedEnd != std::string_view::npos) {
        edits.push_back(removal(field, 1));
        for (std::size_t at = field + 1; at + 1 < quotedEnd; ++at) {
          if (text[at] == '"') {
            edits.push_back(removal(at, 1));
            ++at;
          }
        }
        edits.push_back(removal(quotedEnd - 1, 1));
        end = quotedEnd;
      }
    }
    if (end == std::string_view::npos || end >= text.size()) {
      break;
    }
    field = end + 1;
  }
  return edits;
}

std::vector<Edit> undoHeaderPadding(std::string_view line) {
  const std::string_view text = withoutFinalCr(line);
  std::size_t commas = 0;
  std::size_t padding = std::string_view::npos;
  for (std::size_t at = 0; at < text.size() && padding == std::string_view::npos; ++at) {
    if (text[at] == ',' && ++commas == kHeaderFieldCount) {
      padding = at;
    }
  }
  if (padding == std::string_view::npos ||
      text.find_first_not_of(',', padding) != std::string_view::npos) {
    return {};
  }
  return {removal(padding, text.size() - padding)};
}

std::vector<Edit> undoTrailingComma(std::string_view line) {
  const std::string_view text = withoutFinalCr(line);
  if (text.empty() || text.back() != ',') {
    return {};
  }
  return {removal(text.size() - 1, 1)};
}

std::vector<Edit> undoCommaSeparatedCodes(std::string_view line) {
  const std::vector<std::string_view> fields = splitFields(withoutFinalCr(line), ',');
  if (fields.size() <= kRowFieldCount || fields[row_field::kPointType] != kConditionPointType) {
    return {};
  }
  std::vector<Edit> edits;
  const std::size_t lastCode = row_field::kConstantValue + fields.size() - kRowFieldCount;
  for (std::size_t field = row_field::kConstantValue; field < lastCode; ++field) {
    const std::string_view code = fields[field];
    edits.push_back({static_cast<std::size_t>(code.data() - line.data()) + code.size(), 1, " "});
  }
  return edits;
}

std::vector<Edit> undoWholeLine(std::string_view line) {
  return {removal(0, line.size())};
}

std::string withEdits(std::string_view line, const std::vector<Edit>& edits) {
  std::string edited;
  edited.reserve(line.size());
  std::size_t from = 0;
  for (const Edit& edit : edits) {
    edited.append(line.substr(from, edit.offset - from));
    edited.append(edit.replacement);
    from = edit.offset + edit.length;
  }
  edited.append(line.substr(from));
  return edited;
}

}  // namespace marlint

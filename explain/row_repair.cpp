#include "explain/row_repair.h"

#include <algorithm>
#include <utility>

#include "checks/accepted_values.h"
#include "checks/point_record.h"
#include "checks/point_rows.h"
#include "checks/row_columns.h"
#include "explain/escaped_text.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

// Whether every column of `row` checks, against the names `run` accepts. A
// scratch run takes the faults, so the report's own run sees none of them.
bool rowChecks(std::string_view row, const RunState& run) {
  RunState scratch;
  scratch.xmlLocationNames = run.xmlLocationNames;
  scratch.pathNameSet = run.pathNameSet;
  scratch.startLine(row);
  PointRecord record;
  return !checkPointRow(scratch, row, record);
}

std::string edited(std::string_view line, const RowRepair& repair) {
  std::string row(line.substr(0, repair.offset));
  row.append(repair.replacement);
  row.append(line.substr(repair.offset + repair.length));
  return row;
}

// The edits that take a comma out of a row with one field too many: joining
// the two fields it separates or, for CONDITION codes, a blank instead.
void collectCommaEdits(const std::vector<std::string_view>& fields,
                       std::vector<RowRepair>& candidates) {
  std::size_t comma = 0;
  for (std::size_t field = 0; field + 1 < fields.size(); ++field) {
    comma += fields[field].size();
    const std::string left(fields[field]);
    const std::string right(fields[field + 1]);
    const bool oneSideEmpty = left.empty() || right.empty();
    candidates.push_back({oneSideEmpty ? RowRepair::Kind::kDropEmpty : RowRepair::Kind::kJoinFields,
                          field, comma, 1, "", left + "," + right, left + right, ""});
    // Only CONDITION codes are separated by blanks.
    if (!oneSideEmpty && field == row_field::kConstantValue) {
      candidates.push_back({RowRepair::Kind::kCommaToBlank, field, comma, 1, " ",
                            left + "," + right, left + " " + right, ""});
    }
    ++comma;
  }
}

// The edits that give a row with one field too few the empty field it lacks,
// before each field or after the last.
void collectInsertions(std::string_view line, const std::vector<std::string_view>& fields,
                       std::vector<RowRepair>& candidates) {
  std::size_t start = 0;
  for (std::size_t field = 0; field <= fields.size(); ++field) {
    const std::size_t offset = field < fields.size() ? start : line.size();
    candidates.push_back({RowRepair::Kind::kInsertEmpty, field, offset, 0, ",", "", "", ""});
    if (field < fields.size()) {
      start += fields[field].size() + 1;
    }
  }
}

std::string_view columnOf(std::size_t field) {
  return columnNameOf(Rule::kCycle, static_cast<int>(field));
}

void appendRepairSentence(std::string& out, const RowRepair& repair) {
  if (repair.kind == RowRepair::Kind::kInsertEmpty) {
    out.append("a field is missing ");
    if (repair.field == 0) {
      out.append("at the start");
    } else if (repair.field + 1 == row_field::kCount) {
      out.append("after the ").append(columnOf(repair.field - 1));
    } else {
      out.append("between the ").append(columnOf(repair.field - 1));
      out.append(" and the ").append(columnOf(repair.field + 1));
    }
    out.append(": the ").append(columnOf(repair.field)).append(", empty here");
    return;
  }
  if (repair.kind == RowRepair::Kind::kDropEmpty && repair.field + 2 == row_field::kCount + 1 &&
      repair.written.back() == ',') {
    out.append("the row ends in a comma too many: remove it");
    return;
  }
  out.append("the ").append(columnOf(repair.field)).append(" seems written as ");
  appendQuotedForPeople(out, repair.written);
  out.append(": write ");
  appendQuotedForPeople(out, repair.repaired);
}

void appendShiftedFields(std::string& out, std::string_view line,
                         const std::vector<std::string_view>& fields, const RunState& run) {
  RunState scratch;
  scratch.xmlLocationNames = run.xmlLocationNames;
  scratch.pathNameSet = run.pathNameSet;
  scratch.silent = true;
  scratch.startLine(line);
  PointRecord record;
  const std::size_t read = std::min(fields.size(), row_field::kCount);
  std::size_t checked = 0;
  while (checked < read && !kRowColumns[checked].check(scratch, fields[checked], record)) {
    // A method point reads no field past its name.
    const bool methodNameRead =
        record.kind == kMethodPointKind[0] && checked == row_field::kPointName;
    checked = methodNameRead ? read : checked + 1;
  }
  // A row whose kind does not check is no point row gone wrong, and one
  // that breaks off early is not a shifted one.
  const bool oneFieldOff = fields.size() + 1 == row_field::kCount || read + 1 == fields.size();
  if (checked == 0 || (checked < read && !oneFieldOff)) {
    return;
  }
  // One faulty column among fields that otherwise check is a slip of its
  // own, not a shift: the fields past the fourteenth are what is too many.
  std::size_t laterFaults = 0;
  for (std::size_t field = checked + 1; field < read; ++field) {
    PointRecord trial = record;
    laterFaults += kRowColumns[field].check(scratch, fields[field], trial) ? 1 : 0;
    record = trial;
  }
  if (checked < read && laterFaults == 0) {
    if (fields.size() > read) {
      out.append("; its first ");
      appendDecimal(out, read);
      out.append(" fields check but for the ");
      out.append(columnOf(checked));
      out.append(fields.size() - read == 1 ? ", so the field after them is one too many"
                                           : ", so the fields after them are too many");
    }
    return;
  }
  if (checked < read) {
    out.append("; no single edit makes every column check, and the fields look shifted from the ");
    out.append(columnOf(checked)).append(" on, which holds ");
    appendQuotedForPeople(out, fields[checked]);
    return;
  }
  if (fields.size() > read) {
    out.append("; its first ");
    appendDecimal(out, read);
    const std::size_t tooMany = fields.size() - read;
    if (tooMany == 1) {
      out.append(" fields check, so the field after them is one too many");
    } else {
      out.append(" fields check, so the ");
      appendDecimal(out, tooMany);
      out.append(" after them are too many");
    }
    return;
  }
  out.append("; its ");
  appendDecimal(out, read);
  if (read == 1) {
    out.append(" field checks as the first column");
  } else {
    out.append(" fields check as the first ");
    appendDecimal(out, read);
    out.append(" columns");
  }
  out.append(", so the last ");
  appendDecimal(out, row_field::kCount - read);
  out.append(row_field::kCount - read == 1 ? " is missing" : " are missing");
}

}  // namespace

std::vector<RowRepair> repairsOfRow(std::string_view line, const RunState& run) {
  const std::vector<std::string_view> fields = splitFields(line, ',');
  std::vector<RowRepair> candidates;
  if (fields.size() == row_field::kCount + 1) {
    collectCommaEdits(fields, candidates);
  } else if (fields.size() + 1 == row_field::kCount) {
    collectInsertions(line, fields, candidates);
  }
  // Each edit is checked once, keeping the row it gives.
  std::vector<RowRepair> working;
  for (RowRepair& candidate : candidates) {
    candidate.repairedRow = edited(line, candidate);
    if (rowChecks(candidate.repairedRow, run)) {
      working.push_back(std::move(candidate));
    }
  }
  // An empty field too many changes no value: where dropping one makes
  // the row check, an edit of a value would only seem to.
  const bool dropsEmptyField = std::any_of(
      working.begin(), working.end(),
      [](const RowRepair& repair) { return repair.kind == RowRepair::Kind::kDropEmpty; });
  std::vector<RowRepair> repairs;
  for (RowRepair& repair : working) {
    if (dropsEmptyField && repair.kind != RowRepair::Kind::kDropEmpty) {
      continue;
    }
    // Two edits that give the same row are one: of a comma too many beside
    // empty fields, the last, so a comma at the row's end is named as such.
    if (!repairs.empty() && repairs.back().repairedRow == repair.repairedRow) {
      repairs.pop_back();
    }
    repairs.push_back(std::move(repair));
  }
  return repairs;
}

void appendRowRepairs(std::string& out, std::vector<std::string>& suggestions,
                      const std::vector<RowRepair>& repairs) {
  for (std::size_t i = 0; i < repairs.size(); ++i) {
    out.append(i == 0 ? "; " : "; or ");
    appendRepairSentence(out, repairs[i]);
  }
  if (repairs.size() == 1) {
    suggestions.assign(1, repairs.front().repairedRow);
  }
}

void explainFieldCount(std::string& out, std::vector<std::string>& suggestions,
                       std::string_view line, const RunState& run) {
  const std::vector<std::string_view> fields = splitFields(line, ',');
  if (fields.size() == row_field::kCount) {
    return;
  }
  const std::vector<RowRepair> repairs = repairsOfRow(line, run);
  if (repairs.empty()) {
    appendShiftedFields(out, line, fields, run);
  } else {
    appendRowRepairs(out, suggestions, repairs);
  }
}

}  // namespace marlint

#include "points/point_rows.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/split_fields.h"
#include "input/text_rules.h"
#include "points/name_index.h"
#include "points/row_columns.h"

namespace marlint {
namespace {

constexpr std::size_t kFirstTypedField = row_field::kPointType;

// The fields of the row under check. The row loop keeps one for all rows:
// clearing fourteen views for every row would cost a third of the split.
using RowFields = std::array<std::string_view, row_field::kCount>;

template <ColumnCheck check>
bool runCheck(RunState& run, std::string_view text, PointRecord& record) {
  return check(run, text, record);
}

// Runs the checks of fields 2 to 13 in order and stops at the first that
// fails. Each check is a template argument taken from the table, so that
// the compiler calls, and can inline, each one directly.
template <std::size_t... offsets>
bool checkTypedColumnsToFirstFault(RunState& run, const RowFields& fields, PointRecord& record,
                                   std::index_sequence<offsets...>) {
  return (runCheck<kRowColumns[kFirstTypedField + offsets].check>(
              run, fields[kFirstTypedField + offsets], record) ||
          ...);
}

// Stops at the row's first fault, as the result text does.
bool checkColumnsToFirstFault(RunState& run, const RowFields& fields, PointRecord& record) {
  if (runCheck<kRowColumns[row_field::kPointKind].check>(run, fields[row_field::kPointKind],
                                                         record) ||
      runCheck<kRowColumns[row_field::kPointName].check>(run, fields[row_field::kPointName],
                                                         record)) {
    return true;
  }
  if (record.kind == 'D') {
    // A "D" row is its name only: the method gave the cycle in the name
    // check, the suffix gives the path number, and fields 2 to 13 are never read.
    setDevicePathNumber(record);
    return false;
  }
  return checkTypedColumnsToFirstFault(
      run, fields, record, std::make_index_sequence<row_field::kCount - kFirstTypedField>());
}

// Notes the name of the row being checked, which passed its own check, and
// reports it when an earlier row has it too.
void reportRepeatSoFar(RunState& run, NameIndex& namesSoFar, std::string_view name) {
  const std::size_t line = run.currentLineNumber();
  if (const std::optional<std::size_t> firstLine = namesSoFar.noteName(name, line)) {
    run.reportRepeatedName(name, *firstLine, line);
  }
}

// Checks every column whose premises passed, so that the row's faults come
// in column order. Every name that passed its own check takes part in the
// search for repeats, also in a row that fails another column; its repeat
// is reported at the name's column.
bool checkEveryColumn(RunState& run, const RowFields& fields, PointRecord& record,
                      NameIndex& namesSoFar) {
  FieldSet unsettled = 0;
  for (std::size_t field = 0; field < kRowColumns.size(); ++field) {
    const RowColumn& column = kRowColumns[field];
    const FieldSet premises =
        record.hasConstantValues() ? column.premises : column.premises | column.ownRulePremises;
    if ((premises & unsettled) != 0 || column.check(run, fields[field], record)) {
      unsettled = static_cast<FieldSet>(unsettled | fieldBit(field));
    } else if (field == row_field::kPointName) {
      reportRepeatSoFar(run, namesSoFar, record.name);
      if (record.kind == 'D') {
        setDevicePathNumber(record);
      }
    }
    // Only a "C" row has columns after its name.
    if (field == row_field::kPointName && record.kind != 'C') {
      break;
    }
  }
  return unsettled != 0;
}

// A wrong number of fields is one fault for the whole line.
bool splitRow(RunState& run, std::string_view line, RowFields& fields) {
  if (splitFieldsInto(line, ',', fields) != fields.size()) {
    return run.fail(Rule::kRowFieldCount, line, " is illegal format.");
  }
  return false;
}

// Gives `record` the defaults of a fresh record but keeps the storage of its
// texts, so that checking a row allocates nothing once the first rows are done.
void startFreshRecord(PointRecord& record) {
  std::vector<std::string_view> constantValues = std::move(record.constantValues);
  record = PointRecord();
  record.constantValues = std::move(constantValues);
  record.constantValues.clear();
}

}  // namespace

bool checkPointRow(RunState& run, std::string_view line, PointRecord& record) {
  RowFields fields;
  return splitRow(run, line, fields) || checkColumnsToFirstFault(run, fields, record);
}

bool readPointRows(RunState& run, PointInput& input, PointList& points) {
  std::string_view line;
  PointRecord record;
  RowFields fields;
  NameIndex namesSoFar;  // only when the run goes on after faults
  bool anyRowFailed = false;
  while (readLine(input, line)) {
    if (line.empty()) {
      // An empty line ends the rows as the end of the input does; what
      // follows it is never checked.
      run.emptyLineNumber = run.currentLineNumber() + 1;
      break;
    }
    run.startLine(line);
    startFreshRecord(record);
    if (!run.keepGoing) {
      if (splitRow(run, line, fields) || checkColumnsToFirstFault(run, fields, record)) {
        return true;
      }
      points.append(record);
      continue;
    }
    if (splitRow(run, line, fields) || checkEveryColumn(run, fields, record, namesSoFar)) {
      anyRowFailed = true;
    } else {
      points.append(record);
    }
  }
  // A stream that fails mid-file is not a file that ended: the rest of it
  // went unchecked, so it must not pass as "OK".
  if (input.hadReadError()) {
    return run.failWithoutLine(Rule::kReadError, input.errorNumber());
  }
  return anyRowFailed;
}

void noteUncheckedLines(RunState& run, PointInput& input) {
  if (run.emptyLineNumber == 0) {
    return;
  }
  std::size_t lineCount = 0;
  bool anyLineHasText = false;
  std::string_view line;
  while (readLine(input, line)) {
    ++lineCount;
    anyLineHasText = anyLineHasText || !line.empty();
  }
  // Empty lines at the end of a file hide nothing.
  if (anyLineHasText) {
    run.noteUncheckedLines(run.emptyLineNumber, lineCount);
  }
}

bool checkCycle(RunState& run, std::string_view text, PointRecord& record) {
  const std::int32_t cycle = readLeadingInt(text);
  if (cycle < 100 || cycle > 10000) {
    return run.fail(Rule::kCycle, text, " is illegal cycle.");
  }
  record.cycle = cycle;
  return false;
}

}  // namespace marlint

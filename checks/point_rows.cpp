#include "checks/point_rows.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "checks/accepted_values.h"
#include "checks/duplicate_names.h"
#include "checks/every_reading.h"
#include "checks/name_index.h"
#include "checks/row_columns.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kFirstTypedField = row_field::kPointType;

// Notes the name of the row being checked, which passed its own check, and
// reports it when an earlier row has it too.
void reportRepeatSoFar(RunState& run, NameIndex& namesSoFar, std::string_view name) {
  const std::size_t line = run.currentLineNumber();
  if (const std::optional<std::size_t> firstLine = namesSoFar.noteName(name, line)) {
    run.reportRepeatedName(nameRepeatOf(name, *firstLine, line));
  }
}

// A row with a wrong number of fields whose kind and name still read right
// has its name counted for repeats: fixing its fields would leave the
// repeat as the next fault.
void noteNameOfMisshapenRow(RunState& run, const RowFields& fields, std::size_t fieldCount,
                            NameIndex& namesSoFar) {
  if (fieldCount <= row_field::kPointName) {
    return;
  }
  PointRecord record;
  const bool wasSilent = run.silent;
  run.silent = true;
  const bool readsRight = !checkPointKind(run, fields[row_field::kPointKind], record) &&
                          !checkPointName(run, fields[row_field::kPointName], record);
  run.silent = wasSilent;
  if (readsRight) {
    reportRepeatSoFar(run, namesSoFar, record.name);
  }
}

// How far the checks of one row go.
enum class RowScope {
  kToFirstFault,  // stop at the row's first faulty column
  kEveryColumn,   // check every column whose premises passed
};

// True when a check reads a column that failed or was skipped.
bool dependsOnUnsettled(const RowColumn& column, const PointRecord& record, FieldSet unsettled) {
  const FieldSet premises =
      record.hasConstantValues() ? column.premises : column.premises | column.ownRulePremises;
  return (premises & unsettled) != 0;
}

// Checks column `field` and returns true when the row must stop here. Going
// on, a column that depends on a failed or skipped one is tried under every
// reading of those instead, and noted in `verdicts` as failed when none
// accepts it, as skipped otherwise. The check is taken from the table as a
// constant, so that the compiler calls, and can inline, it directly.
template <RowScope scope, std::size_t field>
bool checkColumn(RunState& run, const RowFields& fields, PointRecord& record,
                 RowVerdicts& verdicts) {
  if constexpr (scope == RowScope::kToFirstFault) {
    return kRowColumns[field].check(run, fields[field], record);
  } else {
    bool failed = false;
    if (verdicts.unsettled != 0 &&
        dependsOnUnsettled(kRowColumns[field], record, verdicts.unsettled)) {
      failed = checkUnderEveryReading(run, fields, record, verdicts, field);
      verdicts.unsettled = static_cast<FieldSet>(verdicts.unsettled | fieldBit(field));
    } else if (kRowColumns[field].check(run, fields[field], record)) {
      failed = true;
      verdicts.unsettled = static_cast<FieldSet>(verdicts.unsettled | fieldBit(field));
    }
    if (failed) {
      verdicts.failed = static_cast<FieldSet>(verdicts.failed | fieldBit(field));
    }
    return false;
  }
}

template <RowScope scope, std::size_t... offsets>
bool checkTypedColumns(RunState& run, const RowFields& fields, PointRecord& record,
                       RowVerdicts& verdicts, std::index_sequence<offsets...>) {
  return (checkColumn<scope, kFirstTypedField + offsets>(run, fields, record, verdicts) || ...);
}

// Splits `line` and checks its columns in column order; returns true when
// the row has a fault. Going on after faults, the row's faults come in
// column order, and every name that passed its own check is noted in
// `namesSoFar`, when given, also in a row that fails another column, so
// that a repeat is reported at the name's column.
template <RowScope scope>
bool checkRowWith(RunState& run, std::string_view line, PointRecord& record, RowFields& fields,
                  NameIndex* namesSoFar) {
  // A wrong number of fields is one fault for the whole line.
  const std::size_t fieldCount = splitFieldsInto(line, ',', fields);
  if (fieldCount != fields.size()) {
    run.fail(Rule::kRowFieldCount, line, " is illegal format.");
    if constexpr (scope == RowScope::kEveryColumn) {
      if (namesSoFar != nullptr) {
        noteNameOfMisshapenRow(run, fields, fieldCount, *namesSoFar);
      }
    }
    return true;
  }
  RowVerdicts verdicts;
  if (checkColumn<scope, row_field::kPointKind>(run, fields, record, verdicts) ||
      checkColumn<scope, row_field::kPointName>(run, fields, record, verdicts)) {
    return true;
  }
  const bool namePassed = (verdicts.unsettled & fieldBit(row_field::kPointName)) == 0;
  if constexpr (scope == RowScope::kEveryColumn) {
    if (namePassed && namesSoFar != nullptr) {
      reportRepeatSoFar(run, *namesSoFar, record.name);
    }
  }
  if (record.kind != kConfiguredPointKind[0]) {
    // A "D" row is its name only: the method gave the cycle in the name
    // check, the suffix gives the path number, and fields 2 to 13 are never
    // read. A row of unknown kind has nothing more that can be checked.
    if (record.kind == kMethodPointKind[0] && namePassed) {
      setDevicePathNumber(record);
    }
    return verdicts.unsettled != 0;
  }
  return checkTypedColumns<scope>(
             run, fields, record, verdicts,
             std::make_index_sequence<row_field::kCount - kFirstTypedField>()) ||
         verdicts.unsettled != 0;
}

// The plain run's row check is flattened: every check is inlined into it, as
// if it were the checks' only caller. The check that goes on after faults
// calls them, and stays out of the row loop, so that the loop stays as small
// as the plain run needs; a flattened copy would not fit the instruction
// cache beside the report that every one of its rows writes.
[[gnu::flatten]] bool checkRowToFirstFault(RunState& run, std::string_view line,
                                           PointRecord& record, RowFields& fields) {
  return checkRowWith<RowScope::kToFirstFault>(run, line, record, fields, nullptr);
}

[[gnu::noinline]] bool checkEveryColumnOfRow(RunState& run, std::string_view line,
                                             PointRecord& record, RowFields& fields,
                                             NameIndex* namesSoFar) {
  return checkRowWith<RowScope::kEveryColumn>(run, line, record, fields, namesSoFar);
}

// Gives `record` the defaults of a fresh record but keeps the storage of its
// texts, so that checking a row allocates nothing once the first rows are done.
void startFreshRecord(PointRecord& record) {
  std::vector<std::string_view> constantValues = std::move(record.constantValues);
  record = PointRecord();
  record.constantValues = std::move(constantValues);
  record.constantValues.clear();
}

// The plain run's step for one row: checks `line` and keeps its name when
// it passes; true when it does not. In WebAssembly it is a call of its own,
// not part of the row loop: an engine there moves a function to its
// optimised code only between calls, so rows checked inside the loop's one
// call would run in the engine's first, slower code to the end of the file.
// Natively the call would only cost time.
#if defined(__wasm__)
[[gnu::noinline]]
#endif
bool checkAndKeepRow(RunState& run, std::string_view line, PointRecord& record, RowFields& fields,
                     PointList& points) {
  run.startLine(line);
  startFreshRecord(record);
  if (checkRowToFirstFault(run, line, record, fields)) {
    return true;
  }
  points.append(record);
  return false;
}

}  // namespace

bool checkPointRow(RunState& run, std::string_view line, PointRecord& record) {
  RowFields fields;
  return checkRowToFirstFault(run, line, record, fields);
}

bool checkEveryColumnOfPointRow(RunState& run, std::string_view line, PointRecord& record) {
  RowFields fields;
  return checkEveryColumnOfRow(run, line, record, fields, nullptr);
}

bool readPointRows(RunState& run, PointInput& input, PointList& points) {
  std::string_view line;
  PointRecord record;
  RowFields fields;
  // A run that goes on after faults checks rows as the plain run does, its
  // failures silent, until the first faulty row: the names of the rows
  // before it are only in `points`, and a file without faults costs what
  // the plain run costs. From that row on every column of every row is
  // checked, and every name noted in `namesSoFar` as its row is read.
  std::unique_ptr<NameIndex>& namesSoFar = points.namesSoFar;
  run.silent = run.keepGoing;
  while (readLine(input, line)) {
    if (line.empty()) {
      // An empty line ends the rows as the end of the input does; what
      // follows it is never checked.
      run.emptyLineNumber = run.currentLineNumber() + 1;
      break;
    }
    if (namesSoFar == nullptr) {
      if (!checkAndKeepRow(run, line, record, fields, points)) {
        continue;
      }
      if (!run.keepGoing) {
        return true;
      }
      // The repeats among the rows so far come before this row's faults.
      run.silent = false;
      reportRepeatedNames(run, points);
      namesSoFar = std::make_unique<NameIndex>();
      noteNamesOf(points, *namesSoFar);
    } else {
      run.startLine(line);
    }
    startFreshRecord(record);
    if (!checkEveryColumnOfRow(run, line, record, fields, namesSoFar.get())) {
      points.append(record);
    }
  }
  run.silent = false;
  if (run.keepGoing && namesSoFar == nullptr) {
    reportRepeatedNames(run, points);
  }
  // A stream that fails mid-file is not a file that ended: the rest of it
  // went unchecked, so it must not pass as "OK".
  if (input.hadReadError()) {
    return run.failWithoutLine(Rule::kReadError, input.errorNumber());
  }
  return namesSoFar != nullptr;
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
  if (!kCycles.contains(cycle)) {
    return run.fail(Rule::kCycle, text, " is illegal cycle.");
  }
  record.cycle = cycle;
  return false;
}

}  // namespace marlint

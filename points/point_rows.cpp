#include "points/point_rows.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/split_fields.h"
#include "input/text_rules.h"
#include "points/address_columns.h"
#include "points/constant_value.h"
#include "points/data_columns.h"
#include "points/identity_columns.h"
#include "points/location_columns.h"
#include "points/name_index.h"
#include "points/position_columns.h"
#include "vocab/vocabularies.h"

namespace marlint {
namespace {

constexpr std::size_t kPointRowFieldCount = 14;
constexpr std::size_t kFirstTypedField = 2;

// The fields of the row under check. The row loop keeps one for all rows:
// clearing fourteen views for every row would cost a third of the split.
using RowFields = std::array<std::string_view, kPointRowFieldCount>;

// Runs `checks` on fields 2, 3, ... in order and stops at the first that
// fails. The checks are template arguments rather than a table of pointers
// so that the compiler calls, and can inline, each one directly.
template <ColumnCheck... checks>
bool runInColumnOrder(RunState& run, const RowFields& fields, PointRecord& record) {
  std::size_t field = kFirstTypedField;
  return (checks(run, fields[field++], record) || ...);
}

// The checks of fields 2 to 13 of a "C" row, in the order they must run:
// later checks read what earlier ones stored in the record.
constexpr auto kTypedColumnChecks =
    runInColumnOrder<checkPointType, checkConstantValue, checkCycle, checkUnit, checkXmlLocation,
                     checkDataPath, checkDataType, checkReturnType, checkAccessType,
                     checkAddressType, checkStartAddress, checkBitPos>;

bool checkPointRowWith(RunState& run, std::string_view line, PointRecord& record,
                       RowFields& fields) {
  if (splitFieldsInto(line, ',', fields) != fields.size()) {
    return run.fail(Rule::kRowFieldCount, line, " is illegal format.");
  }
  if (checkPointKind(run, fields[0], record) || checkPointName(run, fields[1], record)) {
    return true;
  }
  if (record.kind == 'D') {
    // A "D" row is its name only: the method gave the cycle in the name
    // check, the suffix gives the path number, and fields 2 to 13 are never read.
    setDevicePathNumber(record);
    return false;
  }
  return kTypedColumnChecks(run, fields, record);
}

// Gives `record` the defaults of a fresh record but keeps the storage of its
// texts, so that checking a row allocates nothing once the first rows are done.
void startFreshRecord(PointRecord& record) {
  std::vector<std::string_view> constantValues = std::move(record.constantValues);
  record = PointRecord();
  record.constantValues = std::move(constantValues);
  record.constantValues.clear();
}

// Notes the name of the row just checked, when it passed its own check, and
// reports it when an earlier row has it too.
void reportRepeatSoFar(RunState& run, NameIndex& namesSoFar, std::string_view name) {
  if (name.empty()) {
    return;
  }
  const std::size_t line = run.currentLineNumber();
  if (const std::optional<std::size_t> firstLine = namesSoFar.noteName(name, line)) {
    run.reportRepeatedName(name, *firstLine, line);
  }
}

}  // namespace

bool checkPointRow(RunState& run, std::string_view line, PointRecord& record) {
  RowFields fields;
  return checkPointRowWith(run, line, record, fields);
}

bool readPointRows(RunState& run, PointInput& input, PointList& points) {
  // An empty line ends the rows as the end of the input does; what follows
  // it is never read.
  std::string_view line;
  PointRecord record;
  RowFields fields;
  NameIndex namesSoFar;  // only when the run goes on after faults
  bool anyRowFailed = false;
  while (readLine(input, line) && !line.empty()) {
    run.startLine(line);
    startFreshRecord(record);
    const bool rowFailed = checkPointRowWith(run, line, record, fields);
    if (run.keepGoing) {
      // Every name that passed its own check takes part, so a repeat is
      // reported even in a row that fails a later column.
      reportRepeatSoFar(run, namesSoFar, record.name);
      anyRowFailed = anyRowFailed || rowFailed;
    } else if (rowFailed) {
      return true;
    }
    if (!rowFailed) {
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

bool checkCycle(RunState& run, std::string_view text, PointRecord& record) {
  const std::int32_t cycle = readLeadingInt(text);
  if (cycle < 100 || cycle > 10000) {
    return run.fail(Rule::kCycle, text, " is illegal cycle.");
  }
  record.cycle = cycle;
  return false;
}

}  // namespace marlint

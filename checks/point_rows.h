#pragma once

#include <string_view>

#include "checks/column_check.h"
#include "checks/point_list.h"
#include "input/point_input.h"
#include "run/run_state.h"

namespace marlint {

// Reads point rows from `input` until its end or an empty line, checks each
// row column by column and appends the accepted records to `points`. Stops
// at the first rejected row with true (failure); a run that goes on after
// faults checks every row, and in each row every column whose premises
// passed, and returns true when any row was rejected. An empty line that
// ends the rows is kept in `run.emptyLineNumber`.
bool readPointRows(RunState& run, PointInput& input, PointList& points);

// After the rows ended at an empty line, reads the rest of `input` and notes
// how many lines it holds, when any of them has text.
void noteUncheckedLines(RunState& run, PointInput& input);

// Checks one row, `line`, column by column and fills `record`, which must
// hold the defaults of a fresh record. Returns true when the row is rejected.
bool checkPointRow(RunState& run, std::string_view line, PointRecord& record);

// The same, going on after a fault: every column whose premises passed is
// checked, as a run that reports every fault checks a row. The row's own
// name is not compared with other rows.
bool checkEveryColumnOfPointRow(RunState& run, std::string_view line, PointRecord& record);

// Field 4 of a "C" row: the sampling cycle, 100 to 10000.
bool checkCycle(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

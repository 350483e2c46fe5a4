#pragma once

#include <string_view>

#include "app/run_state.h"
#include "input/point_input.h"
#include "points/column_check.h"
#include "points/point_list.h"

namespace marlint {

// Reads point rows from `input` until its end or an empty line, checks each
// row column by column and appends the accepted records to `points`. Stops
// at the first rejected row with true (failure).
bool readPointRows(RunState& run, PointInput& input, PointList& points);

// Checks one row, `line`, column by column and fills `record`, which must
// hold the defaults of a fresh record. Returns true when the row is rejected.
bool checkPointRow(RunState& run, std::string_view line, PointRecord& record);

// Field 4 of a "C" row: the sampling cycle, 100 to 10000.
bool checkCycle(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

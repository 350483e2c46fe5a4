#pragma once

#include <string>

#include "checks/header_line.h"
#include "checks/point_list.h"
#include "input/point_input.h"
#include "run/run_state.h"

namespace marlint {

// Runs every check over the point file at `pointFilePath` ("-" for standard
// input): the header line, the point rows, then the duplicate names. Leaves
// the first fault's message, or "OK", in `run.resultText`, and closes the
// point file before it returns. Returns true (failure) unless all passed.
bool runChecks(RunState& run, const std::string& pointFilePath, ControllerConfig& config,
               PointList& points);

// The same steps over an input that is already open; `input` is left open.
bool runChecksOn(RunState& run, PointInput& input, ControllerConfig& config, PointList& points);

}  // namespace marlint

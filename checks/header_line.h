#pragma once

#include <cstdint>
#include <string_view>

#include "input/point_input.h"
#include "run/run_state.h"

namespace marlint {

// What the header line says about the controller.
struct ControllerConfig {
  std::int32_t cncPathCount = 0;  // 1 to 10 once the header line is accepted
  std::int32_t pmcPathCount = 0;  // 1 to 5 once the header line is accepted
};

// Reads the header line "PMC paths,CNC paths,DCS ladder" from `input` and
// fills `config`. Returns true (failure) with the whole line in front of the
// message when the line is not acceptable.
bool checkHeaderLine(RunState& run, PointInput& input, ControllerConfig& config);

// The counts the rows are checked against after a faulty header line, when
// the run goes on after faults: each count the line gives in its place and
// range, and otherwise the largest, so that a row's XML location or data
// path is reported only when no count would accept it.
ControllerConfig countsAfterFaultyHeader(std::string_view headerLine);

// Appends the names that later columns are checked against: "Path", "Path2",
// ... to the XML location names, and every CNC, PMC and the DCS path to the
// data path names.
void derivePathNames(RunState& run, const ControllerConfig& config);

}  // namespace marlint

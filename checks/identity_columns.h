#pragma once

#include <string_view>

#include "checks/column_check.h"

// Kind, name and type columns: the first columns of every point row.

namespace marlint {

// Field 0: exactly "D" or "C".
bool checkPointKind(RunState& run, std::string_view text, PointRecord& record);

// Field 1: for kind "D" a method name with an optional "_" suffix, for kind
// "C" an ASCII letter followed by letters and digits, 50 at most. A "D"
// point gets the cycle of its method here.
bool checkPointName(RunState& run, std::string_view text, PointRecord& record);

// Field 2 of a "C" row: "EVENT", "SAMPLE" or "CONDITION".
bool checkPointType(RunState& run, std::string_view text, PointRecord& record);

// The part of a point name before its last "_", or the whole name.
std::string_view methodNameOf(std::string_view pointName);

// Sets the path number of an accepted "D" row from the text after the last
// "_" of its name (0 when there is none).
void setDevicePathNumber(PointRecord& record);

}  // namespace marlint

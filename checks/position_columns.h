#pragma once

#include <string_view>

#include "checks/column_check.h"

// Start address and bit position columns, the last two of a "C" row.

namespace marlint {

// Field 12: digits only, within the range of the point's data type.
bool checkStartAddress(RunState& run, std::string_view text, PointRecord& record);

// Field 13: 0 to 7 for data type 7; empty for every other data type.
bool checkBitPos(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

#pragma once

#include <string_view>

#include "checks/column_check.h"

// Access type and address type columns of a "C" row.

namespace marlint {

// Field 10: exactly "R" for a point without constant values.
bool checkAccessType(RunState& run, std::string_view text, PointRecord& record);

// Field 11: empty on a CNC data type; on a PMC data type a single character
// is looked up in the PMC address letters.
bool checkAddressType(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

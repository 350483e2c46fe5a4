#pragma once

#include <string_view>

#include "checks/column_check.h"

namespace marlint {

// Field 3 of a "C" row, by point type: an EVENT carries at most one value of
// up to 10 letters and digits, a SAMPLE none, a CONDITION one to ten codes
// from 1000 to 2999 separated by single blanks. Fills `constantValues`.
bool checkConstantValue(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

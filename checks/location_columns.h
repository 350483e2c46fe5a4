#pragma once

#include <string_view>

#include "checks/column_check.h"

// Unit and XML location columns of a "C" row.

namespace marlint {

// Field 5: a SAMPLE point names a unit of the unit table; other points leave
// the column empty and get unit 0.
bool checkUnit(RunState& run, std::string_view text, PointRecord& record);

// Field 6: one of the run's XML location names, for every point type.
bool checkXmlLocation(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

#pragma once

#include "app/run_state.h"
#include "points/point_record.h"

namespace marlint {

// Fails with the name of the earliest point, in file order, whose name
// occurs again anywhere in `points`. Names compare byte for byte.
bool checkDuplicateNames(RunState& run, const PointList& points);

}  // namespace marlint

#pragma once

#include <string_view>

#include "checks/point_record.h"
#include "run/run_state.h"

namespace marlint {

// Every column check takes its column text and the record under
// construction, may store decoded values in the record, and returns the
// failure flag: false when the text is acceptable, true (with the message in
// the run's result text) when it is not.
using ColumnCheck = bool (*)(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

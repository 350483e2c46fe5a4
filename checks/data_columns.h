#pragma once

#include <optional>
#include <string_view>

#include "checks/column_check.h"

// Data path, data type and return type columns of a "C" row, and the gate
// that every check of the data columns (data path to bit position) begins with.

namespace marlint {

enum class GateOutcome {
  kReject,        // a point with constant values has text in a data column
  kSkipOwnRule,   // a point with constant values, column empty: accept as is
  kApplyOwnRule,  // a point without constant values: the column's rule decides
};

// ConstantPointGate: a point that carries constant values (a CONDITION, or
// an EVENT with a value) must leave every data column empty.
GateOutcome constantPointGate(const PointRecord& record, std::string_view text);

// The gate as the data columns after the data path use it: the check's
// failure flag when the gate decides the column (a rejection, or the empty
// column of a point with constant values), nothing when the column's own
// rule must decide.
std::optional<bool> settleByConstantPointGate(RunState& run, const PointRecord& record,
                                              std::string_view text, std::string_view suffix);

// Field 7: empty for CNC path 1, or one of the run's data path names.
bool checkDataPath(RunState& run, std::string_view text, PointRecord& record);

// Field 8: 1 to 4 on a CNC path, 5 to 8 on a PMC or DCS path.
bool checkDataType(RunState& run, std::string_view text, PointRecord& record);

// Field 9: exactly "String".
bool checkReturnType(RunState& run, std::string_view text, PointRecord& record);

}  // namespace marlint

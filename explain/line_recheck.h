#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "run/rule.h"
#include "run/run_state.h"

// One line checked again, alone and silently, as a cause's proof needs it:
// what faults the line would have if it read otherwise.

namespace marlint {

// A fault of a line checked alone.
struct LineFault {
  Rule rule;
  int field;             // from 0; -1 for a wrong number of fields
  std::size_t column;    // from 1
  std::size_t textSize;  // the offending text's length in bytes
};

// The faults of `line`, checked as the header line when `isHeader` (which
// stops at its first fault, as the header's checks do), otherwise as a
// point row, every column whose premises pass, against the names `run`
// accepts. A scratch run takes the faults: `run` and its report see none.
std::vector<LineFault> faultsOfLine(std::string_view line, bool isHeader, const RunState& run);

}  // namespace marlint

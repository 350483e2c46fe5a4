#pragma once

#include "app/run_state.h"
#include "marlint/marlint.h"

namespace marlint {

// Fills the parts of `fault` that are written for people and tools rather
// than for the result text: the detail sentence and the suggestions. `run`
// is the run that found the fault, for the names it accepts.
void describeFault(Fault& fault, const RunState& run);

}  // namespace marlint

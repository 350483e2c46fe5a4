#pragma once

#include "app/rule.h"
#include "app/run_state.h"
#include "marlint/marlint.h"

namespace marlint {

// Fills the parts of `fault` that are written for people and tools rather
// than for the result text: the detail sentence and the suggestions. `rule`
// is the rule the fault breaks; `run` is the run that found it, for the
// names it accepts and the line being checked.
void describeFault(Fault& fault, Rule rule, const RunState& run);

}  // namespace marlint

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "explain/fault_fixes.h"
#include "explain/file_causes.h"
#include "explain/used_names.h"
#include "marlint/marlint.h"
#include "run/rule.h"
#include "run/run_state.h"

namespace marlint {

// What a report knows about a fault beyond the run's state.
struct FaultSurroundings {
  // What a sample of the file shows; without one, the fault's line alone
  // is looked at.
  const FileShape* fileShape = nullptr;
  // The input bytes held when the fault was found, the fault's line among
  // them, to tell how that line ended.
  std::string_view heldBytes;
  // How many bytes of the input come before `heldBytes`: a fix names the
  // bytes it replaces by their offset in the input.
  std::size_t heldBytesOffset = 0;
  // The point names other rows use, and those offered for other rows, which
  // a suggestion avoids; without it every close name may be suggested.
  UsedNames* usedNames = nullptr;
  // Proves the fixes of the check's faults; without it, each fault makes
  // its own.
  FixProver* fixProver = nullptr;
};

// Fills the parts of `fault` that are written for people and tools rather
// than for the result text: the detail sentence, the suggestions and the
// fixes. `rule`
// is the rule the fault breaks; `run` is the run that found it, for the
// names it accepts and the line being checked.
void describeFault(Fault& fault, Rule rule, const RunState& run,
                   const FaultSurroundings& around = {});

}  // namespace marlint

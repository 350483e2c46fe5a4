#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "marlint/marlint.h"
#include "run/rule.h"
#include "run/run_state.h"

// A suggestion becomes a fix: the bytes of the input it replaces and what
// replaces them, with how sure it is. Every fix is proved on the fault's
// line before it is offered: the line with the fix applied is checked
// again, and it must have lost the fault and gained none.

namespace marlint {

// Checks lines with a fix applied, for one check run: it keeps the scratch
// run the lines are checked in, so that a report of a million faults pays
// for a line's check per fix, not for a run's names each time.
class FixProver {
 public:
  struct LineFault {
    Rule rule;
    int field;
    bool operator==(const LineFault& other) const {
      return rule == other.rule && field == other.field;
    }
  };

  // Every fault of `line`, checked as the header line or as a point row
  // against the names `run` accepts; a repeated name is not looked for.
  const std::vector<LineFault>& faultsOf(std::string_view line, bool isHeader, const RunState& run);

 private:
  std::optional<RunState> scratch_;
  std::vector<LineFault> faults_;
};

// Fills `fault.fixes` for a fault of `rule` on `run`'s current line, which
// starts `lineOffset` bytes into the input: one fix per suggestion that
// proves right on the line, and the removal of a byte-order mark before
// the header line. A fix is `kCertain` where it is the only one and
// exactly one change is right: the text in other case, two swapped
// neighbours, a usual unit spelling, "Path" for "Path1", the mark, or the
// one edit that gives a row its fields.
void addFaultFixes(Fault& fault, Rule rule, const RunState& run, std::size_t lineOffset,
                   FixProver& prover);

// The edit that turns `line` into `fixedLine`: the bytes between their
// common start and their common end. Empty for the same text.
Edit editBetween(std::string_view line, std::string_view fixedLine, std::size_t lineOffset);

}  // namespace marlint

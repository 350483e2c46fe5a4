#pragma once

#include <string>
#include <string_view>
#include <vector>

// Everything one check run writes or derives, in one object the run owns, so
// that two runs in one process never see each other's leftovers.

namespace marlint {

struct RunState {
  // The one result of the run: empty until a check fails or the run ends,
  // then the first fault's whole message, or "OK".
  std::string resultText;

  // XML location names accepted for this run: "Device", "Controller", then
  // one "Path" name per CNC path once the header line is accepted.
  std::vector<std::string> xmlLocationNames;

  // Data path names accepted for this run, derived from the header line.
  std::vector<std::string> pathNameSet;

  RunState();

  // Stores `offending` directly followed by `suffix` as the result text and
  // returns true, the failure flag, so a check can end in `return run.fail(...)`.
  bool fail(std::string_view offending, std::string_view suffix);

  // Stores a fixed sentence as the result text and returns true.
  bool fail(std::string_view sentence);
};

}  // namespace marlint

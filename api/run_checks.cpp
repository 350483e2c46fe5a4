#include "api/run_checks.h"

#include "checks/duplicate_names.h"
#include "checks/point_rows.h"

namespace marlint {

bool runChecksOn(RunState& run, PointInput& input, ControllerConfig& config, PointList& points) {
  bool failed = checkHeaderLine(run, input, config);
  if (!failed) {
    derivePathNames(run, config);
    failed = readPointRows(run, input, points) || checkDuplicateNames(run, points);
    // Notes come after every fault, and never change the result.
    if (run.wantsNotes) {
      noteUncheckedLines(run, input);
    }
  }
  // "OK" goes by the result text, not by the flags: it is stored only when
  // no check has stored a message.
  if (run.resultText.empty()) {
    run.resultText = "OK";
  }
  return failed;
}

bool runChecks(RunState& run, const std::string& pointFilePath, ControllerConfig& config,
               PointList& points) {
  PointInput input = openPointInput(pointFilePath);
  const bool failed = runChecksOn(run, input, config, points);
  // Close before the caller opens the result file, which may be this file.
  input.close();
  return failed;
}

}  // namespace marlint

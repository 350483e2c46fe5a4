#include "api/run_checks.h"

#include "checks/duplicate_names.h"
#include "checks/point_rows.h"

namespace marlint {

bool runChecksOn(RunState& run, PointInput& input, ControllerConfig& config, PointList& points) {
  bool failed = checkHeaderLine(run, input, config);
  // No row reads the DCS ladder, and a faulty count only widens what the
  // rows' paths may name: a run that goes on after faults checks the rows
  // after a faulty header line too. The header's fault stays the result.
  const bool rowsAfterFaultyHeader = failed && run.keepGoing && run.currentLineNumber() == 1;
  if (rowsAfterFaultyHeader) {
    config = countsAfterFaultyHeader(run.currentLine());
  }
  if (!failed || rowsAfterFaultyHeader) {
    derivePathNames(run, config);
    failed = readPointRows(run, input, points) || checkDuplicateNames(run, points) || failed;
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

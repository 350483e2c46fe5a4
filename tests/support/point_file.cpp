#include "tests/support/point_file.h"

#include <stdexcept>

#include "api/run_checks.h"
#include "checks/point_rows.h"
#include "input/point_input.h"
#include "input/split_fields.h"

namespace marlint::testing {

CheckOutcome checkPointFile(std::string_view fileText) {
  CheckOutcome outcome;
  RunState run;
  PointInput input(fileText);
  outcome.failed = runChecksOn(run, input, outcome.config, outcome.points);
  outcome.resultText = run.resultText;
  return outcome;
}

CheckOutcome checkRow(std::string_view row) {
  return checkRowUnder(kHeader, row);
}

CheckOutcome checkRowUnder(std::string_view header, std::string_view row) {
  CheckOutcome outcome = checkPointFile(std::string(header) + "\n" + std::string(row) + "\n");
  outcome.row = std::make_shared<const std::string>(row);
  RunState run;
  derivePathNames(run, outcome.config);
  run.startLine(*outcome.row);
  checkPointRow(run, *outcome.row, outcome.record);
  return outcome;
}

std::string withField(std::string_view row, std::size_t index, std::string_view value) {
  const auto fields = splitFields(row, ',');
  if (index >= fields.size()) {
    throw std::out_of_range("row has no such field");
  }
  std::string changed;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    changed += i == index ? value : fields[i];
    if (i + 1 < fields.size()) {
      changed += ',';
    }
  }
  return changed;
}

}  // namespace marlint::testing

#include "explain/line_recheck.h"

#include "checks/header_line.h"
#include "checks/point_record.h"
#include "checks/point_rows.h"
#include "input/point_input.h"

namespace marlint {

std::vector<LineFault> faultsOfLine(std::string_view line, bool isHeader, const RunState& run) {
  std::vector<LineFault> faults;
  RunState scratch;
  scratch.keepGoing = true;
  scratch.onFault = [&faults](Fault&& fault, Rule rule) {
    faults.push_back({rule, fault.field, fault.column, fault.text.size()});
  };
  if (isHeader) {
    PointInput input(line);
    ControllerConfig config;
    checkHeaderLine(scratch, input, config);
    return faults;
  }
  scratch.xmlLocationNames = run.xmlLocationNames;
  scratch.pathNameSet = run.pathNameSet;
  scratch.startLine(line);
  PointRecord record;
  checkEveryColumnOfPointRow(scratch, line, record);
  return faults;
}

}  // namespace marlint

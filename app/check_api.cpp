#include <utility>

#include "app/fault_detail.h"
#include "app/run_state.h"
#include "input/header_line.h"
#include "input/point_input.h"
#include "input/run_checks.h"
#include "marlint/marlint.h"
#include "points/point_list.h"

// The public entry points: one run of every check, with its faults handed to
// the caller's receiver or collected in the result.

namespace marlint {
namespace {

template <typename RunTheChecks>
CheckResult checkWith(const CheckOptions& options, RunTheChecks&& runTheChecks) {
  CheckResult result;
  RunState run;
  run.keepGoing = options.scope == Scope::kEveryFault;
  run.wantsNotes = options.includeNotes;
  run.onFault = [&](Fault&& fault, Rule rule) {
    describeFault(fault, rule, run);
    if (options.onFault) {
      options.onFault(fault);
    } else {
      result.faults.push_back(std::move(fault));
    }
  };
  ControllerConfig config;
  PointList points;
  const bool failed = runTheChecks(run, config, points);
  result.resultText = std::move(run.resultText);
  result.status = failed ? -1 : 0;
  return result;
}

}  // namespace

CheckResult checkFile(const std::string& path, const CheckOptions& options) {
  return checkWith(options, [&](RunState& run, ControllerConfig& config, PointList& points) {
    return runChecks(run, path, config, points);
  });
}

CheckResult checkBytes(std::string_view bytes, const CheckOptions& options) {
  return checkWith(options, [&](RunState& run, ControllerConfig& config, PointList& points) {
    PointInput input(bytes);
    return runChecksOn(run, input, config, points);
  });
}

}  // namespace marlint

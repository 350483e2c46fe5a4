#include <cstdio>
#include <optional>
#include <utility>

#include "api/run_checks.h"
#include "checks/header_line.h"
#include "checks/point_list.h"
#include "explain/fault_detail.h"
#include "explain/file_causes.h"
#include "explain/used_names.h"
#include "input/point_input.h"
#include "marlint/marlint.h"
#include "run/run_state.h"

// The public entry points: one run of every check, with its faults handed to
// the caller's receiver or collected in the result.

namespace marlint {
namespace {

// The input is opened after, and so released before, the run's own state,
// as the plain run has always done it.
template <typename OpenInput>
CheckResult checkInput(OpenInput&& openInput, const CheckOptions& options) {
  CheckResult result;
  RunState run;
  run.keepGoing = options.scope == Scope::kEveryFault;
  run.wantsNotes = options.includeNotes;
  ControllerConfig config;
  PointList points;
  PointInput input = openInput();
  if (options.beforeInputWait) {
    input.setBeforeWait(options.beforeInputWait);
  }
  // What the file shows is looked at once, at the first fault with a line,
  // from the bytes the input holds then: an acceptable file never pays for it.
  std::optional<FileShape> fileShape;
  // A suggested point name must not be one a later row uses either. A
  // check that goes on after faults reads every row anyway, and a report
  // (which asks for notes) reads on when a name is suggested; the check
  // that stops at its first fault and only keeps it, such as the plain run,
  // reads nothing past the faulty row.
  UsedNames usedNames(
      points, options.scope == Scope::kEveryFault || options.includeNotes ? &input : nullptr);
  FaultSurroundings around;
  FixProver fixProver;
  around.fixProver = &fixProver;
  around.usedNames = &usedNames;
  run.onFault = [&](Fault&& fault, Rule rule) {
    around.heldBytes = input.heldBytes();
    around.heldBytesOffset = input.heldBytesOffset();
    if (!fileShape && fault.line != 0 && rule != Rule::kDuplicateName &&
        fault.severity == Severity::kError) {
      fileShape = FileShape::around(around.heldBytes, input.holdsFirstByte(), input.holdsLastByte(),
                                    run.currentLine());
      around.fileShape = &*fileShape;
    }
    describeFault(fault, rule, run, around);
    if (options.onFault) {
      options.onFault(fault);
    } else {
      result.faults.push_back(std::move(fault));
    }
  };
  const bool failed = runChecksOn(run, input, config, points);
  result.resultText = std::move(run.resultText);
  result.status = failed ? -1 : 0;
  return result;
}

}  // namespace

CheckResult checkFile(const std::string& path, const CheckOptions& options) {
  return checkInput([&path] { return openPointInput(path); }, options);
}

CheckResult checkBytes(std::string_view bytes, const CheckOptions& options) {
  return checkInput([bytes] { return PointInput(bytes); }, options);
}

CheckResult checkStream(std::FILE* stream, const CheckOptions& options) {
  return checkInput([stream] { return PointInput(stream, false); }, options);
}

}  // namespace marlint

#include "checks/header_line.h"

#include <array>
#include <string>
#include <string_view>

#include "checks/accepted_values.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {

namespace {

// A point file without a header line reads as an empty line, whatever the
// reason; the fault still says which reason it was.
bool failWithoutHeaderLine(RunState& run, const PointInput& input) {
  if (input.didNotOpen()) {
    return run.failWithoutLine(Rule::kCannotOpen, input.errorNumber());
  }
  if (input.hadReadError()) {
    return run.failWithoutLine(Rule::kReadError, input.errorNumber());
  }
  return run.failWithoutLine(Rule::kEmptyFile, 0);
}

}  // namespace

bool checkHeaderLine(RunState& run, PointInput& input, ControllerConfig& config) {
  std::string_view line;
  if (!readLine(input, line)) {
    return failWithoutHeaderLine(run, input);
  }
  run.startLine(line);
  std::array<std::string_view, kHeaderFieldCount> fields;
  if (splitFieldsInto(line, ',', fields) != fields.size()) {
    return run.failWithLine(Rule::kHeaderFieldCount, line, " is illegal format.");
  }
  // Every header message starts with the whole line; the fault points at
  // the field that broke the rule.
  config.pmcPathCount = readLeadingInt(fields[0]);
  if (!kPmcPathCounts.contains(config.pmcPathCount)) {
    return run.failWithLine(Rule::kPmcPathCount, fields[0], " is illegal PMC path num.");
  }
  config.cncPathCount = readLeadingInt(fields[1]);
  if (!kCncPathCounts.contains(config.cncPathCount)) {
    return run.failWithLine(Rule::kCncPathCount, fields[1], " is illegal CNC path num.");
  }
  if (fields[2] != kDcsLadderWords[0] && fields[2] != kDcsLadderWords[1]) {
    return run.failWithLine(Rule::kDcsLadder, fields[2], " is illegal DCS Ladder.");
  }
  return false;
}

ControllerConfig countsAfterFaultyHeader(std::string_view headerLine) {
  std::array<std::string_view, 3> fields;
  const std::size_t fieldCount = splitFieldsInto(headerLine, ',', fields);
  const auto countIn = [&](std::size_t field, auto counts) {
    const std::int32_t count = field < fieldCount ? readLeadingInt(fields[field]) : 0;
    return counts.contains(count) ? count : counts.highest;
  };
  ControllerConfig config;
  config.pmcPathCount = countIn(0, kPmcPathCounts);
  config.cncPathCount = countIn(1, kCncPathCounts);
  return config;
}

void derivePathNames(RunState& run, const ControllerConfig& config) {
  // CNC path 1 is plain "Path"; there is no "Path1".
  for (std::int32_t i = 1; i <= config.cncPathCount; ++i) {
    run.xmlLocationNames.add(i == 1 ? std::string(kXmlPathName)
                                    : std::string(kXmlPathName) + std::to_string(i));
  }
  for (std::int32_t i = 1; i <= config.cncPathCount; ++i) {
    run.pathNameSet.add(std::string(kCncPathPrefix) + std::to_string(i));
  }
  for (std::int32_t i = 1; i <= config.pmcPathCount; ++i) {
    run.pathNameSet.add(std::string(kPmcPathPrefix) + std::to_string(i));
  }
  // The DCS path is a data path whatever the header's DCS ladder field says.
  run.pathNameSet.add(std::string(kDcsPathName));
}

}  // namespace marlint

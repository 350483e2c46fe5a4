#include "checks/identity_columns.h"

#include <optional>

#include "checks/accepted_values.h"
#include "input/text_rules.h"
#include "vocab/vocabularies.h"

namespace marlint {
namespace {

constexpr std::string_view kIllegalPointName = "Illegal point name.";

}  // namespace

bool checkPointKind(RunState& run, std::string_view text, PointRecord& record) {
  if (!sameText(text, kMethodPointKind) && !sameText(text, kConfiguredPointKind)) {
    return run.fail(Rule::kPointKind, text, " is illegal point kind.");
  }
  record.kind = text[0];
  return false;
}

bool checkPointName(RunState& run, std::string_view text, PointRecord& record) {
  // A "D" row's suffix is free; only its method name is held to the rules.
  // Every method name is a letter and letters and digits, so a known one
  // needs no further test, and it gives the point its cycle.
  if (record.kind == kMethodPointKind[0]) {
    const std::optional<std::int32_t> cycle = lookupMethodCycle(methodNameOf(text));
    if (!cycle) {
      return run.failWithSentence(Rule::kMethodName, text, kIllegalPointName);
    }
    record.cycle = *cycle;
    record.name = text;
    return false;
  }
  if (text.size() > kMaxPointNameLength || text.empty() || !isAsciiLetter(text.front()) ||
      !isAllAlnum(text)) {
    return run.failWithSentence(Rule::kPointName, text, kIllegalPointName);
  }
  record.name = text;
  return false;
}

bool checkPointType(RunState& run, std::string_view text, PointRecord& record) {
  if (sameText(text, kEventTypeName)) {
    record.pointType = point_type::kEvent;
  } else if (sameText(text, kSampleTypeName)) {
    record.pointType = point_type::kSample;
  } else if (sameText(text, kConditionTypeName)) {
    record.pointType = point_type::kCondition;
  } else {
    return run.fail(Rule::kPointType, text, " is illegal point type.");
  }
  return false;
}

std::string_view methodNameOf(std::string_view pointName) {
  const std::size_t underscore = pointName.rfind('_');
  return underscore == std::string_view::npos ? pointName : pointName.substr(0, underscore);
}

void setDevicePathNumber(PointRecord& record) {
  const std::size_t underscore = record.name.rfind('_');
  record.pathNumber =
      underscore == std::string_view::npos ? 0 : readLeadingInt(record.name.substr(underscore + 1));
}

}  // namespace marlint

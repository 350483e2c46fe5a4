#include "checks/data_columns.h"

#include "checks/accepted_values.h"
#include "input/text_rules.h"

namespace marlint {

GateOutcome constantPointGate(const PointRecord& record, std::string_view text) {
  // Most points have no constant values: the one test they need comes first.
  if (!record.hasConstantValues()) {
    const bool carriesConstants = record.pointType == point_type::kCondition;
    return carriesConstants && !text.empty() ? GateOutcome::kReject : GateOutcome::kApplyOwnRule;
  }
  const bool carriesConstants =
      record.pointType == point_type::kCondition || record.pointType == point_type::kEvent;
  return carriesConstants && !text.empty() ? GateOutcome::kReject : GateOutcome::kSkipOwnRule;
}

std::optional<bool> settleByConstantPointGate(RunState& run, const PointRecord& record,
                                              std::string_view text, std::string_view suffix) {
  switch (constantPointGate(record, text)) {
    case GateOutcome::kReject: return run.fail(Rule::kConstantPointColumn, text, suffix);
    case GateOutcome::kSkipOwnRule: return false;
    case GateOutcome::kApplyOwnRule: break;
  }
  return std::nullopt;
}

bool checkDataPath(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal data path.";
  if (constantPointGate(record, text) == GateOutcome::kReject) {
    return run.fail(Rule::kConstantPointColumn, text, kSuffix);
  }
  // An empty data path means CNC path 1, also for a point with constant values.
  if (text.empty()) {
    record.pathKind = path_kind::kCnc;
    record.pathNumber = 1;
    return false;
  }
  if (!run.pathNameSet.contains(text)) {
    return run.fail(Rule::kDataPath, text, kSuffix);
  }
  // Every data path name is "CNC path N", "PMC path N" or "DCS path 9".
  constexpr std::size_t kNumberStart = std::string_view(kCncPathPrefix).size();
  static_assert(std::string_view(kPmcPathPrefix).size() == kNumberStart &&
                std::string_view(kDcsPathName).size() == kNumberStart + 1);
  record.pathKind = text[0] == kCncPathPrefix[0] ? path_kind::kCnc : path_kind::kPmc;
  record.pathNumber = readLeadingInt(text.substr(kNumberStart));
  return false;
}

bool checkDataType(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal data type.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  const std::int32_t dataType = readLeadingInt(text);
  const bool onCncPath = record.pathKind == path_kind::kCnc;
  const bool inRange =
      onCncPath ? kCncDataTypes.contains(dataType) : kPmcDataTypes.contains(dataType);
  if (!inRange) {
    return run.fail(onCncPath ? Rule::kCncDataType : Rule::kPmcDataType, text, kSuffix);
  }
  record.dataType = dataType;
  return false;
}

bool checkReturnType(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal return type.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  if (!sameText(text, kReturnTypeName)) {
    return run.fail(Rule::kReturnType, text, kSuffix);
  }
  record.returnType = text;
  return false;
}

}  // namespace marlint

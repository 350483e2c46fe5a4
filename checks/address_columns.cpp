#include "checks/address_columns.h"

#include <optional>

#include "checks/accepted_values.h"
#include "checks/data_columns.h"
#include "input/text_rules.h"
#include "vocab/vocabularies.h"

namespace marlint {

bool checkAccessType(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal access type.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  if (!sameText(text, kAccessTypeName)) {
    return run.fail(Rule::kAccessType, text, kSuffix);
  }
  record.accessType = kAccessTypeName[0];
  return false;
}

bool checkAddressType(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal address type.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  const bool cncDataType = kCncDataTypes.contains(record.dataType);
  if (cncDataType) {
    if (!text.empty()) {
      return run.fail(Rule::kCncAddressType, text, kSuffix);
    }
    record.addressType = kNoAddressType;
    return false;
  }
  // Point files rely on this: a PMC column that is not a single character
  // (empty, or two letters) is accepted without a lookup.
  if (text.size() != 1) {
    return false;
  }
  const std::optional<std::int16_t> code = lookupAddressTypeCode(text[0]);
  if (!code) {
    return run.fail(Rule::kAddressLetter, text, kSuffix);
  }
  record.addressType = *code;
  return false;
}

}  // namespace marlint

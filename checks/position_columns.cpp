#include "checks/position_columns.h"

#include <optional>

#include "checks/accepted_values.h"
#include "checks/data_columns.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

struct AddressRange {
  std::uint32_t lowest;
  std::uint32_t highest;
};

template <typename Accepted>
constexpr AddressRange addressRangeOf(Accepted /*accepted*/) {
  return {Accepted::lowest, Accepted::highest};
}

// The start addresses each data type accepts. Data type 4 has no range: it
// accepts only the empty column.
std::optional<AddressRange> startAddressRange(std::int32_t dataType) {
  static_assert(kPmcDataTypes.lowest == 5 && kPmcDataTypes.highest == 8,
                "the cases below list the PMC data types");
  switch (dataType) {
    case 1: return addressRangeOf(kDataType1StartAddresses);
    case 2: return addressRangeOf(kDataType2StartAddresses);
    case 3: return addressRangeOf(kDataType3StartAddresses);
    case 5:
    case 6:
    case 7:
    case 8: return addressRangeOf(kPmcStartAddresses);
    default: return std::nullopt;
  }
}

// The rule a start address breaks, which depends on the data type.
Rule startAddressRule(std::int32_t dataType) {
  switch (dataType) {
    case 1: return Rule::kStartAddressType1;
    case 2: return Rule::kStartAddressType2;
    case 3: return Rule::kStartAddressType3;
    case kDataTypeWithoutStartAddress: return Rule::kStartAddressType4;
    default: return Rule::kPmcStartAddress;
  }
}

}  // namespace

bool checkStartAddress(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal start address.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  // The empty column reads as 0, which only the PMC data types accept.
  const Rule rule = startAddressRule(record.dataType);
  const std::optional<std::uint32_t> address = readAllDigits(text);
  if (!address) {
    return run.fail(rule, text, kSuffix);
  }
  if (record.dataType == kDataTypeWithoutStartAddress) {
    if (!text.empty()) {
      return run.fail(rule, text, kSuffix);
    }
    record.startAddress = -1;
    return false;
  }
  const std::optional<AddressRange> range = startAddressRange(record.dataType);
  if (!range || *address < range->lowest || *address > range->highest) {
    return run.fail(rule, text, kSuffix);
  }
  record.startAddress = static_cast<std::int32_t>(*address);
  return false;
}

bool checkBitPos(RunState& run, std::string_view text, PointRecord& record) {
  constexpr std::string_view kSuffix = " is illegal bit pos.";
  if (const std::optional<bool> settled = settleByConstantPointGate(run, record, text, kSuffix)) {
    return *settled;
  }
  if (record.dataType != kBitDataType) {
    if (!text.empty()) {
      return run.fail(Rule::kBitPosNotAllowed, text, kSuffix);
    }
    record.bitPos = 0;
    return false;
  }
  const std::optional<std::uint32_t> bitPos = readAllDigits(text);
  if (text.empty() || !bitPos || !kBitPositions.contains(*bitPos)) {
    return run.fail(Rule::kBitPos, text, kSuffix);
  }
  record.bitPos = static_cast<std::int32_t>(*bitPos);
  return false;
}

}  // namespace marlint

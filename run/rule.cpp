#include "run/rule.h"

#include <array>
#include <cstddef>

namespace marlint {
namespace {

struct RuleNames {
  Rule rule;
  std::string_view name;
};

constexpr RuleNames kRuleNames[] = {
    {Rule::kCannotOpen, "cannot-open"},
    {Rule::kReadError, "read-error"},
    {Rule::kEmptyFile, "empty-file"},
    {Rule::kHeaderFieldCount, "header-field-count"},
    {Rule::kPmcPathCount, "pmc-path-count"},
    {Rule::kCncPathCount, "cnc-path-count"},
    {Rule::kDcsLadder, "dcs-ladder"},
    {Rule::kRowFieldCount, "row-field-count"},
    {Rule::kPointKind, "point-kind"},
    {Rule::kPointName, "point-name"},
    {Rule::kMethodName, "method-name"},
    {Rule::kPointType, "point-type"},
    {Rule::kEventValue, "event-value"},
    {Rule::kSampleValue, "sample-value"},
    {Rule::kConditionWordCount, "condition-word-count"},
    {Rule::kConditionCode, "condition-code"},
    {Rule::kCycle, "cycle"},
    {Rule::kUnitName, "unit-name"},
    {Rule::kUnitNotAllowed, "unit-not-allowed"},
    {Rule::kXmlLocation, "xml-location"},
    {Rule::kConstantPointColumn, "constant-point-column"},
    {Rule::kDataPath, "data-path"},
    {Rule::kCncDataType, "cnc-data-type"},
    {Rule::kPmcDataType, "pmc-data-type"},
    {Rule::kReturnType, "return-type"},
    {Rule::kAccessType, "access-type"},
    {Rule::kCncAddressType, "cnc-address-type"},
    {Rule::kAddressLetter, "address-letter"},
    {Rule::kStartAddressType1, "start-address-type-1"},
    {Rule::kStartAddressType2, "start-address-type-2"},
    {Rule::kStartAddressType3, "start-address-type-3"},
    {Rule::kStartAddressType4, "start-address-type-4"},
    {Rule::kPmcStartAddress, "pmc-start-address"},
    {Rule::kBitPos, "bit-pos"},
    {Rule::kBitPosNotAllowed, "bit-pos-not-allowed"},
    {Rule::kDuplicateName, "duplicate-name"},
    {Rule::kUncheckedLines, "unchecked-lines"},
};

// The table lists every rule once, in the enumeration's order.
constexpr bool listsEveryRuleInOrder() {
  for (std::size_t i = 0; i < std::size(kRuleNames); ++i) {
    if (static_cast<std::size_t>(kRuleNames[i].rule) != i) {
      return false;
    }
  }
  return std::size(kRuleNames) == kRuleCount;
}
static_assert(listsEveryRuleInOrder());

constexpr std::array<std::string_view, 3> kHeaderColumnNames = {"PMC path count", "CNC path count",
                                                                "DCS ladder"};

constexpr std::array<std::string_view, 14> kRowColumnNames = {
    "point kind",  "point name",   "point type",    "constant value", "cycle",
    "unit",        "XML location", "data path",     "data type",      "return type",
    "access type", "address type", "start address", "bit position"};

bool isHeaderRule(Rule rule) {
  return rule >= Rule::kHeaderFieldCount && rule <= Rule::kDcsLadder;
}

}  // namespace

std::string_view ruleName(Rule rule) {
  return kRuleNames[static_cast<std::size_t>(rule)].name;
}

std::string_view columnNameOf(Rule rule, int field) {
  if (rule <= Rule::kEmptyFile) {
    return "point file";
  }
  if (rule == Rule::kHeaderFieldCount) {
    return "header line";
  }
  if (rule == Rule::kRowFieldCount) {
    return "point row";
  }
  if (rule == Rule::kUncheckedLines) {
    return "empty line";
  }
  const auto index = static_cast<std::size_t>(field);
  if (isHeaderRule(rule)) {
    return field >= 0 && index < kHeaderColumnNames.size() ? kHeaderColumnNames[index]
                                                           : "header line";
  }
  return field >= 0 && index < kRowColumnNames.size() ? kRowColumnNames[index] : "point row";
}

}  // namespace marlint

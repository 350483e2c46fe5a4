#include "vocab/vocabularies.h"

#include "vocab/exact_key_table.h"

namespace marlint {
namespace {

struct Method {
  std::string_view name;
  std::int32_t cycle;
};

// MethodTable: the method names a point of kind "D" may carry, with their cycles.
constexpr Method kMethods[kMethodCount] = {
    {"ReadEmergency", 800},
    {"ReadOperatorMessages", 1000},
    {"ReadNumberOfPaths", 10000},
    {"ReadAlarmWithType", 800},
    {"ReadMode", 800},
    {"ReadPartCount", 1000},
    {"ReadRunStatus", 800},
    {"AllPositionData", 800},
    {"DynamicCurrentSequenceNumber", 800},
    {"MainProgramName", 2000},
    {"MainProgramComment", 2000},
    {"ModalTCode", 800},
    {"FeedrateOverride", 1000},
    {"ReadProgramBlock", 800},
    {"ServoLoad", 800},
    {"ReadSpindleLoads", 800},
    {"ReadSpindleSpeeds", 800},
    {"ReadSpindleModes", 800},
    {"ReadAxisNames", 5000},
    {"ReadSpindleNames", 10000},
    {"RapidOverride", 1000},
    {"SpindleOverride", 1000},
    {"DynamicActualFeedrate", 800},
};

constexpr std::array<std::string_view, kMethodCount> methodNamesOf(
    const Method (&methods)[kMethodCount]) {
  std::array<std::string_view, kMethodCount> names{};
  for (std::size_t i = 0; i < kMethodCount; ++i) {
    names[i] = methods[i].name;
  }
  return names;
}

// Method names of one length differ in their fifth byte from the end.
constexpr ExactKeyTable<kMethodCount> kMethodTable(methodNamesOf(kMethods), 5);

// UnitTable: numbered 1 to 32 in this order. "DEGREE / SECONDA^2" is spelt
// with the A on purpose: point files in the field use that exact key. Unit
// names of one length differ in their second byte from the end.
constexpr ExactKeyTable<kUnitCount> kUnitTable({{
                                                   "NONE",
                                                   "AMPERE",
                                                   "CELSIUS",
                                                   "COUNT",
                                                   "DECIBEL",
                                                   "DEGREE",
                                                   "DEGREE / SECOND",
                                                   "DEGREE / SECONDA^2",
                                                   "HERTZ",
                                                   "JOULE",
                                                   "KILOGRAM",
                                                   "LITER",
                                                   "LITER / SECOND",
                                                   "MICRO_RADIAN",
                                                   "MILLIMETER",
                                                   "MILLIMETER / SECOND",
                                                   "MILLIMETER / SECOND^2",
                                                   "MILLIMETER_3D",
                                                   "NEWTON",
                                                   "NEWTON_METER",
                                                   "PASCAL",
                                                   "PASCAL_SECOND",
                                                   "PERCENT",
                                                   "PH",
                                                   "REVOLUTION/MINUTE",
                                                   "SECOND",
                                                   "SIEMENS/METER",
                                                   "VOLT",
                                                   "VOLT_AMPERE",
                                                   "VOLT_AMPERE_REACTIVE",
                                                   "WATT",
                                                   "WATT_SECOND",
                                               }},
                                               2);

// AddressLetterTable: upper-case letters only, the code being the position.
constexpr std::string_view kAddressLetters = "GFYXARTKCDMNEZ";

}  // namespace

std::optional<std::int32_t> lookupMethodCycle(std::string_view methodName) {
  const std::optional<std::size_t> index = kMethodTable.indexOf(methodName);
  if (!index) {
    return std::nullopt;
  }
  return kMethods[*index].cycle;
}

std::optional<std::int32_t> lookupUnitNumber(std::string_view unitName) {
  const std::optional<std::size_t> index = kUnitTable.indexOf(unitName);
  if (!index) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*index + 1);
}

// Code 0 (G) is a hit, not a miss.
std::optional<std::int16_t> lookupAddressTypeCode(char letter) {
  switch (letter) {
    case 'G': return 0;
    case 'F': return 1;
    case 'Y': return 2;
    case 'X': return 3;
    case 'A': return 4;
    case 'R': return 5;
    case 'T': return 6;
    case 'K': return 7;
    case 'C': return 8;
    case 'D': return 9;
    case 'M': return 10;
    case 'N': return 11;
    case 'E': return 12;
    case 'Z': return 13;
    default: return std::nullopt;
  }
}

const std::array<std::string_view, kMethodCount>& methodNames() {
  return kMethodTable.keys();
}

const std::array<std::string_view, kUnitCount>& unitNames() {
  return kUnitTable.keys();
}

std::string_view addressLetters() {
  return kAddressLetters;
}

}  // namespace marlint

#include "vocab/vocabularies.h"

#include <array>
#include <iterator>
#include <utility>

namespace marlint {
namespace {

template <typename Value, std::size_t N>
std::optional<Value> findExact(const std::pair<std::string_view, Value> (&table)[N],
                               std::string_view key) {
  for (const auto& [entryKey, value] : table) {
    if (entryKey == key) {
      return value;
    }
  }
  return std::nullopt;
}

// MethodTable: the method names a point of kind "D" may carry, with their cycles.
constexpr std::pair<std::string_view, std::int32_t> kMethodTable[] = {
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

// UnitTable: numbered 1 to 32 in this order. "DEGREE / SECONDA^2" is spelt
// with the A on purpose: point files in the field use that exact key.
constexpr std::pair<std::string_view, std::int32_t> kUnitTable[] = {
    {"NONE", 1},
    {"AMPERE", 2},
    {"CELSIUS", 3},
    {"COUNT", 4},
    {"DECIBEL", 5},
    {"DEGREE", 6},
    {"DEGREE / SECOND", 7},
    {"DEGREE / SECONDA^2", 8},
    {"HERTZ", 9},
    {"JOULE", 10},
    {"KILOGRAM", 11},
    {"LITER", 12},
    {"LITER / SECOND", 13},
    {"MICRO_RADIAN", 14},
    {"MILLIMETER", 15},
    {"MILLIMETER / SECOND", 16},
    {"MILLIMETER / SECOND^2", 17},
    {"MILLIMETER_3D", 18},
    {"NEWTON", 19},
    {"NEWTON_METER", 20},
    {"PASCAL", 21},
    {"PASCAL_SECOND", 22},
    {"PERCENT", 23},
    {"PH", 24},
    {"REVOLUTION/MINUTE", 25},
    {"SECOND", 26},
    {"SIEMENS/METER", 27},
    {"VOLT", 28},
    {"VOLT_AMPERE", 29},
    {"VOLT_AMPERE_REACTIVE", 30},
    {"WATT", 31},
    {"WATT_SECOND", 32},
};

template <std::size_t N, typename Value>
constexpr std::array<std::string_view, N> keysOf(
    const std::pair<std::string_view, Value> (&table)[N]) {
  std::array<std::string_view, N> keys{};
  for (std::size_t i = 0; i < N; ++i) {
    keys[i] = table[i].first;
  }
  return keys;
}

constexpr std::array<std::string_view, std::size(kMethodTable)> kMethodNames = keysOf(kMethodTable);
constexpr std::array<std::string_view, std::size(kUnitTable)> kUnitNames = keysOf(kUnitTable);

}  // namespace

std::optional<std::int32_t> lookupMethodCycle(std::string_view methodName) {
  return findExact(kMethodTable, methodName);
}

std::optional<std::int32_t> lookupUnitNumber(std::string_view unitName) {
  return findExact(kUnitTable, unitName);
}

// AddressLetterTable: upper-case letters only. Code 0 (G) is a hit, not a miss.
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

const std::array<std::string_view, 23>& methodNames() {
  return kMethodNames;
}

const std::array<std::string_view, 32>& unitNames() {
  return kUnitNames;
}

std::string_view addressLetters() {
  return "GFYXARTKCDMNEZ";
}

}  // namespace marlint

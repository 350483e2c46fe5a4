#include "vocab/vocabularies.h"

#include <array>

#include "vocab/exact_key_table.h"

// One table per vocabulary: a new entry is one line here. Counts, unit
// numbers and address codes follow from the order, and the lookup tables
// find their own parameters while compiling.

namespace marlint {
namespace {

struct MethodCycle {
  std::string_view name;
  std::int32_t cycle;
};

// MethodTable: the method names a point of kind "D" may carry, with their cycles.
constexpr MethodCycle kMethods[] = {
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

// UnitTable: numbered from 1 in this order. "DEGREE / SECONDA^2" is spelt
// with the A on purpose: point files in the field use that exact key.
constexpr std::string_view kUnits[] = {
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
};

// AddressLetterTable: upper-case letters only, the code being the position.
constexpr std::string_view kAddressLetters = "GFYXARTKCDMNEZ";

// The names of a table, in its order.
constexpr std::string_view nameOf(std::string_view name) {
  return name;
}
constexpr std::string_view nameOf(const MethodCycle& method) {
  return method.name;
}
template <typename Entry, std::size_t N>
constexpr std::array<std::string_view, N> namesOf(const Entry (&entries)[N]) {
  std::array<std::string_view, N> names{};
  for (std::size_t i = 0; i < N; ++i) {
    names[i] = nameOf(entries[i]);
  }
  return names;
}

constexpr ExactKeyTable<std::size(kMethods)> kMethodTable(namesOf(kMethods));
constexpr ExactKeyTable<std::size(kUnits)> kUnitTable(namesOf(kUnits));

// The code of every byte, -1 for a byte that is no address letter. A letter
// that repeats stops the build.
constexpr std::array<std::int8_t, 256> codesOf(std::string_view letters) {
  std::array<std::int8_t, 256> codes{};
  for (std::int8_t& code : codes) {
    code = -1;
  }
  for (std::size_t i = 0; i < letters.size(); ++i) {
    std::int8_t& code = codes[static_cast<unsigned char>(letters[i])];
    if (code != -1) {
      throw "an address letter repeats";
    }
    code = static_cast<std::int8_t>(i);
  }
  return codes;
}

constexpr std::array<std::int8_t, 256> kAddressCodes = codesOf(kAddressLetters);

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
  const std::int8_t code = kAddressCodes[static_cast<unsigned char>(letter)];
  if (code < 0) {
    return std::nullopt;
  }
  return code;
}

NameList methodNames() {
  return {kMethodTable.keys().data(), kMethodTable.keys().size()};
}

NameList unitNames() {
  return {kUnitTable.keys().data(), kUnitTable.keys().size()};
}

std::string_view addressLetters() {
  return kAddressLetters;
}

}  // namespace marlint

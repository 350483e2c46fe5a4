#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

#include <string>

namespace marlint {
namespace {

// Point files carry these keys byte for byte, so every entry is spelt out.
TEST(UnitTable, EveryUnitHasItsNumber) {
  const std::string names[] = {"NONE",
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
                               "WATT_SECOND"};
  for (std::int32_t number = 1; number <= 32; ++number) {
    EXPECT_EQ(lookupUnitNumber(names[number - 1]), number) << names[number - 1];
  }
}

TEST(UnitTable, NearMissesAreNotUnits) {
  for (const char* text : {"DEGREE / SECOND^2", "pH", "Ph", "REVOLUTION / MINUTE", "LITER/SECOND",
                           "MILLIMETER/SECOND", "millimeter", "NONE ", " NONE", "", "MILLI"}) {
    EXPECT_EQ(lookupUnitNumber(text), std::nullopt) << text;
  }
}

TEST(MethodTable, EveryMethodHasItsCycle) {
  const std::pair<const char*, std::int32_t> methods[] = {{"ReadEmergency", 800},
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
                                                          {"DynamicActualFeedrate", 800}};
  for (const auto& [name, cycle] : methods) {
    EXPECT_EQ(lookupMethodCycle(name), cycle) << name;
  }
}

TEST(MethodTable, NearMissesAreNotMethods) {
  for (const char* text : {"readEmergency", "ReadMode ", "ReadMode_1", "Read", "", "READMODE"}) {
    EXPECT_EQ(lookupMethodCycle(text), std::nullopt) << text;
  }
}

TEST(AddressLetterTable, EveryLetterHasItsCode) {
  const std::string letters = "GFYXARTKCDMNEZ";
  for (std::size_t code = 0; code < letters.size(); ++code) {
    EXPECT_EQ(lookupAddressTypeCode(letters[code]), static_cast<std::int16_t>(code))
        << letters[code];
  }
}

TEST(AddressLetterTable, OtherCharactersMiss) {
  for (const char c : {'g', 'B', 'I', 'Q', '1', '-', ' ', '\0', '\xC4'}) {
    EXPECT_EQ(lookupAddressTypeCode(c), std::nullopt) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace marlint

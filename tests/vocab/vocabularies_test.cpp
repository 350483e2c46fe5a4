#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace marlint {
namespace {

// Every unit name in table order, which gives its number from 1: a unit
// added to vocab/vocabularies.cpp is an entry here too.
constexpr std::string_view kUnits[] = {"NONE",
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

// Every method name with its cycle, in table order.
const std::pair<std::string_view, std::int32_t> kMethods[] = {
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

// The listing that reports quote and suggest from is the test's table, in
// its order, and each entry is found with its own number.
TEST(UnitTable, EveryNameHasItsNumber) {
  ASSERT_EQ(unitNames().size(), std::size(kUnits)) << "a unit name is missing from a table";
  for (std::size_t i = 0; i < std::size(kUnits); ++i) {
    EXPECT_EQ(unitNames()[i], kUnits[i]) << "unit " << i + 1;
    EXPECT_EQ(lookupUnitNumber(kUnits[i]), static_cast<std::int32_t>(i + 1)) << kUnits[i];
  }
}

TEST(MethodTable, EveryNameHasItsCycle) {
  ASSERT_EQ(methodNames().size(), std::size(kMethods)) << "a method name is missing from a table";
  for (std::size_t i = 0; i < std::size(kMethods); ++i) {
    EXPECT_EQ(methodNames()[i], kMethods[i].first) << "method " << i;
    EXPECT_EQ(lookupMethodCycle(kMethods[i].first), kMethods[i].second) << kMethods[i].first;
  }
}

TEST(UnitTable, NearMissesAreNotUnits) {
  // "xxNx" and "AMPERF" land where "NONE" and "AMPERE" are looked for.
  for (const char* text :
       {"DEGREE / SECOND^2", "pH", "Ph", "REVOLUTION / MINUTE", "LITER/SECOND", "MILLIMETER/SECOND",
        "millimeter", "NONE ", " NONE", "", "MILLI", "xxNx", "AMPERF", "P", "\xFF"}) {
    EXPECT_EQ(lookupUnitNumber(text), std::nullopt) << text;
  }
}

TEST(MethodTable, NearMissesAreNotMethods) {
  for (const char* text :
       {"readEmergency", "ReadMode ", "ReadMode_1", "Read", "", "READMODE", "ReadModx"}) {
    EXPECT_EQ(lookupMethodCycle(text), std::nullopt) << text;
  }
}

TEST(AddressLetterTable, EveryLetterHasItsCode) {
  const std::string_view letters = addressLetters();
  EXPECT_EQ(letters, "GFYXARTKCDMNEZ");
  for (std::size_t code = 0; code < letters.size(); ++code) {
    EXPECT_EQ(lookupAddressTypeCode(letters[code]), static_cast<std::int16_t>(code))
        << letters[code];
  }
}

TEST(AddressLetterTable, OtherCharactersMiss) {
  for (const char c : {'g', 'B', 'I', 'Q', '1', '-', ' ', '\0', '\xC4', '\xFF'}) {
    EXPECT_EQ(lookupAddressTypeCode(c), std::nullopt) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace marlint

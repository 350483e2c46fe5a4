#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace marlint {
namespace {

// Every unit name with its number, in table order: a unit added to
// vocab/vocabularies.cpp is a row here too.
const std::pair<std::string_view, std::int32_t> kUnits[] = {
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

// The listing that reports quote and suggest from is the table above, in
// its order, and each entry is found with its own number.
template <typename Table, typename Lookup>
void expectListing(const Table& table, NameList listing, Lookup lookup) {
  ASSERT_EQ(listing.size(), std::size(table)) << "a name is missing from the test's table";
  for (std::size_t i = 0; i < listing.size(); ++i) {
    EXPECT_EQ(listing[i], table[i].first) << "entry " << i;
    EXPECT_EQ(lookup(table[i].first), table[i].second) << table[i].first;
  }
}

TEST(UnitTable, EveryNameHasItsNumber) {
  expectListing(kUnits, unitNames(), lookupUnitNumber);
}

TEST(MethodTable, EveryNameHasItsCycle) {
  expectListing(kMethods, methodNames(), lookupMethodCycle);
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

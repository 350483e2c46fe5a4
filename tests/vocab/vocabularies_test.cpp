#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

#include <string>

namespace marlint {
namespace {

// The entries whose spelling is easy to get wrong, and both ends of the
// numbering.
TEST(UnitTable, TrickyEntriesHaveTheirNumbers) {
  const std::pair<const char*, std::int32_t> units[] = {
      {"NONE", 1},
      {"DEGREE / SECOND", 7},
      {"DEGREE / SECONDA^2", 8},
      {"LITER / SECOND", 13},
      {"MILLIMETER", 15},
      {"MILLIMETER / SECOND^2", 17},
      {"MILLIMETER_3D", 18},
      {"PH", 24},
      {"REVOLUTION/MINUTE", 25},
      {"SIEMENS/METER", 27},
      {"VOLT_AMPERE_REACTIVE", 30},
      {"WATT_SECOND", 32},
  };
  for (const auto& [name, number] : units) {
    EXPECT_EQ(lookupUnitNumber(name), number) << name;
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

// One method of every cycle, and the longest name.
TEST(MethodTable, MethodsHaveTheirCycles) {
  const std::pair<const char*, std::int32_t> methods[] = {
      {"ReadEmergency", 800},
      {"ReadOperatorMessages", 1000},
      {"ReadNumberOfPaths", 10000},
      {"ReadSpindleNames", 10000},
      {"MainProgramComment", 2000},
      {"ReadAxisNames", 5000},
      {"DynamicCurrentSequenceNumber", 800},
      {"DynamicActualFeedrate", 800},
  };
  for (const auto& [name, cycle] : methods) {
    EXPECT_EQ(lookupMethodCycle(name), cycle) << name;
  }
}

TEST(MethodTable, NearMissesAreNotMethods) {
  for (const char* text :
       {"readEmergency", "ReadMode ", "ReadMode_1", "Read", "", "READMODE", "ReadModx"}) {
    EXPECT_EQ(lookupMethodCycle(text), std::nullopt) << text;
  }
}

// The lists in table order are what messages show: each entry must be found
// with its own number.
TEST(Vocabularies, ListsGiveEveryEntryInTableOrder) {
  ASSERT_EQ(unitNames().size(), 32u);
  EXPECT_EQ(unitNames().front(), "NONE");
  EXPECT_EQ(unitNames().back(), "WATT_SECOND");
  for (std::size_t i = 0; i < unitNames().size(); ++i) {
    EXPECT_EQ(lookupUnitNumber(unitNames()[i]), static_cast<std::int32_t>(i + 1)) << unitNames()[i];
  }
  ASSERT_EQ(methodNames().size(), 23u);
  EXPECT_EQ(methodNames().front(), "ReadEmergency");
  EXPECT_EQ(methodNames().back(), "DynamicActualFeedrate");
  for (const std::string_view name : methodNames()) {
    EXPECT_TRUE(lookupMethodCycle(name)) << name;
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
  for (const char c : {'g', 'B', 'I', 'Q', '1', '-', ' ', '\0', '\xC4'}) {
    EXPECT_EQ(lookupAddressTypeCode(c), std::nullopt) << static_cast<int>(c);
  }
}

// The listings that reports quote and suggest from are the lookup tables,
// in their order.
TEST(Vocabularies, ListingsAreTheTablesInOrder) {
  for (std::size_t i = 0; i < unitNames().size(); ++i) {
    EXPECT_EQ(lookupUnitNumber(unitNames()[i]), static_cast<std::int32_t>(i + 1)) << unitNames()[i];
  }
  for (const std::string_view method : methodNames()) {
    EXPECT_TRUE(lookupMethodCycle(method).has_value()) << method;
  }
  EXPECT_EQ(methodNames().front(), "ReadEmergency");
  EXPECT_EQ(methodNames().back(), "DynamicActualFeedrate");
  for (std::size_t code = 0; code < addressLetters().size(); ++code) {
    EXPECT_EQ(lookupAddressTypeCode(addressLetters()[code]), static_cast<std::int16_t>(code));
  }
  EXPECT_EQ(addressLetters().size(), 14u);
}

}  // namespace
}  // namespace marlint

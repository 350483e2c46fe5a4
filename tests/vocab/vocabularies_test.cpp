#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Properties of the fixed vocabularies rather than a second copy of them:
// every listed name is found, with its number where the number is its
// place; the names its near neighbours spell are not found, unless they are
// listed themselves. The lists themselves are held to the manual page by
// the documentation tests.

namespace marlint {
namespace {

bool isListed(NameList names, std::string_view text) {
  return std::find(names.begin(), names.end(), text) != names.end();
}

// Texts one slip away from `name`: other case, a blank before or after, the
// last byte changed, dropped or doubled, a byte past the end.
std::vector<std::string> neighboursOf(std::string_view name) {
  std::string lower(name);
  std::string upper(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  std::string changedLast(name);
  changedLast.back() = static_cast<char>(changedLast.back() + 1);
  return {lower,
          upper,
          " " + std::string(name),
          std::string(name) + " ",
          changedLast,
          std::string(name.substr(0, name.size() - 1)),
          std::string(name) + name.back(),
          std::string(name) + '\0',
          std::string(name) + "_1"};
}

TEST(UnitTable, EveryNameHasItsPlaceAsNumber) {
  const NameList names = unitNames();
  ASSERT_GT(names.size(), 0u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(lookupUnitNumber(names[i]), static_cast<std::int32_t>(i + 1)) << names[i];
  }
  // The two numbers that point files and their readers rely on.
  EXPECT_EQ(lookupUnitNumber("NONE"), 1);
  EXPECT_EQ(lookupUnitNumber("MILLIMETER"), 15);
}

TEST(UnitTable, NeighboursOfANameAreNotUnits) {
  for (const std::string_view name : unitNames()) {
    for (const std::string& text : neighboursOf(name)) {
      if (!isListed(unitNames(), text)) {
        EXPECT_EQ(lookupUnitNumber(text), std::nullopt) << name << " -> \"" << text << '"';
      }
    }
  }
  for (const char* text : {"", "P", "\xFF", "DEGREE / SECOND^2", "REVOLUTION / MINUTE"}) {
    EXPECT_EQ(lookupUnitNumber(text), std::nullopt) << text;
  }
}

TEST(MethodTable, EveryNameHasACycleInTheCycleRange) {
  const NameList names = methodNames();
  ASSERT_GT(names.size(), 0u);
  for (const std::string_view name : names) {
    const std::optional<std::int32_t> cycle = lookupMethodCycle(name);
    ASSERT_TRUE(cycle.has_value()) << name;
    EXPECT_GE(*cycle, 100) << name;
    EXPECT_LE(*cycle, 10000) << name;
  }
  EXPECT_EQ(lookupMethodCycle("ReadMode"), 800);
}

TEST(MethodTable, NeighboursOfANameAreNotMethods) {
  for (const std::string_view name : methodNames()) {
    for (const std::string& text : neighboursOf(name)) {
      if (!isListed(methodNames(), text)) {
        EXPECT_EQ(lookupMethodCycle(text), std::nullopt) << name << " -> \"" << text << '"';
      }
    }
  }
  for (const char* text : {"", "Read", "\xFF"}) {
    EXPECT_EQ(lookupMethodCycle(text), std::nullopt) << text;
  }
}

// Every byte is tried: each listed letter has its place as code, every
// other byte misses.
TEST(AddressLetterTable, EveryByteIsALetterWithItsCodeOrMisses) {
  const std::string_view letters = addressLetters();
  ASSERT_GT(letters.size(), 0u);
  for (int byte = 0; byte <= 0xFF; ++byte) {
    const char c = static_cast<char>(byte);
    const std::size_t place = letters.find(c);
    if (place == std::string_view::npos) {
      EXPECT_EQ(lookupAddressTypeCode(c), std::nullopt) << byte;
    } else {
      EXPECT_EQ(lookupAddressTypeCode(c), static_cast<std::int16_t>(place)) << c;
    }
  }
}

}  // namespace
}  // namespace marlint

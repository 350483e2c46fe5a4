#include "points/duplicate_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "points/name_arena.h"
#include "points/name_index.h"
#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

PointList listOf(const std::vector<std::string>& names) {
  PointList points;
  for (const std::string& name : names) {
    points.append(name);
  }
  return points;
}

std::string resultFor(const std::vector<std::string>& names) {
  RunState run;
  const bool failed = checkDuplicateNames(run, listOf(names));
  EXPECT_EQ(failed, !run.resultText.empty());
  return run.resultText;
}

// The plain definition: the first name, in file order, that occurs again
// anywhere in the list, with the index of its next occurrence.
std::optional<std::pair<std::size_t, std::size_t>> firstRepeatedByScan(
    const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      if (names[j] == names[i]) {
        return std::make_pair(i, j);
      }
    }
  }
  return std::nullopt;
}

void expectSameAsScan(const std::vector<std::string>& names) {
  const PointList points = listOf(names);
  const std::optional<RepeatedName> found = findEarliestRepeatedName(points);
  const auto expected = firstRepeatedByScan(names);
  ASSERT_EQ(found.has_value(), expected.has_value());
  if (found) {
    EXPECT_EQ(found->firstIndex, expected->first);
    EXPECT_EQ(found->repeatIndex, expected->second);
    EXPECT_EQ(found->name, names[expected->first]);
  }
}

TEST(CheckDuplicateNames, ReportsTheEarliestRepeatedName) {
  EXPECT_EQ(resultFor({}), "");
  EXPECT_EQ(resultFor({"Temp1", "TEMP1"}), "");
  EXPECT_EQ(resultFor({"ReadMode_1", "ReadMode_2"}), "");
  EXPECT_EQ(resultFor({"ReadMode", "ReadMode_"}), "");
  EXPECT_EQ(resultFor({"ReadMode_1", "ReadMode_1"}), "ReadMode_1 is duplicate point name.");
  EXPECT_EQ(resultFor({"P1", "P2", "P2", "P1"}), "P1 is duplicate point name.");
  EXPECT_EQ(resultFor({"P1", "P2", "P3", "P2"}), "P2 is duplicate point name.");
  EXPECT_EQ(resultFor({"A", "B", "B", "B"}), "B is duplicate point name.");
}

TEST(CheckDuplicateNames, AgreesWithThePlainScan) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 2000; ++round) {
    const std::size_t length = random() % 12;
    const std::size_t alphabet = 1 + random() % 10;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < length; ++i) {
      names.push_back("N" + std::to_string(random() % alphabet));
    }
    SCOPED_TRACE(::testing::PrintToString(names));
    expectSameAsScan(names);
    const auto expected = firstRepeatedByScan(names);
    EXPECT_EQ(resultFor(names),
              expected ? names[expected->first] + " is duplicate point name." : "");
  }
}

// Enough names to fill every bucket and many name blocks, among them names
// longer than a whole block and names with bytes a "D" suffix may hold; the
// twin of the 70000th name comes after the twin of the 90000th.
TEST(CheckDuplicateNames, FindsTheEarliestRepeatAmongManyNames) {
  std::vector<std::string> names;
  for (int i = 0; i < 100'000; ++i) {
    names.push_back("ReadMode_" + std::to_string(i));
  }
  names[5] = "ReadMode_" + std::string(3'000'000, 'x');
  names[6] = std::string("ReadMode_ \0\r\xff", 13);
  names[7] = std::string(200, 'y');
  EXPECT_EQ(findEarliestRepeatedName(listOf(names)), std::nullopt);
  names.push_back(names[90'000]);
  names.push_back(names[70'000]);
  names.push_back(std::string(200, 'y'));
  const std::optional<RepeatedName> found = findEarliestRepeatedName(listOf(names));
  ASSERT_TRUE(found);
  EXPECT_EQ(found->firstIndex, 7u);
  EXPECT_EQ(found->repeatIndex, 100'002u);
  names.pop_back();
  const PointList points = listOf(names);  // the name found is a view into it
  const std::optional<RepeatedName> later = findEarliestRepeatedName(points);
  ASSERT_TRUE(later);
  EXPECT_EQ(later->firstIndex, 70'000u);
  EXPECT_EQ(later->repeatIndex, 100'001u);
  EXPECT_EQ(later->name, "ReadMode_70000");
}

TEST(CheckDuplicateNames, RunsOnlyWhenEveryRowPassed) {
  const std::string file = std::string(kHeader) + "\n" + kDeviceRow + "\n" + kDeviceRow + "\n" +
                           withField(kSampleRow, 4, "1") + "\n";
  EXPECT_EQ(checkPointFile(file).resultText, "1 is illegal cycle.");
  const std::string sameNames =
      std::string(kHeader) + "\n" + kSampleRow + "\n" + kDeviceRow + "\n" + kSampleRow + "\n";
  EXPECT_EQ(checkPointFile(sameNames).resultText, "Temp1 is duplicate point name.");
}

TEST(NameIndex, GivesTheFirstLineOfANameSeenBefore) {
  NameIndex index;
  for (std::size_t line = 2; line < 50'002; ++line) {
    ASSERT_EQ(index.noteName("Name" + std::to_string(line), line), std::nullopt);
  }
  EXPECT_EQ(index.noteName("Name2", 60'000), 2u);
  EXPECT_EQ(index.noteName("Name2", 60'001), 2u);
  EXPECT_EQ(index.noteName("Name50001", 60'002), 50'001u);
  EXPECT_EQ(index.noteName("name2", 60'003), std::nullopt);
  EXPECT_EQ(index.noteName("name2", 60'004), 60'003u);
}

// Reading names back in order goes across block boundaries, past names too
// long for one length byte or for a block of their own, and picks up names
// appended after the cursor had read all there were.
TEST(NameArena, ReadsEveryNameBackInOrder) {
  NameArena arena;
  std::vector<std::string> appended;
  NameArena::Cursor cursor;
  std::vector<std::string> read;
  std::string_view name;
  for (std::size_t i = 0; i < 200'000; ++i) {
    std::string text = "Name" + std::to_string(i);
    if (i % 50'000 == 7) {
      text.append(i == 7 ? 300 : 2'000'000, 'x');
    }
    arena.append(text);
    appended.push_back(std::move(text));
    if (i % 70'001 == 0) {
      while (arena.readNext(cursor, name)) {
        read.emplace_back(name);
      }
    }
  }
  while (arena.readNext(cursor, name)) {
    read.emplace_back(name);
  }
  EXPECT_TRUE(read == appended);
}

// Names made to share a hash under a known seed: the first word of each
// differs, and the second cancels the difference. A file of such names
// would make the duplicate check compare every name with every other; the
// seed of a run is not known in advance, so under it they spread out. The
// first words differ only in their top byte, the case a plain
// multiply-and-xor hash keeps colliding under many seeds.
TEST(HashName, NamesMadeToCollideUnderOneSeedSpreadUnderOtherSeeds) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
  constexpr std::uint64_t kKnownSeed = kMultiplier;
  const auto collidingName = [&](std::uint64_t firstWord) {
    const std::uint64_t afterFirst = foldedProduct((16 * kMultiplier) ^ firstWord, kKnownSeed | 1);
    const std::uint64_t secondWord = afterFirst ^ 0x1234567890ABCDEFu;
    std::string name(16, '\0');
    std::memcpy(name.data(), &firstWord, 8);
    std::memcpy(name.data() + 8, &secondWord, 8);
    return name;
  };
  const std::string first = collidingName(0x3130303065646F4Du);
  const std::string second = collidingName(0x3230303065646F4Du);
  ASSERT_NE(first, second);
  ASSERT_EQ(hashName(first, kKnownSeed), hashName(second, kKnownSeed));
  std::mt19937_64 seeds(1);
  for (int i = 0; i < 1000; ++i) {
    const std::uint64_t seed = seeds();
    ASSERT_NE(hashName(first, seed), hashName(second, seed)) << "seed " << seed;
  }
  const std::uint64_t runSeed = randomHashSeed();
  EXPECT_NE(hashName(first, runSeed), hashName(second, runSeed));
}

TEST(HashName, WideProductEqualsItsPortableForm) {
  std::mt19937_64 random(7);
  std::vector<std::pair<std::uint64_t, std::uint64_t>> factors = {
      {0, 0}, {1, ~std::uint64_t{0}}, {~std::uint64_t{0}, ~std::uint64_t{0}}, {1ull << 63, 2}};
  for (int i = 0; i < 1000; ++i) {
    factors.emplace_back(random(), random());
  }
  for (const auto& [a, b] : factors) {
    ASSERT_EQ(foldedProduct(a, b), foldedProductPortable(a, b)) << a << " * " << b;
  }
}

}  // namespace
}  // namespace marlint::testing

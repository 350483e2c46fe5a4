#include "checks/duplicate_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "api/run_checks.h"
#include "checks/name_arena.h"
#include "checks/name_index.h"
#include "input/point_input.h"
#include "marlint/marlint.h"
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

// Files of tens of thousands of names of one length, with a repeat placed
// where the name store changes storage: the first key of a bucket's second
// run (8 keys, then 16, 32, ...), the last key of a full run at the end of a
// bucket, and the first name of a new name block (4 KiB, then doubling) with
// its twin the last name of the block before. The list takes a known seed so
// that buckets are known in advance; the result text, and every repeat that
// a run going on after faults reports, must match a plain hash map.
class NameStoreEdges {
 public:
  NameStoreEdges(std::uint64_t seed, std::size_t length) : seed_(seed), random_(seed) {
    const std::string method = length > 50 ? "ReadMode_" : "";
    for (std::size_t i = 0; i < kNames; ++i) {
      std::string name = method + "N" + std::to_string(i) + "Z";
      while (name.size() < length) {
        name += "abcXYZ0189"[random_() % 10];
      }
      names_.push_back(name);
    }
    const PointList points(seed_);
    for (std::size_t i = 0; i < kNames; ++i) {
      keysOfBucket_[points.bucketOf(names_[i])].push_back(i);
    }
    // Every entry is its length byte or bytes and the name; a block takes
    // the entries that fit whole.
    const std::size_t entry = length + (length < 0x80 ? 1 : 2);
    std::size_t blockSize = 4096;
    for (std::size_t first = blockSize / entry; first < kNames; first += blockSize / entry) {
      blockStarts_.push_back(first);
      blockSize = std::min<std::size_t>(2 * blockSize, std::size_t{1} << 20);
    }
  }

  std::vector<std::string> twinAcrossRuns() {
    const std::vector<std::size_t>& keys = anyBucketWithAtLeast(9);
    return withTwin(names_, keys[7], keys[8]);
  }

  std::vector<std::string> twinAcrossBlocks() {
    const std::size_t start = blockStarts_[random_() % blockStarts_.size()];
    return withTwin(names_, start - 1, start);
  }

  // The list ends with the last key of a bucket's full run: its repeat.
  std::vector<std::string> twinEndingAFullRun(std::size_t& bucket, std::size_t& keyCount) {
    for (const std::size_t fullRuns : {120, 56, 24, 8}) {
      const std::vector<std::size_t>& keys = anyBucketWithAtLeast(fullRuns);
      if (!keys.empty()) {
        bucket = PointList(seed_).bucketOf(names_[keys[0]]);
        keyCount = fullRuns;
        std::vector<std::string> names(names_.begin(), names_.begin() + keys[fullRuns - 1] + 1);
        return withTwin(names, keys[random_() % (fullRuns - 1)], keys[fullRuns - 1]);
      }
    }
    return {};
  }

  std::vector<std::string> allTwins() {
    std::vector<std::string> names = twinAcrossRuns();
    const std::size_t start = blockStarts_[random_() % blockStarts_.size()];
    names[start] = names[start - 1];
    names[names.size() - 1] = names[random_() % names.size()];
    return names;
  }

 private:
  static constexpr std::size_t kNames = 20'000;

  const std::vector<std::size_t>& anyBucketWithAtLeast(std::size_t keyCount) {
    static const std::vector<std::size_t> kNone;
    const std::size_t from = random_() % PointList::kBucketCount;
    for (std::size_t i = 0; i < PointList::kBucketCount; ++i) {
      const auto& keys = keysOfBucket_[(from + i) % PointList::kBucketCount];
      if (keys.size() >= keyCount) {
        return keys;
      }
    }
    return kNone;
  }

  static std::vector<std::string> withTwin(std::vector<std::string> names, std::size_t original,
                                           std::size_t twin) {
    names[twin] = names[original];
    return names;
  }

  std::uint64_t seed_;
  std::mt19937_64 random_;
  std::vector<std::string> names_;
  std::array<std::vector<std::size_t>, PointList::kBucketCount> keysOfBucket_;
  std::vector<std::size_t> blockStarts_;
};

std::string fileOfNames(const std::vector<std::string>& names) {
  std::string file = std::string(kHeader) + "\n";
  for (const std::string& name : names) {
    file += name.size() > 50 ? "D," + name + ",,,,,,,,,,,,\n"
                             : "C," + name + ",SAMPLE,,500,NONE,Path,,1,String,R,,100,\n";
  }
  return file;
}

// With `faultyRowAt`, a row with a bad cycle stands before the name of that
// index: a run going on after faults reads the rows before it as the plain
// run does and notes their names only there, so every repeat after it
// depends on that hand-over.
void expectRepeatsAsAHashMapFindsThem(const std::vector<std::string>& names, std::uint64_t seed,
                                      std::optional<std::size_t> faultyRowAt = std::nullopt) {
  constexpr std::size_t kFirstRowLine = 2;
  const auto lineOf = [&](std::size_t index) {
    return index + kFirstRowLine + (faultyRowAt && index >= *faultyRowAt ? 1 : 0);
  };
  std::unordered_map<std::string, std::size_t> firstIndex;
  std::optional<std::size_t> earliest;
  std::vector<std::pair<std::size_t, std::size_t>> repeats;  // line, first line
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (faultyRowAt == i) {
      repeats.emplace_back(lineOf(i) - 1, 0);
    }
    const auto [seen, isNew] = firstIndex.emplace(names[i], i);
    if (!isNew) {
      repeats.emplace_back(lineOf(i), lineOf(seen->second));
      earliest = std::min(earliest.value_or(seen->second), seen->second);
    }
  }
  ASSERT_TRUE(earliest);
  std::string file = fileOfNames(names);
  if (faultyRowAt) {
    std::size_t at = 0;
    for (std::size_t line = 0; line < *faultyRowAt + 1; ++line) {
      at = file.find('\n', at) + 1;
    }
    file.insert(at, "C,FaultyRow,SAMPLE,,1,NONE,Path,,1,String,R,,100,\n");
  }
  RunState run;
  PointInput input(file);
  ControllerConfig config;
  PointList points(seed);
  EXPECT_TRUE(runChecksOn(run, input, config, points));
  EXPECT_EQ(run.resultText,
            faultyRowAt ? "1 is illegal cycle." : names[*earliest] + " is duplicate point name.");

  CheckOptions everyFault;
  everyFault.scope = Scope::kEveryFault;
  std::vector<std::pair<std::size_t, std::size_t>> reported;
  for (const Fault& fault : checkBytes(file, everyFault).faults) {
    reported.emplace_back(fault.line, fault.firstLine);
  }
  EXPECT_EQ(reported, repeats);
  if (!faultyRowAt) {
    expectRepeatsAsAHashMapFindsThem(names, seed, names.size() * 3 / 4);
  }
}

TEST(CheckDuplicateNames, FindsRepeatsAtTheEdgesOfTheNameStore) {
  // Names of 140 bytes are "D" names, with two length bytes each.
  const std::pair<std::uint64_t, std::size_t> seedsAndLengths[] = {{1, 8}, {2, 50}, {3, 140}};
  for (const auto& [seed, length] : seedsAndLengths) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", names of " + std::to_string(length));
    NameStoreEdges edges(seed, length);
    expectRepeatsAsAHashMapFindsThem(edges.twinAcrossRuns(), seed);
    expectRepeatsAsAHashMapFindsThem(edges.twinAcrossBlocks(), seed);
    std::size_t bucket = 0;
    std::size_t keyCount = 0;
    const std::vector<std::string> endingAFullRun = edges.twinEndingAFullRun(bucket, keyCount);
    PointList points(seed);
    for (const std::string& name : endingAFullRun) {
      points.append(name);
    }
    ASSERT_EQ(points.bucketSize(bucket), keyCount);
    expectRepeatsAsAHashMapFindsThem(endingAFullRun, seed);
    expectRepeatsAsAHashMapFindsThem(edges.allTwins(), seed);
  }
}

TEST(CheckDuplicateNames, RunsOnlyWhenEveryRowPassed) {
  const std::string file = std::string(kHeader) + "\n" + kDeviceRow + "\n" + kDeviceRow + "\n" +
                           withField(kSampleRow, 4, "1") + "\n";
  EXPECT_EQ(checkPointFile(file).resultText, "1 is illegal cycle.");
  const std::string sameNames =
      std::string(kHeader) + "\n" + kSampleRow + "\n" + kDeviceRow + "\n" + kSampleRow + "\n";
  EXPECT_EQ(checkPointFile(sameNames).resultText, "Temp1 is duplicate point name.");
}

// Names, long ones and ones with NUL bytes among them, are found again after
// the table has grown many times; lines beyond 32 bits are kept whole.
TEST(NameIndex, GivesTheFirstLineOfANameSeenBefore) {
  NameIndex index;
  const std::string longName(300, 'y');
  const std::string withNul("ReadMode_\0\xff", 11);
  EXPECT_EQ(index.noteName(longName, 7'000'000'000), std::nullopt);
  EXPECT_EQ(index.noteName(withNul, 1), std::nullopt);
  for (std::size_t line = 2; line < 50'002; ++line) {
    ASSERT_EQ(index.noteName("Name" + std::to_string(line), line), std::nullopt);
  }
  EXPECT_EQ(index.noteName(longName, 60'005), 7'000'000'000u);
  EXPECT_EQ(index.noteName(withNul, 60'006), 1u);
  EXPECT_EQ(index.noteName(std::string("ReadMode_\0\xfe", 11), 60'007), std::nullopt);
  EXPECT_EQ(index.noteName("Name2", 60'000), 2u);
  EXPECT_EQ(index.noteName("Name2", 60'001), 2u);
  EXPECT_EQ(index.noteName("Name50001", 60'002), 50'001u);
  EXPECT_EQ(index.noteName("name2", 60'003), std::nullopt);
  EXPECT_EQ(index.noteName("name2", 60'004), 60'003u);
}

// Reading names back in order goes across block boundaries, past names of
// every short length (each copied its own way), names too long for one
// length byte or for a block of their own, and picks up names appended
// after the cursor had read all there were.
TEST(NameArena, ReadsEveryNameBackInOrder) {
  NameArena arena;
  std::vector<std::string> appended;
  NameArena::Cursor cursor;
  std::vector<std::string> read;
  std::string_view name;
  for (std::size_t length = 0; length <= 130; ++length) {
    std::string text;
    for (std::size_t at = 0; at < length; ++at) {
      text.push_back(static_cast<char>('!' + (length + 7 * at) % 90));
    }
    arena.append(text);
    appended.push_back(std::move(text));
  }
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

#include "points/duplicate_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

PointList listOf(const std::vector<std::string>& names) {
  PointList points;
  for (const std::string& name : names) {
    PointRecord record;
    record.name = name;
    points.append(record);
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
// anywhere in the list.
std::optional<std::string> firstRepeatedByScan(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    int count = 0;
    for (const std::string& other : names) {
      if (other == name && ++count > 1) {
        return name;
      }
    }
  }
  return std::nullopt;
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
    const std::optional<std::string> expected = firstRepeatedByScan(names);
    EXPECT_EQ(resultFor(names), expected ? *expected + " is duplicate point name." : "")
        << ::testing::PrintToString(names);
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

}  // namespace
}  // namespace marlint::testing

#include "checks/position_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

// A row of the given data type on a path that allows it, with `startAddress`.
std::string rowWithStartAddress(int dataType, const std::string& startAddress) {
  const std::string row = dataType <= 4 ? kCncSampleRow : kSampleRow;
  const std::string withType = withField(row, 8, std::to_string(dataType));
  const std::string withBit = withField(withType, 13, dataType == 7 ? "0" : "");
  return withField(withBit, 12, startAddress);
}

TEST(CheckStartAddress, RangeOfEachDataType) {
  const struct {
    int dataType;
    std::string text;
    bool accepted;
    std::int32_t startAddress;
  } cases[] = {
      {1, "100", true, 100},
      {1, "199", true, 199},
      {1, "99", false, 0},
      {1, "200", false, 0},
      {1, "", false, 0},
      {2, "500", true, 500},
      {2, "999", true, 999},
      {2, "499", false, 0},
      {2, "1000", false, 0},
      {3, "1", true, 1},
      {3, "33", true, 33},
      {3, "0", false, 0},
      {3, "34", false, 0},
      {4, "", true, -1},
      {4, "0", false, 0},
      {4, "1", false, 0},
      {5, "0", true, 0},
      {6, "59999", true, 59999},
      {7, "", true, 0},
      {8, "0100", true, 100},
      {8, "60000", false, 0},
      {8, "+1", false, 0},
      {8, "-1", false, 0},
      {8, " 1", false, 0},
      {8, "1 ", false, 0},
      {8, "12a", false, 0},
      {8, "4294967296", false, 0},
      {8, "4294967295", false, 0},
      {1, "4294967396", false, 0},
      {5, "000000000000000000000000000012", true, 12},
  };
  for (const auto& [dataType, text, accepted, startAddress] : cases) {
    SCOPED_TRACE("data type " + std::to_string(dataType) + " with [" + text + "]");
    const CheckOutcome outcome = checkRow(rowWithStartAddress(dataType, text));
    if (accepted) {
      ASSERT_EQ(outcome.resultText, "OK");
      EXPECT_EQ(outcome.record.startAddress, startAddress);
    } else {
      EXPECT_EQ(outcome.resultText, text + " is illegal start address.");
    }
  }
}

TEST(CheckBitPos, OnlyDataTypeSevenHasBits) {
  const struct {
    const char* row;
    std::string text;
    bool accepted;
    std::int32_t bitPos;
  } cases[] = {
      // kBitSampleRow has data type 7, kSampleRow data type 6.
      {kBitSampleRow, "0", true, 0},
      {kBitSampleRow, "7", true, 7},
      {kBitSampleRow, "07", true, 7},
      {kBitSampleRow, "8", false, 0},
      {kBitSampleRow, "-1", false, 0},
      {kBitSampleRow, "", false, 0},
      {kBitSampleRow, " 1", false, 0},
      {kBitSampleRow, "12345678901", false, 0},
      {kBitSampleRow, "4294967296", false, 0},
      {kSampleRow, "", true, 0},
      {kSampleRow, "0", false, 0},
      {kCncSampleRow, "", true, 0},
      {kCncSampleRow, "1", false, 0},
  };
  for (const auto& [row, text, accepted, bitPos] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    const CheckOutcome outcome = checkRow(withField(row, 13, text));
    if (accepted) {
      ASSERT_EQ(outcome.resultText, "OK");
      EXPECT_EQ(outcome.record.bitPos, bitPos);
    } else {
      EXPECT_EQ(outcome.resultText, text + " is illegal bit pos.");
    }
  }
}

}  // namespace
}  // namespace marlint::testing

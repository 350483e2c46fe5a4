#include "checks/address_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

TEST(CheckAccessType, ExactlyCapitalR) {
  const struct {
    const char* row;
    std::string text;
    std::string resultText;
  } cases[] = {
      {kEventRow, "R", "OK"},
      {kEventRow, "r", "r is illegal access type."},
      {kEventRow, "RW", "RW is illegal access type."},
      {kEventRow, " R", " R is illegal access type."},
      {kEventRow, "R ", "R  is illegal access type."},
      {kEventRow, "", " is illegal access type."},
      {kSampleRow, "W", "W is illegal access type."},
      {kConstantEventRow, "", "OK"},
      {kConstantEventRow, "R", "R is illegal access type."},
      {kConditionRow, "R", "R is illegal access type."},
  };
  for (const auto& [row, text, resultText] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    EXPECT_EQ(checkRow(withField(row, 10, text)).resultText, resultText);
  }
  EXPECT_EQ(checkRow(kEventRow).record.accessType, 'R');
  EXPECT_EQ(checkRow(kConstantEventRow).record.accessType, '-');
}

TEST(CheckAddressType, LettersOnlyForPmcDataTypes) {
  const struct {
    const char* row;
    std::string text;
    std::string resultText;
    std::int16_t addressType;
  } cases[] = {
      // kCncSampleRow has data type 1, kSampleRow data type 6.
      {kCncSampleRow, "", "OK", 45},
      {kCncSampleRow, "R", "R is illegal address type.", 0},
      {kCncSampleRow, " ", "  is illegal address type.", 0},
      {kSampleRow, "D", "OK", 9},
      {kSampleRow, "Z", "OK", 13},
      {kSampleRow, "G", "OK", 0},
      {kSampleRow, "R", "OK", 5},
      {kSampleRow, "", "OK", 45},
      {kSampleRow, "RR", "OK", 45},
      {kSampleRow, "Q", "Q is illegal address type.", 0},
      {kSampleRow, "d", "d is illegal address type.", 0},
      {kSampleRow, "1", "1 is illegal address type.", 0},
      {kSampleRow, " ", "  is illegal address type.", 0},
      {kConditionRow, "D", "D is illegal address type.", 0},
  };
  for (const auto& [row, text, resultText, addressType] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    const CheckOutcome outcome = checkRow(withField(row, 11, text));
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.addressType, addressType);
    }
  }
}

}  // namespace
}  // namespace marlint::testing

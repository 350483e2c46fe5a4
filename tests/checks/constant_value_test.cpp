#include "checks/constant_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

using Values = std::vector<std::string>;

struct ConstantCase {
  const char* row;
  std::string text;
  bool accepted;
  Values values;
};

TEST(CheckConstantValue, ByPointType) {
  const std::string tenCodes = "1000 1001 1002 1003 1004 1005 1006 1007 1008 1009";
  const std::string elevenSame = "1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000";
  const ConstantCase cases[] = {
      {kEventRow, "", true, {}},
      {kConstantEventRow, "ABCDE12345", true, {"ABCDE12345"}},
      {kConstantEventRow, "ABCDE123456", false, {}},
      {kConstantEventRow, "-", false, {}},
      {kConstantEventRow, "AB_1", false, {}},
      {kConstantEventRow, "A B", false, {}},
      {kConstantEventRow, "Ab\xC3\xA4", false, {}},
      {kSampleRow, "", true, {}},
      {kSampleRow, "1000", false, {}},
      {kSampleRow, " ", false, {}},
      {kConditionRow, "", false, {}},
      {kConditionRow, "1000", true, {"1000"}},
      {kConditionRow, "1000 2999", true, {"1000", "2999"}},
      {kConditionRow, "1999 2000", true, {"1999", "2000"}},
      {kConditionRow, "1000 2000 1000", true, {"1000", "2000"}},
      {kConditionRow, "01000", true, {"01000"}},
      {kConditionRow, "1500A", true, {"1500A"}},
      {kConditionRow, tenCodes, true,
       Values{"1000", "1001", "1002", "1003", "1004", "1005", "1006", "1007", "1008", "1009"}},
      {kConditionRow, tenCodes + " 1010", false, {}},
      {kConditionRow, elevenSame, false, {}},
      {kConditionRow, "0999", false, {}},
      {kConditionRow, "3000", false, {}},
      {kConditionRow, "ABC", false, {}},
      {kConditionRow, "A1500", false, {}},
      {kConditionRow, "1000  2000", false, {}},
      {kConditionRow, " 1000", false, {}},
      {kConditionRow, "1000 ", false, {}},
      {kConditionRow, "1000 +2000", false, {}},
      {kConditionRow, "99999999999", false, {}},
      {kConditionRow, "4294968296", false, {}},
  };
  for (const auto& [row, text, accepted, values] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    const CheckOutcome outcome = checkRow(withField(row, 3, text));
    if (accepted) {
      ASSERT_EQ(outcome.resultText, "OK");
      EXPECT_EQ(std::vector<std::string>(outcome.record.constantValues.begin(),
                                         outcome.record.constantValues.end()),
                values);
    } else {
      EXPECT_EQ(outcome.resultText, "Illegal constant value.");
    }
  }
}

}  // namespace
}  // namespace marlint::testing

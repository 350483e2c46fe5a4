#include "checks/identity_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

struct RowCase {
  std::string row;
  std::string resultText;
};

void expectResults(const std::vector<RowCase>& cases) {
  for (const auto& [row, resultText] : cases) {
    SCOPED_TRACE(row);
    EXPECT_EQ(checkRow(row).resultText, resultText);
  }
}

TEST(CheckPointKind, OnlyUpperCaseDOrC) {
  expectResults({
      {withField(kSampleRow, 0, ""), " is illegal point kind."},
      {withField(kSampleRow, 0, "c"), "c is illegal point kind."},
      {withField(kDeviceRow, 0, "d"), "d is illegal point kind."},
      {withField(kSampleRow, 0, "CC"), "CC is illegal point kind."},
      {withField(kSampleRow, 0, "Device"), "Device is illegal point kind."},
      {withField(kSampleRow, 0, "C "), "C  is illegal point kind."},
      {kSampleRow, "OK"},
      {kDeviceRow, "OK"},
  });
}

TEST(CheckPointName, ConfiguredPointNames) {
  const std::string fiftyLetters(50, 'a');
  expectResults({
      {withField(kSampleRow, 1, fiftyLetters), "OK"},
      {withField(kSampleRow, 1, "T"), "OK"},
      {withField(kSampleRow, 1, "temp1A"), "OK"},
      {withField(kSampleRow, 1, fiftyLetters + "b"), "Illegal point name."},
      {withField(kSampleRow, 1, "1Temp"), "Illegal point name."},
      {withField(kSampleRow, 1, "Temp_1"), "Illegal point name."},
      {withField(kSampleRow, 1, "Temp-1"), "Illegal point name."},
      {withField(kSampleRow, 1, "Temp 1"), "Illegal point name."},
      {withField(kSampleRow, 1, ""), "Illegal point name."},
      {withField(kSampleRow, 1, "Temp\xC3\xA4"), "Illegal point name."},
      {withField(kSampleRow, 1, "\xC3\x84pfel"), "Illegal point name."},
      // A method name is no special name for a "C" row.
      {withField(kSampleRow, 1, "ReadMode_1"), "Illegal point name."},
  });
}

TEST(CheckPointName, DevicePointNamesAndTheirPathNumbers) {
  const struct {
    std::string name;
    std::string resultText;
    std::int32_t pathNumber;
  } cases[] = {
      {"ReadMode", "OK", 0},
      {"ReadMode_1", "OK", 1},
      {"ReadMode_", "OK", 0},
      {"ReadMode_x y", "OK", 0},
      {"ReadMode_-3", "OK", -3},
      {"ReadMode_ 7", "OK", 7},
      {"ReadMode_99999999999", "OK", 2147483647},
      {"ReadMode_" + std::string(40, '0') + "2", "OK", 2},
      {"ReadMode_-" + std::string(40, '0') + "2147483648x", "OK", -2147483647 - 1},
      {"DynamicCurrentSequenceNumber_10", "OK", 10},
      {"readmode_1", "Illegal point name.", 0},
      {"ReadMode1", "Illegal point name.", 0},
      {"ReadMode_1_2", "Illegal point name.", 0},
      {"_1", "Illegal point name.", 0},
      {"", "Illegal point name.", 0},
      {"Temp1", "Illegal point name.", 0},
  };
  for (const auto& [name, resultText, pathNumber] : cases) {
    SCOPED_TRACE(name);
    const CheckOutcome outcome = checkRow(withField(kDeviceRow, 1, name));
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.name, name);
      EXPECT_EQ(outcome.record.pathNumber, pathNumber);
    }
  }
}

TEST(CheckPointType, ExactKeywords) {
  const struct {
    std::string text;
    std::string resultText;
  } cases[] = {
      {"event", "event is illegal point type."},
      {"Event", "Event is illegal point type."},
      {"EVENT ", "EVENT  is illegal point type."},
      {" SAMPLE", " SAMPLE is illegal point type."},
      {"", " is illegal point type."},
  };
  for (const auto& [text, resultText] : cases) {
    EXPECT_EQ(checkRow(withField(kSampleRow, 2, text)).resultText, resultText);
  }
  EXPECT_EQ(checkRow(kEventRow).record.pointType, 1);
  EXPECT_EQ(checkRow(kSampleRow).record.pointType, 2);
  EXPECT_EQ(checkRow(kConditionRow).record.pointType, 3);
  // Field 2 of a "D" row is never read.
  EXPECT_EQ(checkRow(withField(kDeviceRow, 2, "SAMPEL")).resultText, "OK");
}

TEST(MethodNameOf, PartBeforeTheLastUnderscore) {
  EXPECT_EQ(methodNameOf("ReadMode"), "ReadMode");
  EXPECT_EQ(methodNameOf("ReadMode_1"), "ReadMode");
  EXPECT_EQ(methodNameOf("ReadMode_1_2"), "ReadMode_1");
  EXPECT_EQ(methodNameOf("_1"), "");
  EXPECT_EQ(methodNameOf(""), "");
}

}  // namespace
}  // namespace marlint::testing

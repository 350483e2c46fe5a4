#include "checks/data_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

struct PathCase {
  const char* header;
  std::string dataPath;
  std::string dataType;
  std::string resultText;
  std::int32_t pathKind;
  std::int32_t pathNumber;
};

TEST(CheckDataPath, NamesFromTheHeader) {
  const PathCase cases[] = {
      {"2,3,False", "", "1", "OK", 1, 1},
      {"2,3,False", "CNC path 3", "1", "OK", 1, 3},
      {"2,3,False", "PMC path 2", "5", "OK", 2, 2},
      {"1,1,False", "DCS path 9", "8", "OK", 2, 9},
      {"5,10,True", "CNC path 10", "1", "OK", 1, 10},
      {"5,10,True", "PMC path 5", "6", "OK", 2, 5},
      {"1,1,True", "CNC path 2", "1", "CNC path 2 is illegal data path.", 0, 0},
      {"1,1,True", "PMC path 2", "5", "PMC path 2 is illegal data path.", 0, 0},
      {"1,1,True", "cnc path 1", "1", "cnc path 1 is illegal data path.", 0, 0},
      {"1,1,True", "CNC path 01", "1", "CNC path 01 is illegal data path.", 0, 0},
      {"1,1,True", "CNC  path 1", "1", "CNC  path 1 is illegal data path.", 0, 0},
      {"1,1,True", "CNC path 1 ", "1", "CNC path 1  is illegal data path.", 0, 0},
      {"1,1,True", "DCS path 8", "5", "DCS path 8 is illegal data path.", 0, 0},
      {"1,1,True", "Path", "1", "Path is illegal data path.", 0, 0},
  };
  for (const auto& [header, dataPath, dataType, resultText, pathKind, pathNumber] : cases) {
    SCOPED_TRACE(std::string(header) + " with [" + dataPath + "]");
    // A CNC row needs no address type; a PMC row may leave it empty.
    const std::string row = withField(withField(withField(kCncSampleRow, 7, dataPath), 8, dataType),
                                      12, dataType == "1" ? "100" : "0");
    const CheckOutcome outcome = checkRowUnder(header, row);
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.pathKind, pathKind);
      EXPECT_EQ(outcome.record.pathNumber, pathNumber);
    }
  }
}

TEST(CheckDataType, RangeDependsOnThePathKind) {
  const struct {
    const char* row;
    std::string text;
    std::string resultText;
    std::int32_t dataType;
  } cases[] = {
      {kCncSampleRow, "1", "OK", 1},
      {kCncSampleRow, " 1", "OK", 1},
      {kCncSampleRow, "1a", "OK", 1},
      {kCncSampleRow, "0", "0 is illegal data type.", 0},
      {kCncSampleRow, "5", "5 is illegal data type.", 0},
      {kCncSampleRow, "", " is illegal data type.", 0},
      {kCncSampleRow, "4294967297", "4294967297 is illegal data type.", 0},
      {kSampleRow, "5", "OK", 5},
      {kSampleRow, "8", "OK", 8},
      {kSampleRow, "4", "4 is illegal data type.", 0},
      {kSampleRow, "9", "9 is illegal data type.", 0},
      {kSampleRow, "-6", "-6 is illegal data type.", 0},
  };
  for (const auto& [row, text, resultText, dataType] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    // Start address 100 is acceptable for data types 1 and 5 to 8.
    const CheckOutcome outcome = checkRow(withField(withField(row, 8, text), 11, ""));
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.dataType, dataType);
    }
  }
}

TEST(CheckReturnType, ExactlyString) {
  const struct {
    std::string text;
    std::string resultText;
  } cases[] = {
      {"String", "OK"},
      {"string", "string is illegal return type."},
      {"String ", "String  is illegal return type."},
      {"", " is illegal return type."},
  };
  for (const auto& [text, resultText] : cases) {
    EXPECT_EQ(checkRow(withField(kSampleRow, 9, text)).resultText, resultText);
  }
  EXPECT_EQ(checkRow(kSampleRow).record.returnType, "String");
}

// A point with constant values keeps all seven data columns empty.
TEST(ConstantPointGate, ConstantPointsLeaveDataColumnsEmpty) {
  const char* suffixes[] = {" is illegal data path.",    " is illegal data type.",
                            " is illegal return type.",  " is illegal access type.",
                            " is illegal address type.", " is illegal start address.",
                            " is illegal bit pos."};
  const char* texts[] = {"CNC path 1", "1", "String", "R", "D", "100", "0"};
  for (const char* row : {kConstantEventRow, kConditionRow}) {
    for (std::size_t column = 0; column < 7; ++column) {
      SCOPED_TRACE(std::string(row) + " column " + std::to_string(7 + column));
      EXPECT_EQ(checkRow(withField(row, 7 + column, texts[column])).resultText,
                std::string(texts[column]) + suffixes[column]);
    }
    const CheckOutcome outcome = checkRow(row);
    ASSERT_EQ(outcome.resultText, "OK");
    const PointRecord& record = outcome.record;
    EXPECT_EQ(record.pathKind, 1);
    EXPECT_EQ(record.pathNumber, 1);
    EXPECT_EQ(record.dataType, 0);
    EXPECT_EQ(record.returnType, "");
    EXPECT_EQ(record.accessType, '-');
    EXPECT_EQ(record.addressType, 45);
    EXPECT_EQ(record.startAddress, -1);
    EXPECT_EQ(record.bitPos, -1);
  }
}

TEST(ConstantPointGate, Outcomes) {
  PointRecord sample;
  sample.pointType = 2;
  EXPECT_EQ(constantPointGate(sample, "x"), GateOutcome::kApplyOwnRule);
  EXPECT_EQ(constantPointGate(sample, ""), GateOutcome::kApplyOwnRule);

  PointRecord event;
  event.pointType = 1;
  EXPECT_EQ(constantPointGate(event, "x"), GateOutcome::kApplyOwnRule);
  event.constantValues = {"RUN"};
  EXPECT_EQ(constantPointGate(event, "x"), GateOutcome::kReject);
  EXPECT_EQ(constantPointGate(event, ""), GateOutcome::kSkipOwnRule);

  PointRecord condition;
  condition.pointType = 3;
  condition.constantValues = {"1000"};
  EXPECT_EQ(constantPointGate(condition, " "), GateOutcome::kReject);
  EXPECT_EQ(constantPointGate(condition, ""), GateOutcome::kSkipOwnRule);
}

}  // namespace
}  // namespace marlint::testing

#include "checks/point_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "api/run_checks.h"
#include "tests/support/failing_stream.h"
#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

TEST(ReadPointRows, HeaderOnlyFileHasNoRows) {
  for (const char* file : {"2,3,False", "2,3,False\n", "2,3,False\r\n"}) {
    const CheckOutcome outcome = checkPointFile(file);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.resultText, "OK");
    EXPECT_TRUE(outcome.points.empty());
  }
}

TEST(ReadPointRows, EveryRowUpToTheLastIsAccepted) {
  const std::string file = std::string(kHeader) + "\n" + kSampleRow + "\n" + kDeviceRow + "\n" +
                           kConditionRow;  // the last row has no line feed
  const CheckOutcome outcome = checkPointFile(file);
  EXPECT_EQ(outcome.resultText, "OK");
  EXPECT_EQ(outcome.points.size(), 3u);
}

TEST(ReadPointRows, EmptyLineEndsTheRows) {
  const std::string file = std::string(kHeader) + "\n" + kSampleRow + "\n\nrubbish\n" + kSampleRow;
  const CheckOutcome outcome = checkPointFile(file);
  EXPECT_FALSE(outcome.failed);
  EXPECT_EQ(outcome.resultText, "OK");
  EXPECT_EQ(outcome.points.size(), 1u);
}

TEST(ReadPointRows, CrLfFileGivesTheSameResultsAsLf) {
  const std::string lf = std::string(kHeader) + "\n" + kSampleRow + "\n" + kDeviceRow + "\n";
  const std::string crlf =
      std::string(kHeader) + "\r\n" + kSampleRow + "\r\n" + kDeviceRow + "\r\n\r\n";
  EXPECT_EQ(checkPointFile(lf).resultText, "OK");
  EXPECT_EQ(checkPointFile(crlf).resultText, "OK");
  EXPECT_EQ(checkPointFile(crlf).points.size(), 2u);
}

// A file that cannot be read to its end must not pass as "OK".
TEST(ReadPointRows, ReadErrorMidFileIsAFault) {
  const std::string rows = std::string(kHeader) + "\n" + kSampleRow + "\n";
  RunState run;
  ControllerConfig config;
  PointList points;
  PointInput input(openFailingStream(rows), true);
  EXPECT_TRUE(runChecksOn(run, input, config, points));
  EXPECT_EQ(run.resultText, " is illegal format.");
  EXPECT_EQ(points.size(), 1u);
}

TEST(ReadPointRows, WrongFieldCountNamesTheWholeLine) {
  const std::string thirteen = "C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100";
  const std::string fifteen = std::string(kSampleRow) + ",";
  for (const std::string& row : {thirteen, fifteen, std::string("   "), std::string("D")}) {
    EXPECT_EQ(checkRow(row).resultText, row + " is illegal format.");
  }
}

TEST(ReadPointRows, OnlyTheFirstFaultIsReported) {
  // The point type is checked before the cycle, and the first bad row ends the run.
  const std::string badTypeAndCycle = withField(withField(kSampleRow, 2, "Sample"), 4, "1");
  const std::string file = std::string(kHeader) + "\n" + badTypeAndCycle + "\n" + "x\n";
  const CheckOutcome outcome = checkPointFile(file);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.resultText, "Sample is illegal point type.");
  EXPECT_TRUE(outcome.points.empty());
}

TEST(CheckCycle, RangeAndLenientNumbers) {
  const struct {
    std::string text;
    std::string resultText;
    std::int32_t cycle;
  } cases[] = {
      {"100", "OK", 100},
      {"10000", "OK", 10000},
      {" 250", "OK", 250},
      {"250ms", "OK", 250},
      {"+300", "OK", 300},
      {"99", "99 is illegal cycle.", -1},
      {"10001", "10001 is illegal cycle.", -1},
      {"0", "0 is illegal cycle.", -1},
      {"abc", "abc is illegal cycle.", -1},
      {"", " is illegal cycle.", -1},
      {"-500", "-500 is illegal cycle.", -1},
      {"4294967796", "4294967796 is illegal cycle.", -1},
  };
  for (const auto& [text, resultText, cycle] : cases) {
    SCOPED_TRACE(text);
    const CheckOutcome outcome = checkRow(withField(kSampleRow, 4, text));
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.cycle, cycle);
    }
  }
}

TEST(ReadPointRows, DeviceRowIsItsNameOnly) {
  const std::string row =
      "D,ReadNumberOfPaths_2,nonsense,x,1,furlong,Nowhere,Moon path 7,99,int,W,Q,-1,9";
  const CheckOutcome outcome = checkRow(row);
  ASSERT_EQ(outcome.resultText, "OK");
  const PointRecord& record = outcome.record;
  EXPECT_EQ(record.kind, 'D');
  EXPECT_EQ(record.name, "ReadNumberOfPaths_2");
  EXPECT_EQ(record.cycle, 10000);
  EXPECT_EQ(record.pathNumber, 2);
  // Everything else keeps the defaults of a fresh record.
  EXPECT_EQ(record.pointType, 0);
  EXPECT_TRUE(record.constantValues.empty());
  EXPECT_EQ(record.unit, 0);
  EXPECT_EQ(record.xmlLocation, "");
  EXPECT_EQ(record.pathKind, 0);
  EXPECT_EQ(record.dataType, 0);
  EXPECT_EQ(record.returnType, "");
  EXPECT_EQ(record.accessType, '-');
  EXPECT_EQ(record.addressType, 45);
  EXPECT_EQ(record.startAddress, -1);
  EXPECT_EQ(record.bitPos, -1);
}

// The road of one file: every column of a PMC sample point is decoded.
TEST(ReadPointRows, SamplePointRecord) {
  const CheckOutcome outcome = checkRow(kSampleRow);
  ASSERT_EQ(outcome.resultText, "OK");
  const PointRecord& record = outcome.record;
  EXPECT_EQ(record.kind, 'C');
  EXPECT_EQ(record.pointType, 2);
  EXPECT_EQ(record.cycle, 500);
  EXPECT_EQ(record.unit, 15);
  EXPECT_EQ(record.xmlLocation, "Path");
  EXPECT_EQ(record.pathKind, 2);
  EXPECT_EQ(record.pathNumber, 2);
  EXPECT_EQ(record.dataType, 6);
  EXPECT_EQ(record.returnType, "String");
  EXPECT_EQ(record.accessType, 'R');
  EXPECT_EQ(record.addressType, 9);
  EXPECT_EQ(record.startAddress, 100);
  EXPECT_EQ(record.bitPos, 0);
}

}  // namespace
}  // namespace marlint::testing

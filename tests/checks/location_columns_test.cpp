#include "checks/location_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

TEST(CheckUnit, SamplePointsNameAUnitOthersNone) {
  const struct {
    const char* row;
    std::string text;
    std::string resultText;
    std::int32_t unit;
  } cases[] = {
      {kSampleRow, "MILLIMETER", "OK", 15},
      {kSampleRow, "NONE", "OK", 1},
      {kSampleRow, "DEGREE / SECONDA^2", "OK", 8},
      {kSampleRow, "WATT_SECOND", "OK", 32},
      {kSampleRow, "", " is illegal unit.", 0},
      {kSampleRow, "millimeter", "millimeter is illegal unit.", 0},
      {kSampleRow, "MILLIMETER/SECOND", "MILLIMETER/SECOND is illegal unit.", 0},
      {kSampleRow, "MILLIMETER ", "MILLIMETER  is illegal unit.", 0},
      {kEventRow, "", "OK", 0},
      {kEventRow, "NONE", "NONE is illegal unit.", 0},
      {kConditionRow, "", "OK", 0},
      {kConditionRow, "PERCENT", "PERCENT is illegal unit.", 0},
      {kConditionRow, " ", "  is illegal unit.", 0},
  };
  for (const auto& [row, text, resultText, unit] : cases) {
    SCOPED_TRACE(std::string(row) + " with [" + text + "]");
    const CheckOutcome outcome = checkRow(withField(row, 5, text));
    EXPECT_EQ(outcome.resultText, resultText);
    if (resultText == "OK") {
      EXPECT_EQ(outcome.record.unit, unit);
    }
  }
}

// The header gives the number of CNC paths, and so the "Path" names.
TEST(CheckXmlLocation, NamesFollowTheCncPathCount) {
  const struct {
    const char* header;
    std::string text;
    bool accepted;
  } cases[] = {
      {"1,1,True", "Device", true},    {"1,1,True", "Controller", true},
      {"1,1,True", "Path", true},      {"1,1,True", "Path1", false},
      {"1,1,True", "Path2", false},    {"1,3,False", "Path2", true},
      {"1,3,False", "Path3", true},    {"1,3,False", "Path4", false},
      {"1,3,False", "Path 2", false},  {"1,10,False", "Path10", true},
      {"1,10,False", "Path11", false}, {"1,1,True", "device", false},
      {"1,1,True", " Device", false},  {"1,1,True", "Device ", false},
      {"1,1,True", "", false},         {"1,1,True", "CNC path 1", false},
  };
  for (const auto& [header, text, accepted] : cases) {
    SCOPED_TRACE(std::string(header) + " with [" + text + "]");
    const std::string row = withField(kConstantEventRow, 6, text);
    const CheckOutcome outcome = checkRowUnder(header, row);
    if (accepted) {
      ASSERT_EQ(outcome.resultText, "OK");
      EXPECT_EQ(outcome.record.xmlLocation, text);
    } else {
      EXPECT_EQ(outcome.resultText, text + " is illegal XML location.");
    }
  }
}

// Names derived for one run do not leak into the next.
TEST(CheckXmlLocation, EachRunStartsFromTheFixedNames) {
  const std::string row = withField(kConstantEventRow, 6, "Path5");
  EXPECT_EQ(checkPointFile("1,5,True\n" + row).resultText, "OK");
  EXPECT_EQ(checkPointFile("1,1,True\n" + row).resultText, "Path5 is illegal XML location.");
}

}  // namespace
}  // namespace marlint::testing

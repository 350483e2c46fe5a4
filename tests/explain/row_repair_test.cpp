#include "explain/row_repair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/header_line.h"
#include "tests/support/point_file.h"

// Rows with one field too many or too few, and the one edit that makes each
// of their columns check; where no edit or several do, what is said.

namespace marlint::testing {
namespace {

struct RepairCase {
  std::string name;
  std::string row;
  std::string sentence;    // what the detail gains, "" for nothing
  std::string suggestion;  // the repaired row, "" for none
};

const RepairCase kRepairCases[] = {
    {"ThousandsSeparatorInTheCycle", "C,T1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,100,",
     "; the cycle seems written as \"1,000\": write \"1000\"",
     "C,T1,SAMPLE,,1000,CELSIUS,Path,,1,String,R,,100,"},
    {"ConditionCodesSeparatedByAComma", withField(kConditionRow, 3, "1000,1001"),
     "; the constant value seems written as \"1000,1001\": write \"1000 1001\"",
     withField(kConditionRow, 3, "1000 1001")},
    {"ACommaAtTheEnd", std::string(kSampleRow) + ",",
     "; the row ends in a comma too many: remove it", kSampleRow},
    {"AMissingEmptyField", "C,Temp1,SAMPLE,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100,",
     "; a field is missing between the point type and the cycle: the constant value, empty here",
     kSampleRow},
    {"TheLastFieldMissing", "C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100",
     "; a field is missing after the start address: the bit position, empty here", kSampleRow},
    // Without an edit that makes the row check: where its fields stop
    // checking, or how many are missing or too many.
    {"NoEmptyFieldMakesItCheck", "C,Door1,SAMPLE,,500,NONE,Device,PMC path 1,7,String,R,X,10",
     "; its 13 fields check as the first 13 columns, so the last 1 is missing", ""},
    {"TwoFieldsTooMany", std::string(kSampleRow) + ",,",
     "; its first 14 fields check, so the 2 after them are too many", ""},
    {"OneFieldTooManyAtTheEnd", std::string(kSampleRow) + ",x",
     "; its first 14 fields check, so the field after them is one too many", ""},
    {"NoEditMakesItCheck", "C,T1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,x,",
     "; no single edit makes every column check, and the fields look shifted from the cycle on, "
     "which holds \"1\"",
     ""},
    {"ACycleMissing", "C,T1,SAMPLE,,CELSIUS,Path,,1,String,R,,100,",
     "; no single edit makes every column check, and the fields look shifted from the cycle on, "
     "which holds \"CELSIUS\"",
     ""},
    {"RightNumberOfFields", kSampleRow, "", ""},
};

class RowRepairs : public ::testing::TestWithParam<RepairCase> {};

TEST_P(RowRepairs, NameTheEditThatMakesTheRowCheck) {
  const RepairCase& c = GetParam();
  RunState run;
  derivePathNames(run, ControllerConfig{3, 2});
  std::string sentence;
  std::vector<std::string> suggestions;
  explainFieldCount(sentence, suggestions, c.row, run);
  EXPECT_EQ(sentence, c.sentence);
  EXPECT_EQ(suggestions, c.suggestion.empty() ? std::vector<std::string>{}
                                              : std::vector<std::string>{c.suggestion});
}

INSTANTIATE_TEST_SUITE_P(Table, RowRepairs, ::testing::ValuesIn(kRepairCases),
                         [](const auto& info) { return info.param.name; });

// Each repair is an edit of the line: applying it gives the repaired row.
TEST(RowRepairs, AreEditsOfTheLine) {
  RunState run;
  derivePathNames(run, ControllerConfig{3, 2});
  for (const RepairCase& c : kRepairCases) {
    for (const RowRepair& repair : repairsOfRow(c.row, run)) {
      std::string row = c.row;
      row.replace(repair.offset, repair.length, repair.replacement);
      EXPECT_EQ(row, repair.repairedRow) << c.name;
    }
  }
}

}  // namespace
}  // namespace marlint::testing

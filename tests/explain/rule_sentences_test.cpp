#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "marlint/marlint.h"
#include "run/rule.h"
#include "tests/support/point_file.h"

// The detail sentence of every rule, as the report writes it, held to its
// whole text. Each input is a known-good row with one column changed, so the
// sentence is the rule's own, without suggestions or causes.

namespace marlint::testing {
namespace {

struct SentenceCase {
  Rule rule;
  std::string file;  // the point file's bytes; a path instead when `isPath`
  std::string detail;
  bool isPath = false;
};

std::string underHeader(std::string_view header, std::initializer_list<std::string> lines) {
  std::string file = std::string(header) + "\n";
  for (const std::string& line : lines) {
    file += line + "\n";
  }
  return file;
}

std::string rows(std::initializer_list<std::string> lines) {
  return underHeader(kHeader, lines);
}

std::string withFields(std::string row,
                       std::initializer_list<std::pair<std::size_t, std::string>> changes) {
  for (const auto& [field, value] : changes) {
    row = withField(row, field, value);
  }
  return row;
}

const std::string kLongName(51, 'T');

const std::vector<SentenceCase> kSentenceCases = {
    {Rule::kCannotOpen, "/nonexistent/marlint/points.csv", "cannot open: No such file or directory",
     true},
    {Rule::kReadError, "/", "read error: Is a directory", true},
    {Rule::kEmptyFile, "", "the file is empty"},
    {Rule::kHeaderFieldCount, "2,3\n",
     "header line \"2,3\" has 2 fields; expected 3 fields: PMC path count, CNC path count, DCS "
     "ladder, such as \"2,3,False\""},
    {Rule::kPmcPathCount, "6,3,False\n", "PMC path count \"6\" reads as 6; expected 1 to 5"},
    // Without a text there is nothing to read a number from.
    {Rule::kPmcPathCount, ",3,False\n", "PMC path count is empty; expected 1 to 5"},
    {Rule::kCncPathCount, "2,11,False\n", "CNC path count \"11\" reads as 11; expected 1 to 10"},
    {Rule::kDcsLadder, "2,3,Yes\n",
     "DCS ladder \"Yes\" is not accepted; expected \"True\" or \"False\""},
    {Rule::kRowFieldCount, rows({"C,Temp1"}),
     "point row \"C,Temp1\" has 2 fields; expected 14 fields (13 commas); its 2 fields check as "
     "the first 2 columns, so the last 12 are missing"},
    {Rule::kPointKind, rows({withField(kSampleRow, 0, "X")}),
     "point kind \"X\" is not accepted; expected \"C\" (a configured point) or \"D\" (a method "
     "point)"},
    {Rule::kPointName, rows({withField(kSampleRow, 1, "1Temp")}),
     "point name \"1Temp\" starts with \"1\"; expected a letter, then letters and digits, 50 at "
     "most"},
    {Rule::kPointName, rows({withField(kSampleRow, 1, kLongName)}),
     "point name \"" + kLongName +
         "\" has 51 characters; expected a letter, then letters and digits, 50 at most"},
    // A name too long to quote whole is given with its size once.
    {Rule::kPointName, rows({withField(kSampleRow, 1, kLongName + std::string(10, 'x'))}),
     "point name \"" + kLongName.substr(0, 40) +
         "...\" (61 bytes) is too long; expected a letter, then letters and digits, 50 at most"},
    {Rule::kMethodName, rows({"D,Foo_1,,,,,,,,,,,,"}),
     "point name \"Foo_1\": \"Foo\" is not a method name; expected one of the 23 method names, "
     "such as \"ReadEmergency\", \"ReadOperatorMessages\", \"ReadNumberOfPaths\", optionally "
     "followed by \"_\" and a suffix"},
    {Rule::kMethodName, rows({"D,,,,,,,,,,,,,"}),
     "point name is empty; expected one of the 23 method names, such as \"ReadEmergency\", "
     "\"ReadOperatorMessages\", \"ReadNumberOfPaths\", optionally followed by \"_\" and a suffix"},
    {Rule::kPointType, rows({withField(kSampleRow, 2, "POINT")}),
     "point type \"POINT\" is not accepted; expected \"EVENT\", \"SAMPLE\" or \"CONDITION\""},
    {Rule::kEventValue, rows({withField(kConstantEventRow, 3, "RUNNING_1")}),
     "constant value \"RUNNING_1\" holds \"_\"; an EVENT point's value is empty or 1 to 10 "
     "letters and digits"},
    {Rule::kEventValue, rows({withField(kConstantEventRow, 3, "RUNNINGNOW1")}),
     "constant value \"RUNNINGNOW1\" has 11 characters; an EVENT point's value is empty or 1 to "
     "10 letters and digits"},
    {Rule::kSampleValue, rows({withField(kSampleRow, 3, "5")}),
     "constant value \"5\" is not empty; a SAMPLE point has no constant value"},
    {Rule::kConditionWordCount,
     rows({withField(kConditionRow, 3, "1000 1001 1002 1003 1004 1005 1006 1007 1008 1009 1010")}),
     "constant value \"1000 1001 1002 1003 1004 1005 1006 1007 1008 1009 1010\" has 11 codes; a "
     "CONDITION point has 1 to 10 codes separated by single blanks"},
    {Rule::kConditionCode, rows({withField(kConditionRow, 3, "1000 3000")}),
     "constant value code \"3000\" reads as 3000; a CONDITION code is 1000 to 2999, and codes are "
     "separated by single blanks"},
    {Rule::kConditionCode, rows({withField(kConditionRow, 3, "1000 10-0")}),
     "constant value code \"10-0\" holds \"-\"; a CONDITION code is 1000 to 2999, and codes are "
     "separated by single blanks"},
    {Rule::kCycle, rows({withField(kSampleRow, 4, "10001")}),
     "cycle \"10001\" reads as 10001; expected 100 to 10000"},
    {Rule::kUnitName, rows({withField(kSampleRow, 5, "FURLONG")}),
     "unit \"FURLONG\" is not accepted; a SAMPLE point names one of the 32 unit names, such as "
     "\"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit)"},
    {Rule::kUnitNotAllowed, rows({withField(kEventRow, 5, "NONE")}),
     "unit \"NONE\" is not empty; only a SAMPLE point has a unit"},
    {Rule::kXmlLocation, rows({withField(kSampleRow, 6, "Machine")}),
     "XML location \"Machine\" is not accepted; expected \"Device\", \"Controller\", or one "
     "\"Path\" name per CNC path: \"Path\" to \"Path3\""},
    // One CNC path: "Path" alone, and a later path is answered with the count.
    {Rule::kXmlLocation, underHeader("2,1,False", {withField(kSampleRow, 6, "Path2")}),
     "XML location \"Path2\" is not accepted; the header line gives 1 CNC path; expected "
     "\"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\""},
    {Rule::kConstantPointColumn, rows({withField(kConditionRow, 7, "CNC path 1")}),
     "data path \"CNC path 1\" is not empty; a point with constant values (a CONDITION point, or "
     "an EVENT point with a value) leaves columns 7 to 13 empty"},
    {Rule::kDataPath, underHeader("1,1,False", {withField(kCncSampleRow, 7, "Spindle")}),
     "data path \"Spindle\" is not accepted; expected empty (CNC path 1), \"CNC path 1\", \"PMC "
     "path 1\" or \"DCS path 9\""},
    // A path beyond the header's count suggests no close path.
    {Rule::kDataPath, rows({withField(kSampleRow, 7, "PMC path 3")}),
     "data path \"PMC path 3\" is not accepted; the header line gives 2 PMC paths; expected "
     "empty (CNC path 1), \"CNC path 1\" to \"CNC path 3\", \"PMC path 1\" to \"PMC path 2\" or "
     "\"DCS path 9\""},
    // In other case, past a count of one; past the largest count a header
    // line gives, which may be faulty.
    {Rule::kDataPath, underHeader("1,1,False", {withField(kSampleRow, 7, "pmc path 2")}),
     "data path \"pmc path 2\" is not accepted; the header line gives 1 PMC path; expected empty "
     "(CNC path 1), \"CNC path 1\", \"PMC path 1\" or \"DCS path 9\""},
    {Rule::kDataPath, underHeader("2,1,False", {withField(kSampleRow, 7, "cnc path 2")}),
     "data path \"cnc path 2\" is not accepted; the header line gives 1 CNC path; expected empty "
     "(CNC path 1), \"CNC path 1\", \"PMC path 1\" to \"PMC path 2\" or \"DCS path 9\""},
    {Rule::kXmlLocation, underHeader("2,10,False", {withField(kSampleRow, 6, "Path 11")}),
     "XML location \"Path 11\" is not accepted; there are at most 10 CNC paths; expected "
     "\"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path10\""},
    {Rule::kCncDataType, rows({withField(kCncSampleRow, 8, "5")}),
     "data type \"5\" reads as 5; on a CNC path the data type is 1 to 4"},
    {Rule::kPmcDataType, rows({withField(kSampleRow, 8, "4")}),
     "data type \"4\" reads as 4; on a PMC path or the DCS path the data type is 5 to 8"},
    {Rule::kReturnType, rows({withField(kSampleRow, 9, "Text")}),
     "return type \"Text\" is not accepted; expected \"String\""},
    {Rule::kAccessType, rows({withField(kSampleRow, 10, "W")}),
     "access type \"W\" is not accepted; expected \"R\""},
    {Rule::kCncAddressType, rows({withField(kCncSampleRow, 11, "D")}),
     "address type \"D\" is not empty; data types 1 to 4 have no address type"},
    {Rule::kAddressLetter, rows({withField(kSampleRow, 11, "Q")}),
     "address type \"Q\" is not accepted; expected one of the 14 address letters G F Y X A R T K "
     "C D M N E Z"},
    {Rule::kStartAddressType1, rows({withField(kCncSampleRow, 12, "200")}),
     "start address \"200\" is out of range; for data type 1 it is 100 to 199, digits only"},
    {Rule::kStartAddressType1, rows({withField(kCncSampleRow, 12, "")}),
     "start address is empty; for data type 1 it is 100 to 199, digits only"},
    {Rule::kStartAddressType2, rows({withField(kEventRow, 12, "1000")}),
     "start address \"1000\" is out of range; for data type 2 it is 500 to 999, digits only"},
    {Rule::kStartAddressType3, rows({withFields(kCncSampleRow, {{8, "3"}, {12, "34"}})}),
     "start address \"34\" is out of range; for data type 3 it is 1 to 33, digits only"},
    {Rule::kStartAddressType4, rows({withFields(kCncSampleRow, {{8, "4"}, {12, "0"}})}),
     "start address \"0\" is not empty; data type 4 has no start address"},
    {Rule::kPmcStartAddress, rows({withField(kSampleRow, 12, "60000")}),
     "start address \"60000\" is out of range; for data types 5 to 8 it is 0 to 59999 (empty "
     "means 0), digits only"},
    {Rule::kPmcStartAddress, rows({withField(kSampleRow, 12, "1a")}),
     "start address \"1a\" holds \"a\"; for data types 5 to 8 it is 0 to 59999 (empty means 0), "
     "digits only"},
    {Rule::kBitPos, rows({withField(kBitSampleRow, 13, "8")}),
     "bit position \"8\" is out of range; for data type 7 it is 0 to 7, digits only"},
    {Rule::kBitPosNotAllowed, rows({withField(kSampleRow, 13, "0")}),
     "bit position \"0\" is not empty; only data type 7 has a bit position"},
    {Rule::kDuplicateName, rows({kSampleRow, kSampleRow}),
     "point name \"Temp1\" is repeated; it first appears on line 2"},
    {Rule::kUncheckedLines, rows({kSampleRow, "", "x"}),
     "the 1 line after this empty line is not read, so it may hold faults that the result "
     "does not show"},
};

TEST(RuleSentence, EveryRuleHasARowInTheTable) {
  for (std::size_t i = 0; i < kRuleCount; ++i) {
    const Rule rule = static_cast<Rule>(i);
    EXPECT_TRUE(std::any_of(kSentenceCases.begin(), kSentenceCases.end(),
                            [rule](const SentenceCase& c) { return c.rule == rule; }))
        << ruleName(rule) << " has no row in kSentenceCases";
  }
}

TEST(RuleSentence, IsTheWholeDetail) {
  CheckOptions options;
  options.scope = Scope::kEveryFault;
  options.includeNotes = true;
  for (const SentenceCase& c : kSentenceCases) {
    SCOPED_TRACE(std::string(ruleName(c.rule)) + ": " + c.detail);
    const CheckResult result = c.isPath ? checkFile(c.file, options) : checkBytes(c.file, options);
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].rule, ruleName(c.rule));
    EXPECT_EQ(result.faults[0].suggestions, std::vector<std::string>());
    EXPECT_EQ(result.faults[0].detail, c.detail);
  }
}

}  // namespace
}  // namespace marlint::testing

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fuzz/check_invariants.h"

namespace marlint::fuzzing {
namespace {

// The fuzz target is only as good as its judge: each row is an outcome the
// judge must refuse, or one it must let pass.
struct JudgedOutcome {
  const char* description;
  std::string bytes;
  CheckOutcome outcome;
  bool breach;
};

const std::string kRow = "C,Temp1,SAMPLE,,500,NONE,Device,,1,String,R,,100,";

TEST(InvariantJudge, RefusesWhatNoRunMayGive) {
  const JudgedOutcome cases[] = {
      {"OK with 0", "1,1,True\n", {0, "OK"}, false},
      {"OK with -1", "1,1,True\n", {-1, "OK"}, true},
      {"a message with 0", "1,1,true\n", {0, "1,1,true is illegal DCS Ladder."}, true},
      {"another status", "1,1,True\n", {1, "OK"}, true},
      {"OK for a two-field header", "1,1\n", {0, "OK"}, true},
      {"OK for a short row", "1,1,True\nC,x\n", {0, "OK"}, true},
      {"OK with a short row after the empty line", "1,1,True\n\nC,x\n", {0, "OK"}, false},
      {"header message", "1,1,true\r\n", {-1, "1,1,true is illegal DCS Ladder."}, false},
      {"header message naming a row",
       "1,1,True\n1,1,true\n",
       {-1, "1,1,true is illegal DCS Ladder."},
       true},
      {"empty file", "", {-1, " is illegal format."}, false},
      {"format of a three-field header", "1,1,True\n", {-1, "1,1,True is illegal format."}, true},
      {"format of a short row", "1,1,True\nC,x\n", {-1, "C,x is illegal format."}, false},
      {"format of a full row",
       "1,1,True\n" + kRow + "\n",
       {-1, kRow + " is illegal format."},
       true},
      {"unknown message", "1,1,True\n", {-1, "Something went wrong."}, true},
      {"fixed sentence", "1,1,True\n", {-1, "Illegal point name."}, false},
      {"field not in the file", "1,1,True\n", {-1, "WATT is illegal unit."}, true},
      {"field with a comma", "1,1,True\n", {-1, "1,1 is illegal unit."}, true},
      {"field in the file", "1,1,True\nC,T,SAMPLE,,5,", {-1, "5 is illegal cycle."}, false},
      {"part of a field", "1,1,True\nC,T,SAMPLE,,50,", {-1, "5 is illegal cycle."}, true},
      {"field of the header", "1,1,True\n", {-1, "True is illegal cycle."}, true},
      {"name once", "1,1,True\n" + kRow + "\n", {-1, "Temp1 is duplicate point name."}, true},
      {"name twice",
       "1,1,True\n" + kRow + "\n" + kRow + "\n",
       {-1, "Temp1 is duplicate point name."},
       false},
  };
  for (const JudgedOutcome& judged : cases) {
    SCOPED_TRACE(judged.description);
    EXPECT_EQ(findOutcomeBreach(judged.outcome, judged.bytes).has_value(), judged.breach);
  }
}

TEST(InvariantJudge, FreshRowsGoRightAfterTheHeaderInItsLineEnd) {
  EXPECT_EQ(withFreshRowsAfterHeader("1,1,True\r\nC,Fresh,x\n"),
            "1,1,True\r\n"
            "C,Fresh0,SAMPLE,,500,NONE,Device,,1,String,R,,100,\r\n"
            "D,ReadMode_Fresh0,,,,,,,,,,,,\r\n"
            "C,Fresh,x\n");
  EXPECT_EQ(withFreshRowsAfterHeader("1,1,True"),
            "1,1,True\n"
            "C,Fresh,SAMPLE,,500,NONE,Device,,1,String,R,,100,\n"
            "D,ReadMode_Fresh,,,,,,,,,,,,\n");
}

TEST(InvariantJudge, WholeRunsOfKnownFilesHoldEveryInvariant) {
  for (const std::string& bytes :
       {std::string(), std::string("1,1,True\n") + kRow,
        std::string("\xEF\xBB\xBF"
                    "1,1,True"),
        std::string("1,1,True\n") + kRow + "\n" + kRow, std::string("1,1,True\r")}) {
    EXPECT_EQ(findInvariantBreach(bytes), std::nullopt);
  }
}

}  // namespace
}  // namespace marlint::fuzzing

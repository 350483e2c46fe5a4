#include "checks/header_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace marlint {
namespace {

struct HeaderOutcome {
  bool failed;
  std::string resultText;
  ControllerConfig config;
};

HeaderOutcome checkHeader(const std::string& bytes) {
  RunState run;
  PointInput input{std::string_view(bytes)};
  HeaderOutcome outcome{};
  outcome.failed = checkHeaderLine(run, input, outcome.config);
  outcome.resultText = run.resultText;
  return outcome;
}

TEST(CheckHeaderLine, AcceptedLines) {
  const struct {
    std::string line;
    std::int32_t pmcPaths;
    std::int32_t cncPaths;
  } cases[] = {
      {"1,1,True", 1, 1},    {"5,10,False", 5, 10}, {"2,3,False\r\n", 2, 3},
      {"1x,2y,False", 1, 2}, {" 3,+4,True", 3, 4},  {"3.9,1,True\nnext row", 3, 1},
  };
  for (const auto& [line, pmcPaths, cncPaths] : cases) {
    SCOPED_TRACE(line);
    const HeaderOutcome outcome = checkHeader(line);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.resultText, "");
    EXPECT_EQ(outcome.config.pmcPathCount, pmcPaths);
    EXPECT_EQ(outcome.config.cncPathCount, cncPaths);
  }
}

TEST(CheckHeaderLine, RefusedLinesNameTheWholeLine) {
  const struct {
    std::string bytes;
    std::string resultText;
  } cases[] = {
      {"", " is illegal format."},
      {"\n", " is illegal format."},
      {"1,1", "1,1 is illegal format."},
      {"1,1,True,", "1,1,True, is illegal format."},
      {"1,1,True\r", "1,1,True\r is illegal DCS Ladder."},
      {"0,1,True", "0,1,True is illegal PMC path num."},
      {"6,1,True", "6,1,True is illegal PMC path num."},
      {",1,True", ",1,True is illegal PMC path num."},
      {"0x3,1,True", "0x3,1,True is illegal PMC path num."},
      {"4294967297,1,True", "4294967297,1,True is illegal PMC path num."},
      {"\xEF\xBB\xBF"
       "1,1,True",
       "\xEF\xBB\xBF"
       "1,1,True is illegal PMC path num."},
      {"1,0,True", "1,0,True is illegal CNC path num."},
      {"1,11,True", "1,11,True is illegal CNC path num."},
      {"1,-1,True", "1,-1,True is illegal CNC path num."},
      {"1,1,true", "1,1,true is illegal DCS Ladder."},
      {"1,1,TRUE", "1,1,TRUE is illegal DCS Ladder."},
      {"1,1, True", "1,1, True is illegal DCS Ladder."},
      {"1,1,True ", "1,1,True  is illegal DCS Ladder."},
      {"1,1,", "1,1, is illegal DCS Ladder."},
      {"6,0,Yes", "6,0,Yes is illegal PMC path num."},
      {std::string("\0"
                   "1,1,True",
                   9),
       std::string("\0"
                   "1,1,True is illegal PMC path num.",
                   34)},
  };
  for (const auto& [bytes, resultText] : cases) {
    SCOPED_TRACE(bytes);
    const HeaderOutcome outcome = checkHeader(bytes);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.resultText, resultText);
  }
}

TEST(DerivePathNames, SmallestController) {
  RunState run;
  derivePathNames(run, ControllerConfig{1, 1});
  EXPECT_EQ(run.xmlLocationNames.names(),
            (std::vector<std::string>{"Device", "Controller", "Path"}));
  EXPECT_EQ(run.pathNameSet.names(),
            (std::vector<std::string>{"CNC path 1", "PMC path 1", "DCS path 9"}));
}

TEST(DerivePathNames, LargestController) {
  RunState run;
  derivePathNames(run, ControllerConfig{10, 5});
  EXPECT_EQ(run.xmlLocationNames.names(),
            (std::vector<std::string>{"Device", "Controller", "Path", "Path2", "Path3", "Path4",
                                      "Path5", "Path6", "Path7", "Path8", "Path9", "Path10"}));
  EXPECT_EQ(run.pathNameSet.names(),
            (std::vector<std::string>{"CNC path 1", "CNC path 2", "CNC path 3", "CNC path 4",
                                      "CNC path 5", "CNC path 6", "CNC path 7", "CNC path 8",
                                      "CNC path 9", "CNC path 10", "PMC path 1", "PMC path 2",
                                      "PMC path 3", "PMC path 4", "PMC path 5", "DCS path 9"}));
}

}  // namespace
}  // namespace marlint

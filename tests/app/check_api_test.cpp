#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "marlint/marlint.h"
#include "tests/support/point_file.h"

namespace marlint::testing {
namespace {

// Where a fault is and what it is about, as a caller of the API sees it.
struct Where {
  std::size_t line;
  std::size_t column;
  int field;
  std::string rule;
  std::string text;
  std::size_t firstLine = 0;
};

struct ApiCase {
  std::string name;
  std::string file;
  Scope scope;
  std::string resultText;
  std::vector<Where> faults;
};

std::string rows(const std::vector<std::string>& lines) {
  std::string file = std::string(kHeader) + "\n";
  for (const std::string& line : lines) {
    file += line + "\n";
  }
  return file;
}

const std::string kBadUnitRow = withField(kSampleRow, 5, "MILLIMETRE");
const std::string kBadCodeRow = withField(kConditionRow, 3, "1000 3000");

const std::vector<ApiCase> kApiCases = {
    {"Acceptable", rows({kSampleRow, kDeviceRow}), Scope::kFirstFault, "OK", {}},
    {"EmptyFile", "", Scope::kFirstFault, " is illegal format.", {{0, 0, -1, "empty-file", ""}}},
    {"HeaderFieldCount",
     "1,1\n",
     Scope::kFirstFault,
     "1,1 is illegal format.",
     {{1, 1, -1, "header-field-count", "1,1"}}},
    {"HeaderPointsAtItsField",
     "1,11,True\n",
     Scope::kFirstFault,
     "1,11,True is illegal CNC path num.",
     {{1, 3, 1, "cnc-path-count", "11"}}},
    {"ColumnFault",
     rows({kSampleRow, kBadUnitRow}),
     Scope::kFirstFault,
     "MILLIMETRE is illegal unit.",
     {{3, 21, 5, "unit-name", "MILLIMETRE"}}},
    {"ConditionWord",
     rows({kBadCodeRow}),
     Scope::kFirstFault,
     "Illegal constant value.",
     {{2, 25, 3, "condition-code", "3000"}}},
    {"RowFieldCount",
     rows({"C,Temp1"}),
     Scope::kFirstFault,
     "C,Temp1 is illegal format.",
     {{2, 1, -1, "row-field-count", "C,Temp1"}}},
    // The result names the earliest point whose name occurs again (P1),
    // located at the first repeat of that name.
    {"RepeatedNames",
     rows({withField(kSampleRow, 1, "P1"), withField(kSampleRow, 1, "P2"),
           withField(kSampleRow, 1, "P2"), withField(kSampleRow, 1, "P1")}),
     Scope::kFirstFault,
     "P1 is duplicate point name.",
     {{5, 3, 1, "duplicate-name", "P1", 2}}},
    {"EveryRepeatInLineOrder",
     rows({withField(kSampleRow, 1, "P1"), withField(kSampleRow, 1, "P2"),
           withField(kSampleRow, 1, "P2"), withField(kSampleRow, 1, "P1")}),
     Scope::kEveryFault,
     "P1 is duplicate point name.",
     {{4, 3, 1, "duplicate-name", "P2", 3}, {5, 3, 1, "duplicate-name", "P1", 2}}},
    // A faulty row wins over a repeated name, even one further up; the name
    // of a row that fails a later column still takes part.
    {"EveryFaultWithRepeats",
     rows({kSampleRow, kSampleRow, "x", withField(kBadUnitRow, 1, "Temp1")}),
     Scope::kEveryFault,
     "x is illegal format.",
     {{3, 3, 1, "duplicate-name", "Temp1", 2},
      {4, 1, -1, "row-field-count", "x"},
      {5, 21, 5, "unit-name", "MILLIMETRE"},
      {5, 3, 1, "duplicate-name", "Temp1", 2}}},
    {"HeaderFaultEndsEveryFaultCheck",
     "0,1,True\nx\n",
     Scope::kEveryFault,
     "0,1,True is illegal PMC path num.",
     {{1, 1, 0, "pmc-path-count", "0"}}},
};

void PrintTo(const ApiCase& c, std::ostream* out) {
  *out << c.name;
}

class CheckApi : public ::testing::TestWithParam<ApiCase> {};

TEST_P(CheckApi, GivesResultTextStatusAndFaults) {
  const ApiCase& c = GetParam();
  CheckOptions options;
  options.scope = c.scope;
  const CheckResult result = checkBytes(c.file, options);
  EXPECT_EQ(result.resultText, c.resultText);
  EXPECT_EQ(result.status, c.resultText == "OK" ? 0 : -1);
  ASSERT_EQ(result.faults.size(), c.faults.size());
  for (std::size_t i = 0; i < c.faults.size(); ++i) {
    SCOPED_TRACE("fault " + std::to_string(i));
    const Fault& fault = result.faults[i];
    const Where& expected = c.faults[i];
    EXPECT_EQ(fault.line, expected.line);
    EXPECT_EQ(fault.column, expected.column);
    EXPECT_EQ(fault.field, expected.field);
    EXPECT_EQ(fault.rule, expected.rule);
    EXPECT_EQ(fault.text, expected.text);
    EXPECT_EQ(fault.firstLine, expected.firstLine);
    EXPECT_FALSE(fault.detail.empty());
  }
  // The scope never changes the result text or the status.
  CheckOptions other;
  other.scope = c.scope == Scope::kFirstFault ? Scope::kEveryFault : Scope::kFirstFault;
  const CheckResult otherScope = checkBytes(c.file, other);
  EXPECT_EQ(otherScope.resultText, result.resultText);
  EXPECT_EQ(otherScope.status, result.status);
}

INSTANTIATE_TEST_SUITE_P(Table, CheckApi, ::testing::ValuesIn(kApiCases),
                         [](const auto& info) { return info.param.name; });

TEST(CheckApi, FileThatDoesNotOpenIsAFaultWithoutLine) {
  const CheckResult result = checkFile("/nonexistent/marlint/points.csv");
  EXPECT_EQ(result.resultText, " is illegal format.");
  ASSERT_EQ(result.faults.size(), 1u);
  EXPECT_EQ(result.faults[0].rule, "cannot-open");
  EXPECT_EQ(result.faults[0].line, 0u);
}

// Checks share no state: threads that check different inputs at the same
// time, in memory and from files, each get the result of a check alone.
TEST(CheckApi, ThreadsCheckingAtOnceEachGetTheirOwnResult) {
  const auto describe = [](const CheckResult& result) {
    std::string text = result.resultText + " status " + std::to_string(result.status);
    for (const Fault& fault : result.faults) {
      text += "\n" + std::to_string(fault.line) + ":" + std::to_string(fault.column) + " " +
              fault.rule + " [" + fault.text + "] " + fault.message + " / " + fault.detail;
    }
    return text;
  };
  std::vector<std::string> alone;
  std::vector<std::string> paths;
  for (const ApiCase& c : kApiCases) {
    CheckOptions options;
    options.scope = c.scope;
    alone.push_back(describe(checkBytes(c.file, options)));
    paths.push_back(::testing::TempDir() + "marlint_thread_" + c.name + ".csv");
    std::ofstream(paths.back(), std::ios::binary) << c.file;
  }

  constexpr int kRounds = 25;
  std::vector<std::string> differing(kApiCases.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < kApiCases.size(); ++i) {
    threads.emplace_back([&, i] {
      CheckOptions options;
      options.scope = kApiCases[i].scope;
      for (int round = 0; round < kRounds && differing[i].empty(); ++round) {
        const CheckResult result =
            round % 2 == 0 ? checkBytes(kApiCases[i].file, options) : checkFile(paths[i], options);
        if (describe(result) != alone[i]) {
          differing[i] = describe(result);
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  for (std::size_t i = 0; i < kApiCases.size(); ++i) {
    EXPECT_EQ(differing[i], "") << kApiCases[i].name << " alone gives " << alone[i];
    std::remove(paths[i].c_str());
  }
}

}  // namespace
}  // namespace marlint::testing

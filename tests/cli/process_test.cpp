#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "marlint/marlint.h"

#include "tests/support/process_runner.h"

namespace marlint::testing {
namespace {

constexpr char kUsageText[] =
    "marlint [point file path] [result file path]\n"
    "ex) marlint /tmp/Point.csv /tmp/result\n"
    "If change [point file path] to stdin, set '-' to [point file path].\n";

constexpr char kAcceptableFile[] =
    "2,3,False\n"
    "C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100,\n"
    "D,ReadMode_1,,,,,,,,,,,,\n";

TEST(Process, WrongArgumentCountWritesUsageOnly) {
  for (const auto& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"a.csv", "result", "extra"}}) {
    const TemporaryDirectory directory;
    const ProcessResult result = runMarlintProcess(arguments);
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.standardError, kUsageText);
    EXPECT_EQ(result.standardOutput, "");
  }
}

TEST(Process, AcceptableFileGivesOkOnStandardError) {
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", kAcceptableFile);
  const ProcessResult result = runMarlintProcess({pointFile});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardError, "OK");
  EXPECT_EQ(result.standardOutput, "");
}

// Every number column of every kind of row, and the header's counts, with
// forty zeros in front of an accepted value: zeros never make a value larger.
TEST(Process, NumbersWithManyLeadingZerosAreAccepted) {
  const std::string zeros(40, '0');
  const std::string file =
      zeros + "2," + zeros + "3,False\n" + "C,Temp1,SAMPLE,,+" + zeros +
      "500,MILLIMETER,Path,PMC path 2," + zeros + "6,String,R,D," + zeros + "100,\n" +
      "C,Door1,SAMPLE,, " + zeros + "500ms,NONE,Device,PMC path 1," + zeros + "7,String,R,X," +
      zeros + "10," + zeros + "3\n" + "C,Alarm1,CONDITION," + zeros + "1000 " + zeros + "2999,\t" +
      zeros + "800,,Path2,,,,,,,\n" + "D,ReadMode_" + zeros + "1,,,,,,,,,,,,\n";
  for (const Scope scope : {Scope::kFirstFault, Scope::kEveryFault}) {
    CheckOptions options;
    options.scope = scope;
    const CheckResult result = checkBytes(file, options);
    EXPECT_EQ(result.resultText, "OK");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.faults.empty());
  }
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", file);
  for (const auto& options : {std::vector<std::string>{}, std::vector<std::string>{"--locate"},
                              std::vector<std::string>{"--all"}, std::vector<std::string>{"--json"},
                              std::vector<std::string>{"--all", "--json"}}) {
    std::vector<std::string> arguments = options;
    arguments.push_back(pointFile);
    const ProcessResult result = runMarlintProcess(arguments);
    EXPECT_EQ(result.exitStatus, 0) << ::testing::PrintToString(options);
    EXPECT_EQ(result.standardError, "OK") << ::testing::PrintToString(options);
    EXPECT_EQ(result.standardOutput, "") << ::testing::PrintToString(options);
  }
}

TEST(Process, ResultFileHoldsTextWithoutLineEnd) {
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", kAcceptableFile);
  const std::string resultFile = directory.path() + "/result";
  const ProcessResult result = runMarlintProcess({pointFile, resultFile});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(readWholeFile(resultFile), "OK");
}

TEST(Process, FaultGoesToResultFileAndTruncatesIt) {
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", "1,1,true\n");
  const std::string resultFile =
      directory.writeFile("result", "an older and much longer result text than the new one");
  const ProcessResult result = runMarlintProcess({pointFile, resultFile});
  EXPECT_EQ(result.exitStatus, 255);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(readWholeFile(resultFile), "1,1,true is illegal DCS Ladder.");
}

TEST(Process, ResultFileInMissingDirectoryReportsErrno) {
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", kAcceptableFile);
  const ProcessResult result = runMarlintProcess({pointFile, directory.path() + "/no/result"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardError, "Error fopen 2");
  EXPECT_EQ(directory.entries(), std::vector<std::string>{"points.csv"});
}

// /dev/full opens but takes no byte: the result text is lost, and said so.
TEST(Process, ResultFileThatCannotBeWrittenReportsErrno) {
  const TemporaryDirectory directory;
  for (const auto& [text, status] :
       {std::pair<std::string, int>{kAcceptableFile, 0}, {"1,1,true\n", 255}}) {
    const ProcessResult result =
        runMarlintProcess({directory.writeFile("points.csv", text), "/dev/full"});
    EXPECT_EQ(result.exitStatus, status);
    EXPECT_EQ(result.standardError, "Error fwrite 28");
  }
}

// The report goes to standard output and the result text to standard
// error; options end at the first argument or at "--".
TEST(Process, ReportAndResultTextGoToTheirOwnStreams) {
  const TemporaryDirectory directory;
  directory.writeFile("-points.csv", kAcceptableFile);
  ProcessOptions options;
  options.workingDirectory = directory.path();
  options.inputMode = StandardInput::kFromText;
  options.inputText = "1,1,true\n";
  const ProcessResult fromStandardInput = runMarlintProcess({"--locate", "-"}, options);
  EXPECT_EQ(fromStandardInput.exitStatus, 255);
  EXPECT_EQ(fromStandardInput.standardOutput,
            "<stdin>:1:5: error: DCS ladder \"true\" is not accepted; expected \"True\" or "
            "\"False\"; did you mean \"True\"?\n");
  EXPECT_EQ(fromStandardInput.standardError, "1,1,true is illegal DCS Ladder.");

  const ProcessResult afterDoubleDash = runMarlintProcess({"--all", "--", "-points.csv"}, options);
  EXPECT_EQ(afterDoubleDash.exitStatus, 0);
  EXPECT_EQ(afterDoubleDash.standardOutput, "");
  EXPECT_EQ(afterDoubleDash.standardError, "OK");

  const ProcessResult optionAsResultFile = runMarlintProcess({"./-points.csv", "--all"}, options);
  EXPECT_EQ(optionAsResultFile.exitStatus, 0);
  EXPECT_EQ(readWholeFile(directory.path() + "/--all"), "OK");
}

// `marlint --all FILE | head`: a reader that leaves early loses the rest of
// the report, but the result text and the status are still those of the run.
TEST(Process, ReportToAClosedPipeStillWritesTheResultText) {
  const TemporaryDirectory directory;
  std::string faulty = "2,3,False\n";
  for (int row = 0; row < 5000; ++row) {
    faulty += "C,Temp" + std::to_string(row) + ",SAMPLE,,99,NONE,Path,,1,String,R,,100,\n";
  }
  const std::string pointFile = directory.writeFile("points.csv", faulty);
  ProcessOptions options;
  options.outputToClosedPipe = true;
  for (const char* option : {"--all", "--json"}) {
    SCOPED_TRACE(option);
    const ProcessResult result = runMarlintProcess({option, pointFile}, options);
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.standardError, "99 is illegal cycle.");
  }
}

TEST(Process, ResultFileMayBeThePointFileItself) {
  const TemporaryDirectory directory;
  const std::string pointFile = directory.writeFile("points.csv", kAcceptableFile);
  const ProcessResult result = runMarlintProcess({pointFile, pointFile});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(readWholeFile(pointFile), "OK");
}

TEST(Process, HyphenReadsStandardInputButNamesAResultFile) {
  const TemporaryDirectory directory;
  const std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());
  const ProcessResult result =
      runMarlintProcess({"-", "-"}, StandardInput::kFromText, kAcceptableFile);
  std::filesystem::current_path(previous);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(readWholeFile(directory.path() + "/-"), "OK");
}

TEST(Process, UnreadablePointInputsAreIllegalFormat) {
  const TemporaryDirectory directory;
  const std::string emptyFile = directory.writeFile("empty.csv", "");
  for (const std::string& path : {emptyFile, directory.path() + "/missing.csv", std::string()}) {
    SCOPED_TRACE(path);
    const ProcessResult result = runMarlintProcess({path});
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.standardError, " is illegal format.");
  }
}

TEST(Process, CrLfAndLfFilesGiveTheSameResult) {
  const TemporaryDirectory directory;
  const std::string lf = "1,1,True\nC,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\n";
  const std::string crlf = "1,1,True\r\nC,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\r\n";
  for (const std::string& text : {lf, crlf}) {
    const ProcessResult result = runMarlintProcess({directory.writeFile("p.csv", text)});
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.standardError, "99 is illegal cycle.");
  }
}

// Standard input carries bytes as they are, as a file does: CR LF reads as
// LF, a CR elsewhere and a Ctrl-Z byte are ordinary bytes, and the report
// and the result file get no CR. (Windows' C library reads and writes the
// standard streams as text unless told otherwise.)
TEST(Process, CrLfOnStandardInputReadsAsInAFile) {
  const TemporaryDirectory directory;
  const std::pair<std::string, std::string> cases[] = {
      {"1,1,True\r\nC,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\r\n", "99 is illegal cycle."},
      {"1,1,true\r\r\n", "1,1,true\r is illegal DCS Ladder."},
      {"1,1,True\x1a\r\nC,Temp1\n", "1,1,True\x1a is illegal DCS Ladder."},
  };
  ProcessOptions options;
  options.workingDirectory = directory.path();
  for (const auto& [input, resultText] : cases) {
    SCOPED_TRACE(resultText);
    directory.writeFile("p.csv", input);
    const ProcessResult fromFile = runMarlintProcess({"--locate", "p.csv"}, options);
    EXPECT_EQ(fromFile.exitStatus, 255);
    EXPECT_EQ(fromFile.standardError, resultText);
    ASSERT_EQ(fromFile.standardOutput.rfind("p.csv:", 0), 0u);
    EXPECT_EQ(fromFile.standardOutput.find('\r'), std::string::npos);

    options.inputMode = StandardInput::kFromText;
    options.inputText = input;
    const ProcessResult plain = runMarlintProcess({"-"}, options);
    EXPECT_EQ(plain.exitStatus, 255);
    EXPECT_EQ(plain.standardError, resultText);
    const ProcessResult located = runMarlintProcess({"--locate", "-", "result"}, options);
    EXPECT_EQ(located.exitStatus, 255);
    EXPECT_EQ(located.standardOutput, "<stdin>" + fromFile.standardOutput.substr(5));
    EXPECT_EQ(located.standardError, "");
    EXPECT_EQ(readWholeFile(directory.path() + "/result"), resultText);
    options.inputMode = StandardInput::kEmpty;
  }
}

// File names are taken as given, in UTF-8: a point file and a result file
// whose names are not ASCII open, the result file gets the name it was
// given, and the report names the point file with its bytes.
TEST(Process, NonAsciiFileNamesOpen) {
  const TemporaryDirectory directory;
  const std::string pointName = "Punkte-\xC3\xA4\xC3\xB6-\xE7\x82\xB9-\xF0\x9F\x94\xA7.csv";
  const std::string resultName = "Ergebnis-\xC3\xBC-\xE7\xB5\x90\xE6\x9E\x9C.txt";
  const std::string pointFile = directory.writeFile(pointName, "1,1,true\n");
  ProcessOptions options;
  options.workingDirectory = directory.path();
  const ProcessResult result = runMarlintProcess({"--locate", pointFile, resultName}, options);
  EXPECT_EQ(result.exitStatus, 255);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(result.standardOutput, pointFile +
                                       ":1:5: error: DCS ladder \"true\" is not accepted; expected "
                                       "\"True\" or \"False\"; did you mean \"True\"?\n");
  EXPECT_EQ(directory.entries(), (std::vector<std::string>{resultName, pointName}));
  EXPECT_EQ(readWholeFile(directory.path() + "/" + resultName), "1,1,true is illegal DCS Ladder.");
}

TEST(Process, NulBytesInTheResultTextAreWrittenWhole) {
  const TemporaryDirectory directory;
  const std::string header = std::string("\0", 1) + "1,1,True\n";
  const ProcessResult result = runMarlintProcess({directory.writeFile("p.csv", header)});
  EXPECT_EQ(result.exitStatus, 255);
  EXPECT_EQ(result.standardError, std::string("\0", 1) + "1,1,True is illegal PMC path num.");
}

TEST(Process, BundledExampleIsAccepted) {
  const ProcessResult accepted =
      runMarlintProcess({std::string(MARLINT_EXAMPLES_DIR) + "/points.csv"});
  EXPECT_EQ(accepted.exitStatus, 0);
  EXPECT_EQ(accepted.standardError, "OK");
}

// Each faulty example NAME.csv sits beside NAME.expected, its exact result
// text; one whose faults all lie after an empty line passes as "OK", and so
// does the fixed copy of one, NAME.fixed.csv.
TEST(Process, FaultyExamplesGiveTheirExpectedMessages) {
  int checked = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(MARLINT_EXAMPLES_DIR) + "/faulty")) {
    if (entry.path().extension() != ".csv") {
      continue;
    }
    SCOPED_TRACE(entry.path().filename().string());
    std::filesystem::path expectedPath = entry.path();
    expectedPath.replace_extension(".expected");
    const std::optional<std::string> expected = readWholeFile(expectedPath.string());
    ASSERT_TRUE(expected.has_value());
    const ProcessResult result = runMarlintProcess({entry.path().string()});
    EXPECT_EQ(result.exitStatus, *expected == "OK" ? 0 : 255);
    EXPECT_EQ(result.standardError, *expected);
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

// Point files as people make them, each beside NAME.all.jsonl, the exact
// report of `marlint --all --json NAME.csv`: every line a JSON object, and
// all a person needs to fix the file in one pass; and, where every fault
// has a certain fix, beside NAME.fixed.csv, the file `marlint --fix` makes
// of it. When the report changes
// on purpose, rewrite the expected reports from the built binary with
//   MARLINT_UPDATE_EXPECTED=1 ctest --test-dir build/debug -R FaultyCatalogue
// and read the diff before committing it.
struct CatalogueEntry {
  const char* name;
  const char* madeBy;
};

constexpr CatalogueEntry kFaultyCatalogue[] = {
    {"export-mark-quotes-crlf", "a spreadsheet export: byte-order mark, double quotes, CR LF"},
    {"export-semicolons", "a spreadsheet that separates fields with semicolons"},
    {"export-utf16", "a spreadsheet export saved as UTF-16 text"},
    {"export-utf16-tabs", "a spreadsheet export saved as UTF-16 text with tabs between fields"},
    {"export-cr-line-ends", "an export whose lines end in CR alone, as old Mac programs write"},
    {"export-doubled-cr", "an export whose CR LF line ends were converted twice: CR CR LF"},
    {"export-workbook", "a spreadsheet saved in its own format, not as CSV text"},
    {"export-padded-header", "a header padded with empty fields to the width of the rows"},
    {"export-trailing-commas", "a comma at the end of every row"},
    {"export-padded-header-trailing-commas",
     "a comma at the end of every row, and the header padded to their width"},
    {"joined-files", "two point files joined: a second header line, repeated names"},
    {"five-faults-one-row", "cycle, unit, XML location, data type and return type in one row"},
    {"rows-after-empty-line", "rows after an empty line, never checked"},
    {"header-fault-then-rows", "a faulty DCS ladder, then rows with faults of their own"},
    {"thousands-separator", "a cycle written with a thousands separator"},
    {"row-missing-field", "a row with 13 fields: the address type left out"},
    {"row-extra-field-repeated-name", "a row with 15 fields whose name a later row repeats"},
};

TEST(Process, FaultyCatalogueGivesItsExpectedReport) {
  const std::string folder = std::string(MARLINT_EXAMPLES_DIR) + "/faulty";
  const char* const update = std::getenv("MARLINT_UPDATE_EXPECTED");
  const bool updating = update != nullptr && std::string(update) == "1";
  ProcessOptions options;
  options.workingDirectory = folder;
  for (const CatalogueEntry& entry : kFaultyCatalogue) {
    SCOPED_TRACE(std::string(entry.name) + ": " + entry.madeBy);
    const std::string csv = std::string(entry.name) + ".csv";
    const ProcessResult result = runMarlintProcess({"--all", "--json", csv}, options);
    EXPECT_EQ(result.standardError, readWholeFile(folder + "/" + entry.name + ".expected"));
    std::istringstream lines(result.standardOutput);
    for (std::string line; std::getline(lines, line);) {
      const nlohmann::json record = nlohmann::json::parse(line);
      EXPECT_EQ(record["file"], csv);
      EXPECT_TRUE(record["severity"] == "error" || record["severity"] == "note") << line;
    }
    const std::string expectedPath = folder + "/" + entry.name + ".all.jsonl";
    if (updating) {
      std::ofstream(expectedPath, std::ios::binary) << result.standardOutput;
    }
    EXPECT_EQ(result.standardOutput, readWholeFile(expectedPath).value_or("(missing)"));

    // Where every fault has a certain fix, NAME.fixed.csv is what one
    // --fix writes, and it checks, as its NAME.fixed.expected says; where
    // one has none, neither exists.
    const TemporaryDirectory scratch;
    const std::string out = scratch.path() + "/fixed.csv";
    runMarlintProcess({"--fix=" + out, csv}, options);
    const std::optional<std::string> fixed = readWholeFile(out);
    ASSERT_TRUE(fixed.has_value());
    const bool everyFaultFixed =
        result.standardError != "OK" && runMarlintProcess({out}, options).standardError == "OK";
    const std::string fixedPath = folder + "/" + entry.name + ".fixed.csv";
    const std::string fixedResultPath = folder + "/" + entry.name + ".fixed.expected";
    if (updating) {
      if (everyFaultFixed) {
        std::ofstream(fixedPath, std::ios::binary) << *fixed;
        std::ofstream(fixedResultPath, std::ios::binary) << "OK";
      } else {
        std::filesystem::remove(fixedPath);
        std::filesystem::remove(fixedResultPath);
      }
    }
    const std::optional<std::string> expectedFixed = readWholeFile(fixedPath);
    EXPECT_EQ(expectedFixed.has_value(), everyFaultFixed);
    EXPECT_EQ(readWholeFile(fixedResultPath).has_value(), everyFaultFixed);
    if (expectedFixed) {
      EXPECT_EQ(*fixed, *expectedFixed);
    }
  }
}

// A writer that is slow to finish: the faults of the rows it has written
// reach the report's reader while marlint still waits for the rest.
TEST(Process, AllReportsWhatItFoundBeforeWaitingForInput) {
  int toMarlint[2];
  int fromMarlint[2];
  ASSERT_EQ(::pipe(toMarlint), 0);
  ASSERT_EQ(::pipe(fromMarlint), 0);
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    ::dup2(toMarlint[0], 0);
    ::dup2(fromMarlint[1], 1);
    ::close(toMarlint[1]);
    ::close(fromMarlint[0]);
    ::execl(MARLINT_BINARY, MARLINT_BINARY, "--all", "-", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(toMarlint[0]);
  ::close(fromMarlint[1]);
  const std::string rows =
      "2,3,False\nC,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\n"
      "C,Temp2,SAMPLE,,500,celsius,Path,,1,String,R,,100,\n";
  ASSERT_EQ(::write(toMarlint[1], rows.data(), rows.size()), static_cast<ssize_t>(rows.size()));
  // Both faults, while standard input stays open.
  std::string report;
  pollfd readable{fromMarlint[0], POLLIN, 0};
  while (std::count(report.begin(), report.end(), '\n') < 2 && ::poll(&readable, 1, 20000) > 0) {
    char buffer[4096];
    const ssize_t got = ::read(fromMarlint[0], buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    report.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(toMarlint[1]);
  ::close(fromMarlint[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(linesOf(report).size(), 2u) << report;
  EXPECT_NE(report.find("<stdin>:2:17: error: cycle"), std::string::npos) << report;
  EXPECT_NE(report.find("<stdin>:3:21: error: unit"), std::string::npos) << report;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 255);
}

}  // namespace
}  // namespace marlint::testing

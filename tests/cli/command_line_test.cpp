#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_options.h"
#include "marlint/marlint.h"
#include "tests/support/process_runner.h"

// The command line run in-process: options, --help, --version, the report
// in both forms, and the invariant that options never change the result.

namespace marlint::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct InProcessRun {
  int status = 0;
  std::string output;
  std::string error;
};

std::string takeStream(std::FILE* stream, char*& buffer, std::size_t& size) {
  std::fclose(stream);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

InProcessRun runInProcess(const std::vector<std::string>& arguments) {
  char* outputBuffer = nullptr;
  char* errorBuffer = nullptr;
  std::size_t outputSize = 0;
  std::size_t errorSize = 0;
  std::FILE* output = open_memstream(&outputBuffer, &outputSize);
  std::FILE* error = open_memstream(&errorBuffer, &errorSize);
  InProcessRun run;
  run.status = runCommandLine(arguments, output, error);
  run.output = takeStream(output, outputBuffer, outputSize);
  run.error = takeStream(error, errorBuffer, errorSize);
  return run;
}

std::vector<std::string> with(std::vector<std::string> options, const std::string& argument) {
  options.push_back(argument);
  return options;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

constexpr char kHeader[] = "2,3,False\n";
constexpr char kGoodRow[] = "C,Temp1,SAMPLE,,500,MILLIMETER,Path,,1,String,R,,100,\n";

// Each kind of fault location: a column, the header line, a whole row, a
// repeated name, a file without a line, and every fault at once.
struct ReportCase {
  std::string name;
  std::string file;  // the point file's bytes; empty: the file does not exist
  std::vector<std::string> options;
  std::string expectedOutput;  // FILE stands for the point file's path
};

const std::vector<ReportCase> kReportCases = {
    {"PlainRunWritesNoReport",
     std::string(kHeader) + "C,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\n",
     {},
     ""},
    {"NothingForAnAcceptableFile", std::string(kHeader) + kGoodRow, {"--all"}, ""},
    {"ColumnOfTheFirstFaultOnly",
     std::string(kHeader) + "C,Temp1,SAMPLE,,500,NONE,Path,,1,String,W,,100,\nx\n",
     {"--locate"},
     "FILE:2:41: error: access type \"W\" is not accepted; expected \"R\"\n"},
    {"HeaderField",
     "1,11,True\n",
     {"--locate"},
     "FILE:1:3: error: CNC path count \"11\" reads as 11; expected 1 to 10\n"},
    {"MissingFileHasNoLine",
     "",
     {"--locate"},
     "FILE: error: cannot open: No such file or directory\n"},
    {"EveryFaultAndRepeatInLineOrder",
     std::string(kHeader) + kGoodRow + "C,Temp1,EVENT,,500,,Path,,1,String,R,,100,5\nC,Temp2\n" +
         "C,Temp1,SAMPLE,,500,NONE,Path,,3,String,R,,34,\n",
     {"--all"},
     "FILE:3:3: error: point name \"Temp1\" is repeated; it first appears on line 2\n"
     "FILE:3:43: error: bit position \"5\" is not empty; only data type 7 has a bit position\n"
     "FILE:4:1: error: point row \"C,Temp2\" has 2 fields; expected 14 fields (13 commas); its 2 "
     "fields check as the first 2 columns, so the last 12 are missing\n"
     "FILE:5:3: error: point name \"Temp1\" is repeated; it first appears on line 2\n"
     "FILE:5:44: error: start address \"34\" is out of range; for data type 3 it is 1 to 33, "
     "digits only\n"},
    {"NoteForTheLinesAfterTheEmptyLine",
     std::string(kHeader) + kGoodRow + "\n" + kGoodRow + "\n",
     {"--locate"},
     "FILE:3:1: note: the 2 lines after this empty line are not read, so they may hold faults "
     "that the result does not show\n"},
};

void PrintTo(const ReportCase& c, std::ostream* out) {
  *out << c.name;
}

class Report : public ::testing::TestWithParam<ReportCase> {};

TEST_P(Report, WritesOneLinePerFaultOnStandardOutput) {
  const ReportCase& c = GetParam();
  const TemporaryDirectory directory;
  const std::string path = c.file.empty() ? directory.path() + "/missing.csv"
                                          : directory.writeFile("points.csv", c.file);
  const InProcessRun run = runInProcess(with(c.options, path));
  EXPECT_EQ(run.output, replaceAll(c.expectedOutput, "FILE", path));
}

INSTANTIATE_TEST_SUITE_P(Table, Report, ::testing::ValuesIn(kReportCases),
                         [](const auto& info) { return info.param.name; });

// Every JSON line parses, holds every part of the fault record, and agrees
// with what the API gives for the same file; bytes that are not UTF-8 come
// back as the code points of their values.
TEST(JsonReport, EveryLineIsAFaultRecord) {
  const TemporaryDirectory directory;
  const std::string path = directory.writeFile(
      "points.csv", std::string(kHeader) +
                        "C,Temp1,SAMPLE,,500,MILLIMETRE,Path,,1,String,R,,100,\n" +
                        "C,T\xe9mp,SAMPLE,,500,NONE,Path,,1,String,R,,100,\n" +
                        "C,Temp1,SAMPLE,,500,NONE,Path,,1,String,R,,\x01,\n");
  const InProcessRun run = runInProcess({"--json", "--all", path});
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.error, "MILLIMETRE is illegal unit.");

  CheckOptions everyFault;
  everyFault.scope = Scope::kEveryFault;
  const std::vector<Fault> faults = checkFile(path, everyFault).faults;
  const std::vector<std::string> lines = linesOf(run.output);
  ASSERT_EQ(lines.size(), faults.size());
  ASSERT_EQ(lines.size(), 4u);
  std::vector<nlohmann::json> objects;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    const nlohmann::json object = nlohmann::json::parse(lines[i]);
    EXPECT_EQ(object["file"], path);
    EXPECT_EQ(object["line"], faults[i].line);
    EXPECT_EQ(object["column"], faults[i].column);
    EXPECT_EQ(object["field"], faults[i].field);
    EXPECT_EQ(object["columnName"], faults[i].columnName);
    EXPECT_EQ(object["message"], faults[i].message);
    EXPECT_EQ(object["rule"], faults[i].rule);
    EXPECT_EQ(object["suggestions"], faults[i].suggestions);
    EXPECT_EQ(object["detail"], faults[i].detail);
    objects.push_back(object);
  }
  EXPECT_EQ(objects[0]["text"], "MILLIMETRE");
  EXPECT_EQ(objects[0]["suggestions"], std::vector<std::string>{"MILLIMETER"});
  EXPECT_TRUE(objects[0]["firstLine"].is_null());
  EXPECT_EQ(objects[1]["text"], "T\u00e9mp");
  EXPECT_EQ(objects[2]["rule"], "duplicate-name");
  EXPECT_EQ(objects[2]["firstLine"], 2);
  EXPECT_EQ(objects[3]["text"], "\x01");
  for (const nlohmann::json& object : objects) {
    EXPECT_EQ(object["severity"], "error");
  }
}

// An empty offending text is an empty string, not null; a note is a record
// like a fault, with its own severity, at the empty line, which it quotes.
TEST(JsonReport, EmptyTextsAndNotes) {
  const TemporaryDirectory directory;
  const std::string path = directory.writeFile(
      "points.csv",
      std::string(kHeader) + "C,Temp1,SAMPLE,,500,,Path,,1,String,R,,100,\n\n" + kGoodRow);
  const InProcessRun run = runInProcess({"--all", "--json", path});
  EXPECT_EQ(run.error, " is illegal unit.");
  const std::vector<std::string> lines = linesOf(run.output);
  ASSERT_EQ(lines.size(), 2u);
  const nlohmann::json fault = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(fault["severity"], "error");
  EXPECT_EQ(fault["text"], "");
  EXPECT_EQ(fault["message"], " is illegal unit.");
  const nlohmann::json note = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(note["severity"], "note");
  EXPECT_EQ(note["line"], 3);
  EXPECT_EQ(note["column"], 1);
  EXPECT_TRUE(note["field"].is_null());
  EXPECT_EQ(note["text"], "");
  EXPECT_EQ(note["message"], "");
  EXPECT_EQ(note["rule"], "unchecked-lines");
  EXPECT_EQ(note["detail"],
            "the 1 line after this empty line is not read, so it may hold faults that the result "
            "does not show");
}

TEST(JsonReport, FaultWithoutLineHasNulls) {
  const InProcessRun run = runInProcess({"--json", "/nonexistent/marlint/points.csv"});
  const nlohmann::json object = nlohmann::json::parse(run.output);
  for (const char* key : {"line", "column", "field", "text", "firstLine"}) {
    EXPECT_TRUE(object[key].is_null()) << key;
  }
  EXPECT_EQ(object["columnName"], "point file");
  EXPECT_EQ(object["rule"], "cannot-open");
  EXPECT_EQ(object["message"], " is illegal format.");
}

// The invariant: whatever the options, the result text (on standard error
// or in the result file), the result file's bytes and the status are those
// of the plain run.
// Every option of the option table that runs a check, each spelled as
// --help lists it, its value (if it takes one) a file in `directory`.
std::vector<std::vector<std::string>> checkingOptionsAlone(const std::string& directory) {
  std::vector<std::vector<std::string>> options;
  for (std::string spelling : optionSpellings()) {
    spelling = spelling.substr(spelling.rfind(' ') + 1);  // "-h, --help": "--help"
    const std::size_t equals = spelling.find('=');
    if (equals != std::string::npos) {
      spelling.replace(equals + 1, std::string::npos, directory + "/option-value");
    }
    if (parseCommandLine({spelling, "points.csv"}).action == CommandLine::Action::kCheck) {
      options.push_back({spelling});
    }
  }
  return options;
}

// Each checking option alone, every pair of them, and all at once.
std::vector<std::vector<std::string>> checkingOptionSets(const std::string& directory) {
  const std::vector<std::vector<std::string>> alone = checkingOptionsAlone(directory);
  std::vector<std::vector<std::string>> sets = alone;
  std::vector<std::string> all;
  for (std::size_t i = 0; i < alone.size(); ++i) {
    all.push_back(alone[i].front());
    for (std::size_t j = i + 1; j < alone.size(); ++j) {
      sets.push_back({alone[i].front(), alone[j].front()});
    }
  }
  sets.push_back(all);
  return sets;
}

TEST(Options, NeverChangeTheResult) {
  std::vector<std::string> pointFiles = {std::string(MARLINT_EXAMPLES_DIR) + "/points.csv",
                                         "/nonexistent/marlint/points.csv"};
  for (const auto& entry : fs::directory_iterator(std::string(MARLINT_EXAMPLES_DIR) + "/faulty")) {
    if (entry.path().extension() == ".csv") {
      pointFiles.push_back(entry.path().string());
    }
  }
  const TemporaryDirectory directory;
  pointFiles.push_back(directory.writeFile("hostile.csv",
                                           "\xef\xbb\xbf"
                                           "2,3,False\r\nC,\"Temp1\",\0,\xff\n\n"s +
                                               "C,Temp1,SAMPLE,,99,NONE,Path,,1,String,R,,100,\n"));
  const std::string resultFile = directory.path() + "/result";
  const std::vector<std::vector<std::string>> optionSets = checkingOptionSets(directory.path());
  ASSERT_GE(checkingOptionsAlone(directory.path()).size(), 3u) << "no checking option was found";
  for (const std::string& pointFile : pointFiles) {
    SCOPED_TRACE(pointFile);
    const InProcessRun plain = runInProcess({pointFile});
    const InProcessRun plainToFile = runInProcess({pointFile, resultFile});
    const std::optional<std::string> plainResult = readWholeFile(resultFile);
    EXPECT_EQ(plain.output, "");
    for (const auto& options : optionSets) {
      SCOPED_TRACE(::testing::PrintToString(options));
      const InProcessRun optioned = runInProcess(with(options, pointFile));
      EXPECT_EQ(optioned.status, plain.status);
      EXPECT_EQ(optioned.error, plain.error);
      std::vector<std::string> toFile = with(options, pointFile);
      toFile.push_back(resultFile);
      const InProcessRun optionedToFile = runInProcess(toFile);
      EXPECT_EQ(optionedToFile.status, plainToFile.status);
      EXPECT_EQ(optionedToFile.error, "");
      EXPECT_EQ(readWholeFile(resultFile), plainResult);
    }
  }
}

// --help, --version and wrong command lines: what goes where, and that
// nothing is read or written (the point and result files do not exist). In
// process and as a whole process, so that the table also holds the program
// the process tests were given (marlint.exe under Wine, the Node command):
// its option parsing is that system's getopt_long.
TEST(Options, HelpVersionAndWrongCommandLines) {
  const std::string usage(usageText());
  const std::string unknown = "' (see marlint --help)\n" + usage;
  const std::string missing = "/nonexistent/marlint/points.csv";
  const std::string result = "/nonexistent/marlint/result";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string output;
    std::string error;
  };
  const Case cases[] = {
      {{"--help"}, 0, std::string(helpText()), ""},
      {{"-h", missing, result}, 0, std::string(helpText()), ""},
      {{"--locate", "--version", missing}, 0, std::string("marlint ") + MARLINT_VERSION + "\n", ""},
      {{"--bogus", missing}, -1, "", "marlint: unknown option '--bogus" + unknown},
      {{"--all", "-x", missing}, -1, "", "marlint: unknown option '-x" + unknown},
      {{"--help=yes"}, -1, "", "marlint: unknown option '--help=yes" + unknown},
      // The whole argument as given; a name with a dot may be a file.
      {{"-points.csv"},
       -1,
       "",
       "marlint: unknown option '-points.csv' (see marlint --help)\n"
       "marlint: to check a file of that name, write ./-points.csv or -- -points.csv\n" +
           usage},
      {{"-xh", missing}, -1, "", "marlint: unknown option '-xh" + unknown},
      // Long options may be shortened to a unique start.
      {{"--ver", missing}, 0, std::string("marlint ") + MARLINT_VERSION + "\n", ""},
      {{"--all"}, -1, "", usage},
      {{"--json", missing, result, "extra"}, -1, "", usage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const InProcessRun run = runInProcess(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.error, c.error);
    const ProcessResult process = runMarlintProcess(c.arguments);
    EXPECT_EQ(process.exitStatus, c.status & 0xFF);
    EXPECT_EQ(process.standardOutput, c.output);
    EXPECT_EQ(process.standardError, c.error);
  }
}

}  // namespace
}  // namespace marlint::testing

namespace marlint::testing {
namespace {

// --fix and --diff: what is written where, and what is refused.
TEST(FixOption, WritesTheFixedFileAndReportsWhatIsLeft) {
  const TemporaryDirectory directory;
  const std::string input =
      "2,3,False\r\nC,Temp1,SAMPLE,,500,millimeter,Path,,1,String,R,,99,\r\n\r\nx\xe9\n";
  const std::string pointFile = directory.writeFile("points.csv", input);
  const std::string out = directory.path() + "/fixed.csv";
  const InProcessRun plain = runInProcess({pointFile});
  const InProcessRun fixed = runInProcess({"--fix=" + out, pointFile});
  EXPECT_EQ(fixed.status, plain.status);
  EXPECT_EQ(fixed.error, plain.error);
  EXPECT_EQ(readWholeFile(out),
            "2,3,False\r\nC,Temp1,SAMPLE,,500,MILLIMETER,Path,,1,String,R,,99,\r\n\r\nx\xe9\n");
  EXPECT_EQ(fixed.output,
            pointFile + ":2:21: fixed: unit \"millimeter\": write \"MILLIMETER\"\n" + out +
                ":2:50: error: start address \"99\" is out of range; for data "
                "type 1 it is 100 to 199, digits only\n" +
                out +
                ":3:1: note: the 1 line after this empty line is not read, so it may hold faults "
                "that the result does not show\n");
  const InProcessRun json = runInProcess({"--json", "--fix=" + out, pointFile});
  const nlohmann::json first = nlohmann::json::parse(linesOf(json.output).front());
  EXPECT_EQ(first["severity"], "fixed");
  EXPECT_EQ(first["fixes"][0]["applicability"], "certain");
  EXPECT_EQ(first["fixes"][0]["edits"][0]["offset"], 31);

  const InProcessRun diff = runInProcess({"--diff", pointFile});
  EXPECT_EQ(diff.error, plain.error);
  EXPECT_EQ(diff.output, "--- " + pointFile + "\n+++ " + pointFile +
                             "\n@@ -1,4 +1,4 @@\n 2,3,False\r\n"
                             "-C,Temp1,SAMPLE,,500,millimeter,Path,,1,String,R,,99,\r\n"
                             "+C,Temp1,SAMPLE,,500,MILLIMETER,Path,,1,String,R,,99,\r\n \r\n"
                             " x\xe9\n");
}

TEST(FixOption, NeverWritesOverThePointFile) {
  const TemporaryDirectory directory;
  const std::string input = "2,3,False\nC,Temp1,SAMPLE,,500,millimeter,Path,,1,String,R,,100,\n";
  const std::string pointFile = directory.writeFile("points.csv", input);
  const InProcessRun plain = runInProcess({pointFile});
  for (const std::string& out :
       {pointFile, directory.path() + "/./points.csv", directory.path() + "/none/fixed.csv"}) {
    SCOPED_TRACE(out);
    const InProcessRun run = runInProcess({"--fix=" + out, pointFile});
    EXPECT_EQ(run.status, plain.status);
    EXPECT_EQ(run.error, plain.error);
    EXPECT_NE(run.output.find(out + ": error: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("; nothing was written\n"), std::string::npos) << run.output;
    EXPECT_EQ(readWholeFile(pointFile), input);
  }
  EXPECT_EQ(directory.entries(), std::vector<std::string>{"points.csv"});
}

}  // namespace
}  // namespace marlint::testing

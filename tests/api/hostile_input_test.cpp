#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "api/run_checks.h"
#include "checks/header_line.h"
#include "checks/point_list.h"
#include "input/point_input.h"
#include "run/run_state.h"
#include "tests/support/process_runner.h"

// Hostile inputs for the whole program: whatever it is given, one result
// text, the right status, nothing on standard output and no file written
// but the result file.

namespace marlint::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr char kIllegalFormat[] = " is illegal format.";
constexpr char kValidRow[] = "C,Temp1,SAMPLE,,500,MILLIMETER,Path,,1,String,R,,100,";

// The whole content of a file, read in one piece: the files here reach 100 MB.
std::optional<std::string> readLargeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    return std::nullopt;
  }
  std::string content(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  return content;
}

// Every entry under `root` with its modification time, size and a hash of
// its content, to tell whether a run touched anything.
using TreeSnapshot = std::map<std::string, std::string>;

TreeSnapshot snapshotTree(const std::string& root) {
  TreeSnapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat status {};
    ::lstat(entry.path().c_str(), &status);
    std::string state = std::to_string(status.st_mtim.tv_sec) + "." +
                        std::to_string(status.st_mtim.tv_nsec) + " " +
                        std::to_string(status.st_size) + " " + std::to_string(status.st_mode);
    if (entry.is_regular_file()) {
      state += " " + std::to_string(std::hash<std::string>{}(
                         readLargeFile(entry.path().string()).value_or("")));
    }
    snapshot[fs::relative(entry.path(), root).string()] = state;
  }
  return snapshot;
}

// Runs marlint inside a fresh directory and records that directory before
// and after, so a test can assert what changed.
class HostileRun : public ::testing::Test {
 protected:
  ProcessResult run(const std::vector<std::string>& arguments, ProcessOptions options = {}) {
    options.workingDirectory = directory_.path();
    before_ = snapshotTree(directory_.path());
    const ProcessResult result = runMarlintProcess(arguments, options);
    after_ = snapshotTree(directory_.path());
    return result;
  }

  // Nothing in the directory changed but the named result file.
  void expectOnlyChanged(const std::string& resultName = "") {
    TreeSnapshot before = before_;
    TreeSnapshot after = after_;
    before.erase(resultName);
    after.erase(resultName);
    EXPECT_TRUE(before == after) << "a file other than the result file changed";
  }

  // The result went to standard error, with the status, and nothing else moved.
  void expectResultOnStandardError(const ProcessResult& result, const std::string& text) {
    EXPECT_EQ(result.standardError, text);
    EXPECT_EQ(result.exitStatus, text == "OK" ? 0 : 255);
    EXPECT_EQ(result.standardOutput, "");
    expectOnlyChanged();
  }

  std::string path(const std::string& name) const { return directory_.path() + "/" + name; }
  std::string write(const std::string& name, const std::string& content) const {
    return directory_.writeFile(name, content);
  }

  TemporaryDirectory directory_;
  TreeSnapshot before_;
  TreeSnapshot after_;
};

// The result the library gives for `content` read from memory.
std::string inProcessResult(const std::string& content, int& status) {
  RunState run;
  ControllerConfig config;
  PointList points;
  PointInput input(content);
  status = runChecksOn(run, input, config, points) ? 255 : 0;
  return run.resultText;
}

TEST_F(HostileRun, PointInputsThatCannotBeReadAreIllegalFormat) {
  fs::create_directory(path("folder"));
  struct Case {
    const char* description;
    std::vector<std::string> arguments;
    StandardInput input;
  };
  const Case cases[] = {
      {"a directory", {path("folder")}, StandardInput::kEmpty},
      {"a missing file", {path("missing.csv")}, StandardInput::kEmpty},
      {"an empty path", {""}, StandardInput::kEmpty},
      {"/dev/null", {"/dev/null"}, StandardInput::kEmpty},
      {"empty standard input", {"-"}, StandardInput::kEmpty},
      {"closed standard input", {"-"}, StandardInput::kClosed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    ProcessOptions options;
    options.inputMode = c.input;
    expectResultOnStandardError(run(c.arguments, options), kIllegalFormat);
  }
}

// The offending text is copied byte for byte, NUL bytes and bytes from 0x80
// up included; CR counts as a line end only right before LF.
TEST_F(HostileRun, UnusualBytesAreCopiedIntoTheMessage) {
  struct Case {
    const char* description;
    std::string content;
    std::string result;
  };
  const std::string nulUnit = "MILLI\0METER"s;
  const Case cases[] = {
      {"NUL in the header line", "1,\0,True\n"s, "1,\0,True is illegal CNC path num."s},
      {"NUL in a column", "1,1,True\nC,Temp1,SAMPLE,,500," + nulUnit + ",Path,,1,String,R,,100,\n",
       nulUnit + " is illegal unit."},
      {"NUL in a point name", "1,1,True\n" + "C,Te\0mp,SAMPLE,,500,NONE,Path,,1,String,R,,100,\n"s,
       "Illegal point name."},
      {"bytes from 0x80 up in a name",
       "1,1,True\nC,Temp\xC3\xA9,SAMPLE,,500,NONE,Path,,1,String,R,,100,\n", "Illegal point name."},
      {"bytes from 0x80 up in a unit",
       "1,1,True\nC,Temp1,SAMPLE,,500,\xB5m,Path,,1,String,R,,100,\n", "\xB5m is illegal unit."},
      {"byte 0xFF as point kind", "1,1,True\n\xFF,Temp1,SAMPLE,,500,NONE,Path,,1,String,R,,100,\n",
       "\xFF is illegal point kind."},
      {"UTF-8 byte-order mark",
       "\xEF\xBB\xBF"
       "1,1,True\n" +
           std::string(kValidRow) + "\n",
       "\xEF\xBB\xBF"
       "1,1,True is illegal PMC path num."},
      {"CR-only line ends", "1,1,True\r" + std::string(kValidRow) + "\r",
       "1,1,True\r" + std::string(kValidRow) + "\r" + kIllegalFormat},
      {"CR-only line end after a CR LF header",
       "1,1,True\r\n" + std::string(kValidRow) + "\r" + kValidRow + "\r\n",
       std::string(kValidRow) + "\r" + kValidRow + kIllegalFormat},
      {"lone CR before the end of the file", "1,1,True\n" + std::string(kValidRow) + "\r",
       "\r is illegal bit pos."},
      {"lone CR ending the header line", "1,1,True\r", "1,1,True\r is illegal DCS Ladder."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    expectResultOnStandardError(run({write("points.csv", c.content)}), c.result);
  }
}

// A header line of 100 MB without a line feed is read whole and named whole.
TEST_F(HostileRun, HundredMegabyteLineWithoutLineFeed) {
  const std::string line = "1,1," + std::string(100 * 1000 * 1000, 'x');
  const std::string pointFile = write("points.csv", line);
  const ProcessResult result = run({pointFile, path("result")});
  EXPECT_EQ(result.exitStatus, 255);
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(result.standardError, "");
  const std::optional<std::string> written = readLargeFile(path("result"));
  ASSERT_TRUE(written.has_value());
  EXPECT_TRUE(*written == line + " is illegal DCS Ladder.")
      << "result of " << written->size() << " bytes";
  expectOnlyChanged("result");
}

// Random bytes, alone and behind a valid header: the process gives the
// same result text and status as the library does in memory.
TEST_F(HostileRun, RandomBytesGiveTheLibrarysResult) {
  std::mt19937 random(20261207);
  for (int i = 0; i < 8; ++i) {
    std::string content(static_cast<std::size_t>(1 + random() % 100000), '\0');
    for (char& c : content) {
      c = static_cast<char>(random() % 256);
    }
    if (i % 2 == 1) {
      content = "1,1,True\n" + std::string(kValidRow) + "\n" + content;
    }
    int status = 0;
    const std::string expected = inProcessResult(content, status);
    SCOPED_TRACE(i);
    const ProcessResult result = run({write("random.bin", content)});
    EXPECT_EQ(result.standardError, expected);
    EXPECT_EQ(result.exitStatus, status);
    EXPECT_EQ(result.standardOutput, "");
    expectOnlyChanged();
  }
}

// Thirty digits never wrap into an accepted range.
TEST_F(HostileRun, ThirtyDigitNumbersInEveryNumericColumn) {
  const std::string digits = "123456789012345678901234567890";
  const std::string header = "1,1,True\n";
  struct Case {
    const char* column;
    std::string content;
    std::string result;
  };
  const Case cases[] = {
      {"PMC path count", digits + ",1,True\n", digits + ",1,True is illegal PMC path num."},
      {"CNC path count", "1," + digits + ",True\n",
       "1," + digits + ",True is illegal CNC path num."},
      {"negative PMC path count", "-" + digits + ",1,True\n",
       "-" + digits + ",1,True is illegal PMC path num."},
      {"constant value", header + "C,Alarm1,CONDITION," + digits + ",500,,Path,,,,,,,\n",
       "Illegal constant value."},
      {"cycle", header + "C,Temp1,SAMPLE,," + digits + ",NONE,Path,,1,String,R,,100,\n",
       digits + " is illegal cycle."},
      {"data type", header + "C,Temp1,SAMPLE,,500,NONE,Path,," + digits + ",String,R,,100,\n",
       digits + " is illegal data type."},
      {"start address",
       header + "C,Temp1,SAMPLE,,500,NONE,Path,PMC path 1,5,String,R,R," + digits + ",\n",
       digits + " is illegal start address."},
      {"bit position",
       header + "C,Bit1,SAMPLE,,500,NONE,Path,PMC path 1,7,String,R,R,10," + digits + "\n",
       digits + " is illegal bit pos."},
      {"method point path number", header + "D,ReadMode_" + digits + ",,,,,,,,,,,,\n", "OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    expectResultOnStandardError(run({write("points.csv", c.content)}), c.result);
  }
}

TEST_F(HostileRun, ResultFileMayNameThePointFile) {
  const std::string pointFile = write("points.csv", "1,1,True\n" + std::string(kValidRow) +
                                                        "\nC,Temp2,SAMPLE,,50,NONE,Path,,1,String,"
                                                        "R,,100,\n");
  const ProcessResult result = run({pointFile, pointFile});
  EXPECT_EQ(result.exitStatus, 255);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(readWholeFile(pointFile), "50 is illegal cycle.");
  expectOnlyChanged("points.csv");
}

TEST_F(HostileRun, HyphenAsResultPathIsAnOrdinaryFile) {
  const std::string pointFile = write("points.csv", "1,1,True\n" + std::string(kValidRow) + "\n");
  const ProcessResult result = run({pointFile, "-"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(readWholeFile(path("-")), "OK");
  expectOnlyChanged("-");
}

// The check's status survives a result file that cannot be opened.
TEST_F(HostileRun, ResultFileInMissingDirectory) {
  struct Case {
    std::string content;
    int status;
  };
  for (const Case& c : {Case{"1,1,True\n", 0}, Case{"1,1,true\n", 255}}) {
    SCOPED_TRACE(c.content);
    const std::string pointFile = write("points.csv", c.content);
    const ProcessResult result = run({pointFile, path("missing/result")});
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_EQ(result.standardError, "Error fopen 2");
    EXPECT_EQ(result.standardOutput, "");
    expectOnlyChanged();
  }
}

TEST_F(HostileRun, LongerResultFileIsTruncated) {
  const std::string pointFile = write("points.csv", "1,1,True\n");
  write("result", std::string(4096, 'R'));
  const ProcessResult result = run({pointFile, path("result")});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardError, "");
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(readWholeFile(path("result")), "OK");
  expectOnlyChanged("result");
}

}  // namespace
}  // namespace marlint::testing

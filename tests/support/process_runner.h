#pragma once

#include <optional>
#include <string>
#include <vector>

// Runs marlint as a separate process, for tests of what only a whole
// process shows: exit status, standard streams, files. The program is the
// native build unless the test program was given another command to start:
//
//   marlint_process_tests [GTEST_FLAGS] [PROGRAM [ARGUMENT]...]
//   marlint_process_tests --gtest_filter='Process.*' wine build/windows/marlint.exe
//   marlint_process_tests --gtest_filter='Process.*' node build/web/marlint.js

namespace marlint::testing {

// The command that starts marlint, before its arguments: a program, found
// on PATH when it has no slash, and the arguments it needs first. Words
// that name existing files are made absolute paths.
const std::vector<std::string>& marlintCommand();
void setMarlintCommand(std::vector<std::string> command);

// How the child's standard input is set up.
enum class StandardInput { kFromText, kEmpty, kClosed };

struct ProcessResult {
  int exitStatus = -1;  // as a shell sees it: -1 becomes 255
  std::string standardOutput;
  std::string standardError;
};

ProcessResult runMarlintProcess(const std::vector<std::string>& arguments,
                                StandardInput inputMode = StandardInput::kEmpty,
                                const std::string& inputText = "");

struct ProcessOptions {
  StandardInput inputMode = StandardInput::kEmpty;
  std::string inputText;
  std::string workingDirectory;  // empty: the test's own
  // Standard output is a pipe whose reader has gone, as in `marlint ... |
  // head` once head has exited: every write to it fails.
  bool outputToClosedPipe = false;
};

ProcessResult runMarlintProcess(const std::vector<std::string>& arguments,
                                const ProcessOptions& options);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` to the file `name` inside the directory; returns its path.
  std::string writeFile(const std::string& name, const std::string& bytes) const;
  // The names of the entries in the directory, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// The lines of `text`, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

}  // namespace marlint::testing

#include "tests/support/process_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace marlint::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string>& commandInUse() {
  static std::vector<std::string> command{MARLINT_BINARY};
  return command;
}

int openOrDie(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags, 0600);
  if (fd < 0) {
    throw std::runtime_error("cannot open " + path);
  }
  return fd;
}

}  // namespace

const std::vector<std::string>& marlintCommand() {
  return commandInUse();
}

void setMarlintCommand(std::vector<std::string> command) {
  // Tests start marlint in folders of their own: a word that names a file
  // from here (build/windows/marlint.exe, not wine) must name it from there.
  for (std::string& word : command) {
    std::error_code error;
    if (fs::is_regular_file(word, error)) {
      word = fs::absolute(word).string();
    }
  }
  commandInUse() = std::move(command);
}

ProcessResult runMarlintProcess(const std::vector<std::string>& arguments, StandardInput inputMode,
                                const std::string& inputText) {
  return runMarlintProcess(arguments, ProcessOptions{inputMode, inputText, ""});
}

namespace {

ProcessResult runOnce(const std::vector<std::string>& arguments, const ProcessOptions& options) {
  const StandardInput inputMode = options.inputMode;
  const TemporaryDirectory streams;
  const std::string inputPath = streams.writeFile("stdin", options.inputText);
  const std::string outputPath = streams.path() + "/stdout";
  const std::string errorPath = streams.path() + "/stderr";

  std::vector<std::string> words = marlintCommand();
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    // Standard input goes last, so a closed one is not reused by the opens.
    if (options.outputToClosedPipe) {
      int pipeEnds[2];
      if (::pipe(pipeEnds) != 0) {
        ::_exit(126);
      }
      ::close(pipeEnds[0]);
      ::dup2(pipeEnds[1], STDOUT_FILENO);
      // As a shell starts it: a test runner that ignores SIGPIPE must not
      // hide whether marlint ignores it itself.
      ::signal(SIGPIPE, SIG_DFL);
    } else {
      ::dup2(openOrDie(outputPath, O_WRONLY | O_CREAT | O_TRUNC), STDOUT_FILENO);
    }
    ::dup2(openOrDie(errorPath, O_WRONLY | O_CREAT | O_TRUNC), STDERR_FILENO);
    if (inputMode == StandardInput::kClosed) {
      ::close(STDIN_FILENO);
    } else {
      const std::string source = inputMode == StandardInput::kEmpty ? "/dev/null" : inputPath;
      ::dup2(openOrDie(source, O_RDONLY), STDIN_FILENO);
    }
    if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) {
      ::_exit(126);
    }
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int waitStatus = 0;
  ::waitpid(child, &waitStatus, 0);

  ProcessResult result;
  result.exitStatus = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  result.standardOutput = readWholeFile(outputPath).value_or("");
  result.standardError = readWholeFile(errorPath).value_or("");
  return result;
}

// marlint ends with 0 or 255. A program that starts it (Wine, rarely and on
// a loaded machine) may fail before it runs: another status with nothing
// written. Such a run is started once more; a fault of marlint's own that
// looks the same fails the second time too.
bool launcherFailedToStart(const ProcessResult& result) {
  return marlintCommand().size() > 1 && result.exitStatus != 0 && result.exitStatus != 255 &&
         result.standardOutput.empty() && result.standardError.empty();
}

}  // namespace

ProcessResult runMarlintProcess(const std::vector<std::string>& arguments,
                                const ProcessOptions& options) {
  const ProcessResult result = runOnce(arguments, options);
  if (!launcherFailedToStart(result)) {
    return result;
  }
  std::cerr << "Started again after the launcher failed (status " << result.exitStatus << ")\n";
  return runOnce(arguments, options);
}

TemporaryDirectory::TemporaryDirectory() {
  std::string pattern = (fs::temp_directory_path() / "marlint-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TemporaryDirectory::writeFile(const std::string& name, const std::string& bytes) const {
  const std::string filePath = path_ + "/" + name;
  std::ofstream out(filePath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return filePath;
}

std::vector<std::string> TemporaryDirectory::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace marlint::testing

#include "app/command_line.h"

#include <cerrno>
#include <string_view>

#include "marlint/marlint.h"

namespace marlint {
namespace {

constexpr std::string_view kUsageText =
    "marlint [point file path] [result file path]\n"
    "ex) marlint /tmp/Point.csv /tmp/result\n"
    "If change [point file path] to stdin, set '-' to [point file path].\n";

// Writes every byte, NUL bytes from the point file included, and no line end.
void writeBytes(std::FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, std::FILE* errorStream) {
  if (arguments.size() != 1 && arguments.size() != 2) {
    writeBytes(errorStream, kUsageText);
    return kStatusFailed;
  }
  const CheckResult result = checkFile(arguments[0]);
  const int status = result.status;

  if (arguments.size() == 1) {
    writeBytes(errorStream, result.resultText);
    return status;
  }
  std::FILE* resultFile = std::fopen(arguments[1].c_str(), "wb");
  if (resultFile == nullptr) {
    // The result text is lost; the status still reports the check.
    std::fprintf(errorStream, "Error fopen %d", errno);
    return status;
  }
  writeBytes(resultFile, result.resultText);
  std::fclose(resultFile);
  return status;
}

}  // namespace marlint

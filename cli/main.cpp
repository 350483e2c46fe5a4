#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/host_streams.h"

int main(int argc, char** argv) {
  marlint::useBinaryStandardStreams();
  // A program started with no argv at all still gets the usage text.
  const std::vector<std::string> arguments =
      argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  // -1 leaves the process as 255 on every system: a POSIX parent keeps only
  // the low eight bits anyway, and on Windows, where the whole -1 would
  // reach %ERRORLEVEL%, `if errorlevel 1` would take it for success.
  return marlint::runCommandLine(arguments, stdout, stderr) & 0xFF;
}

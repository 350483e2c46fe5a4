#include <string>
#include <vector>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  // A program started with no argv at all still gets the usage text.
  const std::vector<std::string> arguments =
      argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  return marlint::runCommandLine(arguments, stdout, stderr);
}

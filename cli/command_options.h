#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/fault_report.h"

// The options of the command line and the texts that describe them.

namespace marlint {

struct CommandLine {
  enum class Action {
    kCheck,               // check `positional[0]`, result to `positional[1]` when given
    kHelp,                // -h, --help
    kVersion,             // --version
    kUnknownOption,       // `unknownOption` is no option of marlint
    kWrongArgumentCount,  // not one or two arguments after the options
  };
  Action action = Action::kCheck;
  std::vector<std::string> positional;
  bool locate = false;      // report where each reported fault is
  bool everyFault = false;  // go on after the first fault
  ReportFormat format = ReportFormat::kLocated;
  bool fix = false;       // write the fixed point file to `fixOutput`
  std::string fixOutput;  // --fix=OUT
  bool diff = false;      // show the certain fixes as a unified diff
  std::string unknownOption;
};

// Reads the options that come before the first other argument (a lone "-"
// is an argument, "--" ends the options), GNU style, then the arguments.
// The first -h, --help, --version or unknown option settles the action.
// Uses getopt_long, whose state is global: not for two threads at once.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The three lines written for a wrong number of arguments.
std::string_view usageText();

// What --help writes: what marlint does, the synopsis, every option and the
// exit statuses.
std::string_view helpText();

// Each option as --help, the manual page and the README list it, in their
// order: "-h, --help", "--version", "--name=VALUE".
std::vector<std::string> optionSpellings();

// What --version writes, "marlint 1.2.0" and a line end.
std::string versionText();

}  // namespace marlint

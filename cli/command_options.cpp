#include "cli/command_options.h"

#include <getopt.h>

#include <algorithm>

#include "marlint/version.h"

namespace marlint {
namespace {

// getopt_long's codes for the options without a short form.
enum : int { kVersionOption = 256, kLocateOption, kAllOption, kJsonOption };

constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersionOption},
    {"locate", no_argument, nullptr, kLocateOption},
    {"all", no_argument, nullptr, kAllOption},
    {"json", no_argument, nullptr, kJsonOption},
    {nullptr, 0, nullptr, 0},
};

// "+": options end at the first argument that is not one, so that
// `marlint Point.csv --all` still names a result file "--all".
constexpr char kShortOptions[] = "+h";

constexpr std::string_view kUsageText =
    "marlint [point file path] [result file path]\n"
    "ex) marlint /tmp/Point.csv /tmp/result\n"
    "If change [point file path] to stdin, set '-' to [point file path].\n";

constexpr std::string_view kHelpText =
    "Usage: marlint [OPTION]... POINT_FILE [RESULT_FILE]\n"
    "Check a point file for a machine-tool data-collection system: the header\n"
    "line, every column of every point row, and that no point name repeats.\n"
    "\n"
    "The result text, OK or the message of the first fault, goes without a line\n"
    "end to RESULT_FILE, or to standard error when there is none. POINT_FILE -\n"
    "reads standard input. Options come before POINT_FILE, and -- ends them: a\n"
    "point file whose name starts with - is given after -- or as ./-NAME.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "      --locate   also report the fault on standard output, one line each:\n"
    "                 FILE:LINE:COLUMN: error: DETAIL\n"
    "      --all      go on after the first fault and report every fault, in line\n"
    "                 and column order: every column of a row is checked unless its\n"
    "                 check depends on a faulty column; a fault in the header line\n"
    "                 still ends the check (implies --locate)\n"
    "      --json     report as JSON Lines, one object per fault (implies --locate)\n"
    "\n"
    "The options only add the report: the result text, the result file and the\n"
    "exit status are those of the same run without them.\n"
    "\n"
    "Exit status:\n"
    "  0    the result text is OK; also after --help and --version\n"
    "  255  a fault was found (marlint returns -1), the number of arguments is\n"
    "       wrong, or an option is unknown\n";

// The unknown option as the user wrote it: a long option is one whole
// argument, a short one a single letter, perhaps inside a cluster like -xh.
std::string unknownOptionText(const std::vector<std::string>& argv, int element) {
  const std::string& argument = argv[static_cast<std::size_t>(element)];
  if (argument.compare(0, 2, "--") == 0) {
    return argument;
  }
  return std::string("-") + static_cast<char>(optopt);
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv;
  argv.reserve(arguments.size() + 1);
  argv.emplace_back("marlint");
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) {
    pointers.push_back(argument.data());
  }
  pointers.push_back(nullptr);
  const int count = static_cast<int>(argv.size());

  // glibc starts its scan afresh, inside clusters too, only when optind is
  // 0; the messages are marlint's own.
  optind = 0;
  opterr = 0;
  CommandLine commandLine;
  for (;;) {
    const int element = std::max(optind, 1);
    const int option = getopt_long(count, pointers.data(), kShortOptions, kLongOptions, nullptr);
    if (option == -1) {
      break;
    }
    switch (option) {
      case 'h': commandLine.action = CommandLine::Action::kHelp; return commandLine;
      case kVersionOption: commandLine.action = CommandLine::Action::kVersion; return commandLine;
      case kLocateOption: commandLine.locate = true; break;
      case kAllOption:
        commandLine.locate = true;
        commandLine.everyFault = true;
        break;
      case kJsonOption:
        commandLine.locate = true;
        commandLine.format = ReportFormat::kJsonLines;
        break;
      default:
        commandLine.action = CommandLine::Action::kUnknownOption;
        commandLine.unknownOption = unknownOptionText(argv, element);
        return commandLine;
    }
  }
  commandLine.positional.assign(argv.begin() + optind, argv.end());
  if (commandLine.positional.size() != 1 && commandLine.positional.size() != 2) {
    commandLine.action = CommandLine::Action::kWrongArgumentCount;
  }
  return commandLine;
}

std::string_view usageText() {
  return kUsageText;
}

std::string_view helpText() {
  return kHelpText;
}

std::string versionText() {
  return std::string("marlint ") + MARLINT_VERSION + "\n";
}

}  // namespace marlint

#include "cli/command_options.h"

#include <getopt.h>

#include <algorithm>

#include "marlint/version.h"

namespace marlint {
namespace {

// getopt_long's codes for the options without a short form.
enum : int {
  kVersionOption = 256,
  kLocateOption,
  kAllOption,
  kJsonOption,
  kFixOption,
  kDiffOption
};

// One option: its spellings, getopt_long's code for it, the name of its
// value (none: it takes no value), and its text in --help, a line end
// starting each further line.
struct OptionSpec {
  char shortName;  // '\0': a long form only
  const char* longName;
  int code;
  const char* valueName;
  std::string_view help;
};

// The options, in the order --help lists them. The tests hold --help, the
// manual page and the README to this table.
constexpr OptionSpec kOptions[] = {
    {'h', "help", 'h', nullptr, "print this help and exit"},
    {'\0', "version", kVersionOption, nullptr, "print the version and exit"},
    {'\0', "locate", kLocateOption, nullptr,
     "also report the fault on standard output, one line each:\n"
     "FILE:LINE:COLUMN: error: DETAIL (FILE:LINE:COLUMN: note: DETAIL\n"
     "for a note, such as lines left unchecked)"},
    {'\0', "all", kAllOption, nullptr,
     "go on after the first fault and report every fault, in line\n"
     "and column order: a column whose check depends on a faulty\n"
     "column is reported when no value of that column would accept\n"
     "it, and the rows are checked after a faulty header line too\n"
     "(implies --locate)"},
    {'\0', "json", kJsonOption, nullptr,
     "report as JSON Lines, one object per fault (implies --locate)"},
    {'\0', "fix", kFixOption, "OUT",
     "write to OUT the point file with every certain fix applied,\n"
     "every other byte unchanged, then report each fix applied\n"
     "(FILE:LINE:COLUMN: fixed: DETAIL) and every fault left in OUT;\n"
     "OUT may not be the point file itself"},
    {'\0', "diff", kDiffOption, nullptr,
     "show the certain fixes as a unified diff on standard output\n"
     "instead of a report; writes no file but OUT"},
};

constexpr std::string_view kUsageText =
    "marlint [point file path] [result file path]\n"
    "ex) marlint /tmp/Point.csv /tmp/result\n"
    "If change [point file path] to stdin, set '-' to [point file path].\n";

// --help: this, a line per option, then the end below.
constexpr std::string_view kHelpStart =
    "Usage: marlint [OPTION]... POINT_FILE [RESULT_FILE]\n"
    "Check a point file for a machine-tool data-collection system: the header\n"
    "line, every column of every point row, and that no point name repeats.\n"
    "\n"
    "The result text, OK or the message of the first fault, goes without a line\n"
    "end to RESULT_FILE, or to standard error when there is none. POINT_FILE -\n"
    "reads standard input. Options come before POINT_FILE, and -- ends them: a\n"
    "point file whose name starts with - is given after -- or as ./-NAME.\n"
    "\n"
    "Options:\n";

constexpr std::string_view kHelpEnd =
    "\n"
    "The options only add the report: the result text, the result file and the\n"
    "exit status are those of the same run without them. A long option may be\n"
    "shortened to any unique start of its name, such as --loc for --locate.\n"
    "\n"
    "Exit status:\n"
    "  0    the result text is OK; also after --help and --version\n"
    "  255  a fault was found (marlint returns -1), the number of arguments is\n"
    "       wrong, or an option is unknown\n";

// "--name" or "--name=VALUE".
std::string longSpellingOf(const OptionSpec& spec) {
  std::string spelling = std::string("--") + spec.longName;
  if (spec.valueName) {
    spelling.append("=").append(spec.valueName);
  }
  return spelling;
}

// "  -h, --help     print this help and exit": the texts start in one
// column, two blanks after the longest spelling.
std::string buildHelpText() {
  std::size_t longest = 0;
  for (const OptionSpec& spec : kOptions) {
    longest = std::max(longest, longSpellingOf(spec).size());
  }
  const std::string indent(6 + longest + 2, ' ');
  std::string text(kHelpStart);
  for (const OptionSpec& spec : kOptions) {
    std::string line =
        spec.shortName != '\0' ? std::string("  -") + spec.shortName + ", " : "      ";
    line.append(longSpellingOf(spec));
    line.resize(indent.size(), ' ');
    text.append(line);
    for (const char c : spec.help) {
      text.push_back(c);
      if (c == '\n') {
        text.append(indent);
      }
    }
    text.push_back('\n');
  }
  text.append(kHelpEnd);
  return text;
}

// The unknown option as the user wrote it: the whole argument, even when
// getopt_long stopped at one letter of a cluster like -points.csv.
std::string unknownOptionText(const std::vector<std::string>& argv, int element) {
  return argv[static_cast<std::size_t>(element)];
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

  // "+" first: options end at the first argument that is not one, so that
  // `marlint Point.csv --all` still names a result file "--all".
  std::string shortOptions = "+";
  std::vector<option> longOptions;
  for (const OptionSpec& spec : kOptions) {
    if (spec.shortName != '\0') {
      shortOptions.append(1, spec.shortName).append(spec.valueName ? ":" : "");
    }
    longOptions.push_back(
        {spec.longName, spec.valueName ? required_argument : no_argument, nullptr, spec.code});
  }
  longOptions.push_back({});

  // glibc starts its scan afresh, inside clusters too, only when optind is
  // 0; the messages are marlint's own.
  optind = 0;
  opterr = 0;
  CommandLine commandLine;
  for (;;) {
    const int element = std::max(optind, 1);
    const int option =
        getopt_long(count, pointers.data(), shortOptions.c_str(), longOptions.data(), nullptr);
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
      case kFixOption:
        commandLine.fix = true;
        commandLine.fixOutput = optarg;
        break;
      case kDiffOption: commandLine.diff = true; break;
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
  static const std::string text = buildHelpText();
  return text;
}

std::vector<std::string> optionSpellings() {
  std::vector<std::string> spellings;
  for (const OptionSpec& spec : kOptions) {
    const std::string shortForm =
        spec.shortName != '\0' ? std::string("-") + spec.shortName + ", " : "";
    spellings.push_back(shortForm + longSpellingOf(spec));
  }
  return spellings;
}

std::string versionText() {
  return std::string("marlint ") + MARLINT_VERSION + "\n";
}

}  // namespace marlint

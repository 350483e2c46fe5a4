#include "cli/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "cli/command_options.h"
#include "cli/fault_report.h"
#include "cli/fix_command.h"
#include "cli/host_error_number.h"
#include "cli/host_streams.h"
#include "marlint/marlint.h"

namespace marlint {
namespace {

// Writes every byte, NUL bytes from the point file included, and no line end.
void writeBytes(std::FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

// The check, with the report on `outputStream` when the options ask for
// one. Faults are written as they are found, so that a report of millions
// of faults needs no memory for them.
CheckResult checkAndReport(const CommandLine& commandLine, std::FILE* outputStream) {
  const std::string& pointFilePath = commandLine.positional[0];
  if (!commandLine.locate) {
    return checkFile(pointFilePath);
  }
  keepRunningWhenReportReaderLeaves();
  FaultReport report(outputStream, pointFilePath == "-" ? "<stdin>" : pointFilePath,
                     commandLine.format);
  CheckOptions options;
  options.scope = commandLine.everyFault ? Scope::kEveryFault : Scope::kFirstFault;
  // A report says what was checked: notes come with every report.
  options.includeNotes = true;
  options.onFault = [&report](const Fault& fault) { report.add(fault); };
  // What is found is written before the program waits for a slow writer.
  options.beforeInputWait = [&report] { report.flush(); };
  CheckResult result = checkFile(pointFilePath, options);
  report.finish();
  return result;
}

// Writes the result text to the result file; a file that does not open, or
// takes the bytes but fails to store or close them, is named on
// `errorStream` with its errno. The run's status does not change.
void writeResultFile(const std::string& path, std::string_view resultText, std::FILE* errorStream) {
  std::FILE* resultFile = std::fopen(path.c_str(), "wb");
  if (resultFile == nullptr) {
    std::fprintf(errorStream, "Error fopen %d", hostErrorNumber(errno));
    return;
  }
  // A full disk shows when the bytes leave the stdio buffer: flushing before
  // the close tells a failed write from a failed close.
  const bool written =
      std::fwrite(resultText.data(), 1, resultText.size(), resultFile) == resultText.size() &&
      std::fflush(resultFile) == 0;
  const int writeError = errno;
  if (!written) {
    std::fclose(resultFile);
    std::fprintf(errorStream, "Error fwrite %d", hostErrorNumber(writeError));
    return;
  }
  if (std::fclose(resultFile) != 0) {
    std::fprintf(errorStream, "Error fclose %d", hostErrorNumber(errno));
  }
}

// Names the argument as given and, when it may be a file that starts with
// "-" (one exists, or the name has a dot), how to reach that file.
std::string unknownOptionMessage(const std::string& argument) {
  std::string message = "marlint: unknown option '" + argument + "' (see marlint --help)\n";
  const std::string_view name = argument;
  const bool looksLikeFile =
      name.find('.') != std::string_view::npos || ::access(argument.c_str(), F_OK) == 0;
  if (looksLikeFile) {
    message +=
        "marlint: to check a file of that name, write ./" + argument + " or -- " + argument + "\n";
  }
  return message;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, std::FILE* outputStream,
                   std::FILE* errorStream) {
  const CommandLine commandLine = parseCommandLine(arguments);
  switch (commandLine.action) {
    case CommandLine::Action::kHelp:
      writeBytes(outputStream, helpText());
      std::fflush(outputStream);
      return kStatusOk;
    case CommandLine::Action::kVersion:
      writeBytes(outputStream, versionText());
      std::fflush(outputStream);
      return kStatusOk;
    case CommandLine::Action::kUnknownOption:
      writeBytes(errorStream, unknownOptionMessage(commandLine.unknownOption));
      writeBytes(errorStream, usageText());
      return kStatusFailed;
    case CommandLine::Action::kWrongArgumentCount:
      writeBytes(errorStream, usageText());
      return kStatusFailed;
    case CommandLine::Action::kCheck: break;
  }
  const CheckResult result = commandLine.fix || commandLine.diff
                                 ? checkAndFix(commandLine, outputStream)
                                 : checkAndReport(commandLine, outputStream);
  if (commandLine.positional.size() == 1) {
    writeBytes(errorStream, result.resultText);
  } else {
    // The result text is lost when the file fails; the status still reports
    // the check.
    writeResultFile(commandLine.positional[1], result.resultText, errorStream);
  }
  return result.status;
}

}  // namespace marlint

#include "cli/fix_command.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/fault_report.h"
#include "cli/host_streams.h"

namespace marlint {
namespace {

constexpr std::size_t kContextLines = 3;

// The whole input, "-" standard input; nothing when it cannot be read.
std::optional<std::string> readWholeInput(const std::string& path) {
  const bool isStandardInput = path == "-";
  std::FILE* stream = isStandardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (stream == nullptr) {
    return std::nullopt;
  }
  std::string bytes;
  char block[1 << 16];
  std::size_t count = 0;
  while ((count = std::fread(block, 1, sizeof block, stream)) > 0) {
    bytes.append(block, count);
  }
  const bool failed = std::ferror(stream) != 0;
  if (!isStandardInput) {
    std::fclose(stream);
  }
  if (failed) {
    return std::nullopt;
  }
  return bytes;
}

// Whether two names reach one file: the same name, or the same file
// reached by two names.
bool isSameFile(const std::string& a, const std::string& b) {
  if (a == b) {
    return true;
  }
#ifdef _WIN32
  // Windows gives no inode; its full path names the file, in any case.
  char fullA[4096];
  char fullB[4096];
  return _fullpath(fullA, a.c_str(), sizeof fullA) != nullptr &&
         _fullpath(fullB, b.c_str(), sizeof fullB) != nullptr && _stricmp(fullA, fullB) == 0;
#else
  struct stat statA {};
  struct stat statB {};
  return ::stat(a.c_str(), &statA) == 0 && ::stat(b.c_str(), &statB) == 0 &&
         statA.st_dev == statB.st_dev && statA.st_ino == statB.st_ino;
#endif
}

// Writes `bytes` to `path`; the C library's text for why not, when it fails.
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return std::string(std::strerror(errno));
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  const int writeError = errno;
  if (std::fclose(file) != 0 || !written) {
    return std::string(std::strerror(written ? errno : writeError));
  }
  return std::nullopt;
}

// A complaint about OUT, in the report's form: a record of the file as a
// whole, which JSON readers read as any other.
Fault fixNotWritten(std::string detail) {
  Fault fault;
  fault.columnName = "fixed file";
  fault.rule = "fix-not-written";
  fault.detail = std::move(detail);
  return fault;
}

struct DiffLine {
  std::string_view text;  // without its LF
  bool ended;             // an LF follows it
};

std::vector<DiffLine> diffLinesOf(std::string_view bytes) {
  std::vector<DiffLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      lines.push_back({bytes.substr(start), false});
      break;
    }
    lines.push_back({bytes.substr(start, lineFeed - start), true});
    start = lineFeed + 1;
  }
  return lines;
}

void appendDiffLine(std::string& out, char mark, const DiffLine& line) {
  out.push_back(mark);
  out.append(line.text);
  out.push_back('\n');
  if (!line.ended) {
    out.append("\\ No newline at end of file\n");
  }
}

void appendRange(std::string& out, std::size_t first, std::size_t count) {
  out.append(std::to_string(count == 0 ? first : first + 1));
  if (count != 1) {
    out.push_back(',');
    out.append(std::to_string(count));
  }
}

bool sameLine(const DiffLine& a, const DiffLine& b) {
  return a.text == b.text && a.ended == b.ended;
}

}  // namespace

[[gnu::cold]] std::string unifiedDiff(std::string_view fileName, std::string_view before,
                                      std::string_view after) {
  if (before == after) {
    return "";
  }
  const std::vector<DiffLine> old = diffLinesOf(before);
  const std::vector<DiffLine> fixed = diffLinesOf(after);
  // Fixes keep the lines where they are, so the lines pair up one by one;
  // where the counts differ, the whole file is one change.
  std::vector<std::pair<std::size_t, std::size_t>> changes;  // [first, end) of changed lines
  if (old.size() == fixed.size()) {
    for (std::size_t i = 0; i < old.size(); ++i) {
      if (!sameLine(old[i], fixed[i])) {
        if (!changes.empty() && changes.back().second + 2 * kContextLines >= i) {
          changes.back().second = i + 1;
        } else {
          changes.push_back({i, i + 1});
        }
      }
    }
  } else {
    changes.push_back({0, std::max(old.size(), fixed.size())});
  }
  std::string diff = "--- ";
  diff.append(fileName).append("\n+++ ").append(fileName).push_back('\n');
  for (const auto& [first, end] : changes) {
    const std::size_t from = first > kContextLines ? first - kContextLines : 0;
    const bool paired = old.size() == fixed.size();
    const std::size_t oldEnd = paired ? std::min(old.size(), end + kContextLines) : old.size();
    const std::size_t fixedEnd = paired ? oldEnd : fixed.size();
    diff.append("@@ -");
    appendRange(diff, from, oldEnd - from);
    diff.append(" +");
    appendRange(diff, from, fixedEnd - from);
    diff.append(" @@\n");
    if (!paired) {
      for (std::size_t i = from; i < oldEnd; ++i) {
        appendDiffLine(diff, '-', old[i]);
      }
      for (std::size_t i = from; i < fixedEnd; ++i) {
        appendDiffLine(diff, '+', fixed[i]);
      }
      continue;
    }
    for (std::size_t i = from; i < oldEnd;) {
      if (sameLine(old[i], fixed[i])) {
        appendDiffLine(diff, ' ', old[i++]);
        continue;
      }
      // A run of changed lines: the old ones, then the new ones.
      std::size_t runEnd = i;
      while (runEnd < oldEnd && !sameLine(old[runEnd], fixed[runEnd])) {
        ++runEnd;
      }
      for (std::size_t j = i; j < runEnd; ++j) {
        appendDiffLine(diff, '-', old[j]);
      }
      for (std::size_t j = i; j < runEnd; ++j) {
        appendDiffLine(diff, '+', fixed[j]);
      }
      i = runEnd;
    }
  }
  return diff;
}

// Kept with the cold code, away from the pages every plain run touches.
[[gnu::cold]] CheckResult checkAndFix(const CommandLine& commandLine, std::FILE* outputStream) {
  const std::string& pointFilePath = commandLine.positional[0];
  const std::string fileName = pointFilePath == "-" ? "<stdin>" : pointFilePath;
  keepRunningWhenReportReaderLeaves();
  const std::optional<std::string> bytes = readWholeInput(pointFilePath);
  FaultReport report(outputStream, fileName, commandLine.format);
  CheckOptions everyFault;
  everyFault.scope = Scope::kEveryFault;
  everyFault.includeNotes = true;
  if (!bytes) {
    // Nothing to fix: the report says why the file was not read.
    everyFault.onFault = [&report, &commandLine](const Fault& fault) {
      if (!commandLine.diff) {
        report.add(fault);
      }
    };
    return checkFile(pointFilePath, everyFault);
  }
  // The result of the point file as given, as the plain run gives it.
  CheckResult result = pointFilePath == "-" ? checkBytes(*bytes) : checkFile(pointFilePath);
  const FixResult fixed = fixBytes(*bytes);

  if (commandLine.fix) {
    const std::string& out = commandLine.fixOutput;
    std::optional<std::string> problem;
    if (pointFilePath != "-" && isSameFile(out, pointFilePath)) {
      problem = "the fixed file would be the point file itself; name another file";
    } else if (const std::optional<std::string> failed = writeWholeFile(out, fixed.bytes)) {
      problem = "cannot write the fixed file: " + *failed;
    }
    if (problem) {
      FaultReport complaint(outputStream, out, commandLine.format);
      complaint.add(fixNotWritten(*problem + "; nothing was written"));
      complaint.finish();
      return result;
    }
  }
  if (commandLine.diff) {
    const std::string diff = unifiedDiff(fileName, *bytes, fixed.bytes);
    std::fwrite(diff.data(), 1, diff.size(), outputStream);
    std::fflush(outputStream);
    return result;
  }
  for (const Fault& applied : fixed.applied) {
    report.add(applied);
  }
  report.flush();
  FaultReport remaining(outputStream, commandLine.fixOutput, commandLine.format);
  for (const Fault& fault : fixed.remaining) {
    remaining.add(fault);
  }
  return result;
}

}  // namespace marlint

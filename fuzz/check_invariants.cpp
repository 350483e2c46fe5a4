#include "fuzz/check_invariants.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "api/run_checks.h"
#include "checks/header_line.h"
#include "checks/point_list.h"
#include "explain/escaped_text.h"
#include "input/point_input.h"
#include "marlint/marlint.h"
#include "run/run_state.h"

namespace marlint::fuzzing {
namespace {

// What the text in front of a message suffix must be.
enum class Offending {
  kHeaderLine,    // the whole first line
  kLine,          // the whole header line or a whole row line
  kField,         // one field of a row
  kRepeatedName,  // the name field of two or more rows
};

struct KnownSuffix {
  std::string_view suffix;
  Offending offending;
};

constexpr KnownSuffix kKnownSuffixes[] = {
    {" is illegal format.", Offending::kLine},
    {" is illegal PMC path num.", Offending::kHeaderLine},
    {" is illegal CNC path num.", Offending::kHeaderLine},
    {" is illegal DCS Ladder.", Offending::kHeaderLine},
    {" is illegal point kind.", Offending::kField},
    {" is illegal point type.", Offending::kField},
    {" is illegal cycle.", Offending::kField},
    {" is illegal unit.", Offending::kField},
    {" is illegal XML location.", Offending::kField},
    {" is illegal data path.", Offending::kField},
    {" is illegal data type.", Offending::kField},
    {" is illegal return type.", Offending::kField},
    {" is illegal access type.", Offending::kField},
    {" is illegal address type.", Offending::kField},
    {" is illegal start address.", Offending::kField},
    {" is illegal bit pos.", Offending::kField},
    {" is duplicate point name.", Offending::kRepeatedName},
};

constexpr std::string_view kFixedSentences[] = {"Illegal point name.", "Illegal constant value."};

constexpr std::size_t kHeaderCommas = 2;
constexpr std::size_t kRowCommas = 13;

// The lines of `bytes`, read the plain way, independently of the checker's
// reader: split at LF, a CR right before an LF dropped, a last piece without
// LF kept when it is not empty.
std::vector<std::string_view> plainLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    std::size_t end = lineFeed;
    if (end > start && bytes[end - 1] == '\r') {
      --end;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = lineFeed + 1;
  }
  return lines;
}

// The header line and the row lines up to the first empty line: the lines
// a check may read.
struct ReadableLines {
  std::string_view header;
  std::vector<std::string_view> rows;
};

ReadableLines readableLines(std::string_view bytes) {
  const std::vector<std::string_view> lines = plainLines(bytes);
  ReadableLines readable;
  if (lines.empty()) {
    return readable;
  }
  readable.header = lines.front();
  for (auto line = lines.begin() + 1; line != lines.end() && !line->empty(); ++line) {
    readable.rows.push_back(*line);
  }
  return readable;
}

std::size_t commasIn(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
}

std::string_view secondField(std::string_view row) {
  const std::size_t first = row.find(',');
  if (first == std::string_view::npos) {
    return {};
  }
  return row.substr(first + 1, row.find(',', first + 1) - first - 1);
}

// True when `field` is one whole comma-separated field of `row`.
bool hasField(std::string_view row, std::string_view field) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = row.find(',', start);
    if (row.substr(start, comma == std::string_view::npos ? comma : comma - start) == field) {
      return true;
    }
    if (comma == std::string_view::npos) {
      return false;
    }
    start = comma + 1;
  }
}

std::optional<std::string> breachOfOk(const ReadableLines& readable) {
  if (commasIn(readable.header) != kHeaderCommas) {
    return "OK for a header line without exactly three fields";
  }
  for (const std::string_view row : readable.rows) {
    if (commasIn(row) != kRowCommas) {
      return "OK for a row without exactly fourteen fields";
    }
  }
  return std::nullopt;
}

std::optional<std::string> breachOfOffendingText(Offending offending, std::string_view text,
                                                 const ReadableLines& readable) {
  const auto& rows = readable.rows;
  switch (offending) {
    case Offending::kHeaderLine:
      if (text != readable.header) {
        return "a header message that does not start with the header line";
      }
      return std::nullopt;
    case Offending::kLine: {
      const bool badHeader = text == readable.header && commasIn(text) != kHeaderCommas;
      const bool badRow =
          commasIn(text) != kRowCommas && std::find(rows.begin(), rows.end(), text) != rows.end();
      if (!badHeader && !badRow) {
        return "a format message that names no line with a wrong field count";
      }
      return std::nullopt;
    }
    case Offending::kField:
      if (std::none_of(rows.begin(), rows.end(),
                       [text](std::string_view row) { return hasField(row, text); })) {
        return "a column message whose text is no whole field of a row";
      }
      return std::nullopt;
    case Offending::kRepeatedName: {
      const auto namedSo = [text](std::string_view row) { return secondField(row) == text; };
      if (text.empty() || std::count_if(rows.begin(), rows.end(), namedSo) < 2) {
        return "a duplicate name message for a name that is not repeated";
      }
      return std::nullopt;
    }
  }
  return "an unknown kind of offending text";
}

CheckOutcome checkInput(PointInput& input) {
  RunState run;
  ControllerConfig config;
  PointList points;
  const bool failed = runChecksOn(run, input, config, points);
  return CheckOutcome{failed ? -1 : 0, run.resultText};
}

// A token of letters and digits that occurs nowhere in `bytes`.
std::string freshToken(std::string_view bytes) {
  std::string token = "Fresh";
  for (int counter = 0; bytes.find(token) != std::string_view::npos; ++counter) {
    token = "Fresh" + std::to_string(counter);
  }
  return token;
}

// True when `text` is well-formed UTF-8 without control bytes, apart from
// the one line end that ends it: a report line any reader takes as one line.
bool isOneCleanLine(std::string_view text) {
  if (text.empty() || text.back() != '\n') {
    return false;
  }
  text.remove_suffix(1);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8SequenceLength(text, i);
    if (length == 0 || (length == 1 && static_cast<unsigned char>(text[i]) < 0x20)) {
      return false;
    }
    i += length;
  }
  return true;
}

// Where a fault says it is, and how it is written in a report.
std::optional<std::string> breachOfFault(const Fault& fault,
                                         const std::vector<std::string_view>& lines) {
  if (fault.line > 0) {
    if (fault.line > lines.size() || fault.column == 0 ||
        lines[fault.line - 1].substr(fault.column - 1, fault.text.size()) != fault.text) {
      return "a fault whose line and column do not point at its text";
    }
  } else if (fault.column != 0 || !fault.text.empty()) {
    return "a fault without a line that has a column or a text";
  }
  std::string located;
  appendFaultLine(located, "points.csv", fault);
  std::string json;
  appendFaultJson(json, "points.csv", fault);
  if (!isOneCleanLine(located) || !isOneCleanLine(json)) {
    return "a report line that is not one line of clean UTF-8";
  }
  return std::nullopt;
}

// The checks through the public API, in both scopes, against the plain
// outcome: the same result text and status, and faults that point at their
// text, in line order.
std::optional<std::string> breachOfScopes(const CheckOutcome& plain, std::string_view bytes) {
  const std::vector<std::string_view> lines = plainLines(bytes);
  for (const Scope scope : {Scope::kFirstFault, Scope::kEveryFault}) {
    CheckOptions options;
    options.scope = scope;
    options.includeNotes = true;
    const CheckResult result = marlint::checkBytes(bytes, options);
    if (result.resultText != plain.resultText || result.status != plain.status) {
      return std::string(scope == Scope::kFirstFault ? "first-fault" : "every-fault") +
             " check gives another result than the plain run: " + result.resultText;
    }
    const auto& faults = result.faults;
    const auto isError = [](const Fault& fault) { return fault.severity == Severity::kError; };
    const auto errorCount = std::count_if(faults.begin(), faults.end(), isError);
    const bool firstFaultCountRight =
        scope == Scope::kEveryFault || errorCount == (plain.status == 0 ? 0 : 1);
    const bool resultAmongFaults =
        plain.status == 0 ? errorCount == 0
                          : std::any_of(faults.begin(), faults.end(), [&](const Fault& fault) {
                              return isError(fault) && fault.message == plain.resultText;
                            });
    if (!firstFaultCountRight || !resultAmongFaults) {
      return "faults that do not match the result text";
    }
    for (std::size_t i = 0; i < faults.size(); ++i) {
      const bool inLineOrder = i == 0 || faults[i].line == 0 ||
                               (faults[i - 1].line != 0 && faults[i - 1].line <= faults[i].line);
      if (!inLineOrder) {
        return "faults out of line order";
      }
      if (i > 0 && faults[i].line != 0 && faults[i].line == faults[i - 1].line &&
          faults[i].column <= faults[i - 1].column) {
        return "faults of one line out of column order";
      }
      if (i > 0 && isError(faults[i]) && !isError(faults[i - 1])) {
        return "a fault after a note";
      }
      if (std::optional<std::string> breach = breachOfFault(faults[i], lines)) {
        return *breach + " (" + faults[i].rule + " at line " + std::to_string(faults[i].line) + ")";
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> findOutcomeBreach(const CheckOutcome& outcome, std::string_view bytes) {
  const ReadableLines readable = readableLines(bytes);
  const std::string_view text = outcome.resultText;
  if (outcome.status == 0) {
    if (text != "OK") {
      return "status 0 without the result text OK";
    }
    return breachOfOk(readable);
  }
  if (outcome.status != -1) {
    return "a status other than 0 and -1";
  }
  if (std::find(std::begin(kFixedSentences), std::end(kFixedSentences), text) !=
      std::end(kFixedSentences)) {
    return std::nullopt;
  }
  for (const KnownSuffix& known : kKnownSuffixes) {
    if (text.size() >= known.suffix.size() &&
        text.substr(text.size() - known.suffix.size()) == known.suffix) {
      return breachOfOffendingText(known.offending,
                                   text.substr(0, text.size() - known.suffix.size()), readable);
    }
  }
  return "status -1 with a result text that is no message of the program";
}

CheckOutcome checkBytes(std::string_view bytes) {
  PointInput input(bytes);
  return checkInput(input);
}

CheckOutcome checkBytesThroughStream(std::string_view bytes) {
  std::string copy(bytes);
  std::FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
  PointInput input(stream, true);
  return checkInput(input);
}

std::string withFreshRowsAfterHeader(std::string_view bytes) {
  const std::string token = freshToken(bytes);
  const std::size_t headerEnd = bytes.find('\n');
  const bool crLf =
      headerEnd != std::string_view::npos && headerEnd > 0 && bytes[headerEnd - 1] == '\r';
  const std::string lineEnd = crLf ? "\r\n" : "\n";
  const std::string rows = "C," + token + ",SAMPLE,,500,NONE,Device,,1,String,R,,100," + lineEnd +
                           "D,ReadMode_" + token + ",,,,,,,,,,,," + lineEnd;
  std::string result(bytes);
  if (headerEnd == std::string_view::npos) {
    // The header line is the whole file; the rows go behind it.
    result += lineEnd + rows;
  } else {
    result.insert(headerEnd + 1, rows);
  }
  return result;
}

std::optional<std::string> findInvariantBreach(std::string_view bytes) {
  const CheckOutcome first = checkBytes(bytes);
  if (std::optional<std::string> breach = findOutcomeBreach(first, bytes)) {
    return *breach + " (result text: " + first.resultText + ")";
  }
  if (!(checkBytes(bytes) == first)) {
    return "the same bytes checked twice give different results";
  }
  if (!(checkBytesThroughStream(bytes) == first)) {
    return "the bytes read through a stream give another result than from memory";
  }
  if (std::optional<std::string> breach = breachOfScopes(first, bytes)) {
    return breach;
  }
  if (first.status == 0) {
    const CheckOutcome grown = checkBytes(withFreshRowsAfterHeader(bytes));
    if (grown.status != 0 || grown.resultText != "OK") {
      return "an OK file with fresh valid rows after its header gives " + grown.resultText;
    }
  }
  return std::nullopt;
}

}  // namespace marlint::fuzzing

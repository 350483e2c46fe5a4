#include "explain/fault_fixes.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "checks/accepted_values.h"
#include "checks/header_line.h"
#include "checks/identity_columns.h"
#include "checks/point_record.h"
#include "checks/point_rows.h"
#include "explain/close_words.h"
#include "explain/escaped_text.h"
#include "explain/file_shape.h"
#include "explain/unit_spellings.h"
#include "input/point_input.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

using LineFault = FixProver::LineFault;

// The proof of a fix: the fixed line has lost `fixed` and has no fault
// that the line did not have.
bool provesRight(std::vector<LineFault> before, LineFault fixed,
                 const std::vector<LineFault>& after) {
  const auto own = std::find(before.begin(), before.end(), fixed);
  if (own != before.end()) {
    before.erase(own);
  }
  for (const LineFault& fault : after) {
    const auto same = std::find(before.begin(), before.end(), fault);
    if (same == before.end()) {
      return false;
    }
    before.erase(same);
  }
  return true;
}

constexpr char foldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return foldCase(x) == foldCase(y);
         });
}

// Two neighbouring bytes of `text` swapped give `word`, and nothing else
// differs: "Flase" for "False".
bool isOneSwapAway(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) {
    return false;
  }
  const auto differ = std::mismatch(text.begin(), text.end(), word.begin());
  const std::size_t at = static_cast<std::size_t>(differ.first - text.begin());
  return at + 1 < text.size() && text[at] == word[at + 1] && text[at + 1] == word[at] &&
         text.substr(at + 2) == word.substr(at + 2);
}

// Whether `suggestion`, the only one, is the one right change of `text`.
bool isOnlyRightChange(Rule rule, std::string_view text, std::string_view suggestion) {
  if (sameIgnoringCase(text, suggestion) || isOneSwapAway(text, suggestion)) {
    return true;
  }
  // A unit as people write it names one unit; blanks or quotes around it
  // are a second change.
  if (rule == Rule::kUnitName) {
    return withoutWrapping(text) == text && unitNameSpelledAs(text) == suggestion;
  }
  // CNC path 1 is written "Path", whatever digits name it.
  const std::string_view pathName = kXmlPathName;
  return rule == Rule::kXmlLocation && suggestion == pathName && text.size() > pathName.size() &&
         text.substr(0, pathName.size()) == pathName && isAllDigits(text.substr(pathName.size())) &&
         readLeadingIntByFullRule(text.substr(pathName.size())) == 1;
}

void appendWriteDescription(std::string& out, std::string_view replacement) {
  out.append("write ");
  appendQuotedForPeople(out, replacement);
}

// "remove ",""", "insert ","" or "replace "," with " "".
std::string describeEdit(std::string_view replaced, std::string_view replacement) {
  std::string description;
  if (replacement.empty()) {
    description.append("remove ");
    appendQuotedForPeople(description, replaced);
  } else if (replaced.empty()) {
    description.append("insert ");
    appendQuotedForPeople(description, replacement);
  } else {
    description.append("replace ");
    appendQuotedForPeople(description, replaced);
    description.append(" with ");
    appendQuotedForPeople(description, replacement);
  }
  return description;
}

std::string lineWithEdit(std::string_view line, std::size_t at, std::size_t length,
                         std::string_view replacement) {
  std::string fixed(line.substr(0, at));
  fixed.append(replacement);
  fixed.append(line.substr(at + length));
  return fixed;
}

}  // namespace

const std::vector<LineFault>& FixProver::faultsOf(std::string_view line, bool isHeader,
                                                  const RunState& run) {
  // The names are those of the header line, which the rows never change: a
  // scratch run made before them is made again.
  if (!scratch_ ||
      scratch_->xmlLocationNames.names().size() != run.xmlLocationNames.names().size() ||
      scratch_->pathNameSet.names().size() != run.pathNameSet.names().size()) {
    scratch_.emplace();
    scratch_->keepGoing = true;
    scratch_->xmlLocationNames = run.xmlLocationNames;
    scratch_->pathNameSet = run.pathNameSet;
    scratch_->onFault = [this](Fault&& fault, Rule rule) {
      faults_.push_back({rule, fault.field});
    };
  }
  faults_.clear();
  RunState& scratch = *scratch_;
  scratch.resultText.clear();
  if (isHeader) {
    PointInput input(line);
    ControllerConfig config;
    checkHeaderLine(scratch, input, config);
  } else {
    scratch.startLine(line);
    PointRecord record;
    checkEveryColumnOfPointRow(scratch, line, record);
  }
  return faults_;
}

Edit editBetween(std::string_view line, std::string_view fixedLine, std::size_t lineOffset) {
  const std::size_t shorter = std::min(line.size(), fixedLine.size());
  std::size_t start = 0;
  while (start < shorter && line[start] == fixedLine[start]) {
    ++start;
  }
  std::size_t end = 0;
  while (end < shorter - start &&
         line[line.size() - 1 - end] == fixedLine[fixedLine.size() - 1 - end]) {
    ++end;
  }
  return {lineOffset + start, line.size() - start - end,
          std::string(fixedLine.substr(start, fixedLine.size() - start - end))};
}

[[gnu::cold]] void addFaultFixes(Fault& fault, Rule rule, const RunState& run,
                                 std::size_t lineOffset, FixProver& prover) {
  fault.fixes.clear();
  if (fault.severity != Severity::kError || fault.line == 0 || rule == Rule::kDuplicateName) {
    return;
  }
  const std::string_view line = run.currentLine();
  const bool isHeader = fault.line == 1;
  const LineFault own{rule, fault.field};
  // The line is checked again only when the fixed line has a fault: most
  // fixed lines have none, and need no comparison.
  std::optional<std::vector<LineFault>> before;
  const auto proves = [&](std::string_view fixedLine) {
    std::vector<LineFault> after = prover.faultsOf(fixedLine, isHeader, run);
    if (after.empty()) {
      return true;
    }
    if (!before) {
      before = prover.faultsOf(line, isHeader, run);
    }
    return provesRight(*before, own, after);
  };

  // A row with a wrong number of fields has a suggestion only where exactly
  // one edit makes every column check.
  if (rule == Rule::kRowFieldCount) {
    if (fault.suggestions.size() == 1) {
      Edit edit = editBetween(line, fault.suggestions.front(), lineOffset);
      std::string description =
          describeEdit(line.substr(edit.offset - lineOffset, edit.length), edit.replacement);
      fault.fixes.push_back({std::move(description), {std::move(edit)}, Applicability::kCertain});
    }
    return;
  }

  // A byte-order mark reads as part of the header's first field.
  const std::size_t column = fault.column - 1;
  if (isHeader && lineOffset == 0 && column == 0 &&
      line.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark &&
      proves(line.substr(kUtf8ByteOrderMark.size()))) {
    fault.fixes.push_back({"remove the byte-order mark",
                           {{0, kUtf8ByteOrderMark.size(), ""}},
                           Applicability::kCertain});
    return;
  }

  const std::string_view text = fault.text;
  if (column + text.size() > line.size() || line.substr(column, text.size()) != text) {
    return;
  }
  const bool onlyOne = fault.suggestions.size() == 1;
  for (const std::string& suggestion : fault.suggestions) {
    if (!proves(lineWithEdit(line, column, text.size(), suggestion))) {
      continue;
    }
    Fix fix;
    appendWriteDescription(fix.description, suggestion);
    fix.edits.push_back({lineOffset + column, text.size(), suggestion});
    fix.applicability = onlyOne && isOnlyRightChange(rule, text, suggestion)
                            ? Applicability::kCertain
                            : Applicability::kMaybe;
    fault.fixes.push_back(std::move(fix));
  }
}

}  // namespace marlint

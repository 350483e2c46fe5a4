#include "explain/fault_detail.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explain/fault_fixes.h"
#include "explain/rule_sentences.h"
#include "explain/sentence_pieces.h"
#include "input/text_rules.h"

// A detail sentence is the rule's sentence (`rule_sentences.cpp`), then
// "; did you mean ...?" when an accepted word is close, then " Likely
// cause: ..." when the file shows why.

namespace marlint {
namespace {

void appendSuggestions(std::string& out, const std::vector<std::string>& suggestions) {
  if (suggestions.empty()) {
    return;
  }
  out.append("; did you mean ");
  appendAlternatives(out, suggestions);
  out.push_back('?');
}

// Whether the input held an LF (or CR LF) right after `line`.
bool isEndedByLineFeed(std::string_view line, std::string_view held) {
  const std::optional<std::size_t> offset = offsetWithin(line, held);
  return offset && *offset + line.size() < held.size();
}

}  // namespace

void describeFault(Fault& fault, Rule rule, const RunState& run, const FaultSurroundings& around) {
  std::string& detail = fault.detail;
  detail.clear();
  // Room for the longer sentences, a vocabulary with suggestions and a
  // cause, without growing the text on the way.
  detail.reserve(256);
  FileCauses causes;
  std::optional<FileShape> lineAlone;
  const bool causesApply =
      fault.severity != Severity::kNote && fault.line != 0 && rule != Rule::kDuplicateName;
  if (causesApply) {
    // A repeated name is found after its line was read, and a fault
    // without a line has none: neither has causes.
    const std::string_view line = run.currentLine();
    if (around.fileShape == nullptr) {
      lineAlone = FileShape::of(line, fault.line == 1);
    }
    const FaultSite site{rule,
                         fault.line,
                         fault.column,
                         fault.field,
                         fault.text,
                         line,
                         isEndedByLineFeed(line, around.heldBytes)};
    causes = likelyCausesOf(site, lineAlone ? *lineAlone : *around.fileShape, run);
  }
  Sentence sentence{detail, fault.suggestions, fault, run, around, !causes.empty()};
  appendRuleSentence(sentence, rule);
  if (fault.severity == Severity::kNote) {
    return;
  }
  // A repaired row is named in the sentence already; tools take it from
  // the suggestions.
  if (rule != Rule::kRowFieldCount) {
    appendSuggestions(detail, fault.suggestions);
  }
  if (!causesApply) {
    return;
  }
  const std::string_view line = run.currentLine();
  if (const std::optional<std::size_t> lineOffset = offsetWithin(line, around.heldBytes)) {
    FixProver ownProver;
    addFaultFixes(fault, rule, run, around.heldBytesOffset + *lineOffset,
                  around.fixProver != nullptr ? *around.fixProver : ownProver);
  }
  fault.causes.clear();
  appendCauseNames(fault.causes, causes);
  if (!causes.empty() && detail.back() != '?') {
    detail.push_back('.');
  }
  appendLikelyCauses(detail, causes, lineAlone ? *lineAlone : *around.fileShape);
}

}  // namespace marlint

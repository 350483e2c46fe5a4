#include "run/run_state.h"

#include <functional>
#include <utility>

#include "input/text_rules.h"
#include "vocab/vocabularies.h"

namespace marlint {
namespace {

constexpr std::string_view kIllegalFormat = " is illegal format.";
constexpr std::string_view kDuplicatePointName = " is duplicate point name.";

bool isWholeLineRule(Rule rule) {
  return rule == Rule::kHeaderFieldCount || rule == Rule::kRowFieldCount;
}

std::string concatenated(std::string_view first, std::string_view second) {
  std::string text;
  text.reserve(first.size() + second.size());
  text.append(first);
  text.append(second);
  return text;
}

}  // namespace

RunState::RunState() {
  for (const std::string_view name : kStartupXmlLocationNames) {
    xmlLocationNames.add(name);
  }
}

Fault RunState::faultAt(Rule rule, std::string_view offending) const {
  // The texts of a fresh fault are filled by appending: assigning takes the
  // string's general replace path, which a million faults notice.
  Fault fault;
  fault.rule.append(ruleName(rule));
  fault.text.append(offending);
  fault.line = currentLineNumber_;
  fault.column = 1;
  // The offending text is a view into the current line, so its place there
  // gives the column, and the commas before it the field.
  if (const std::optional<std::size_t> offset = offsetWithin(offending, currentLine_)) {
    fault.column = *offset + 1;
    if (!isWholeLineRule(rule)) {
      fault.field = static_cast<int>(countByte(currentLine_.substr(0, *offset), ','));
    }
  }
  fault.columnName.append(columnNameOf(rule, fault.field));
  return fault;
}

bool RunState::record(Fault&& fault, Rule rule) {
  if (resultText.empty()) {
    resultText = fault.message;
  }
  if (onFault) {
    onFault(std::move(fault), rule);
  }
  return true;
}

bool RunState::fail(Rule rule, std::string_view offending, std::string_view suffix) {
  if (silent) {
    silentFailure = rule;
    return true;
  }
  Fault fault = faultAt(rule, offending);
  fault.message = concatenated(offending, suffix);
  return record(std::move(fault), rule);
}

bool RunState::failWithSentence(Rule rule, std::string_view offending, std::string_view sentence) {
  if (silent) {
    silentFailure = rule;
    return true;
  }
  Fault fault = faultAt(rule, offending);
  fault.message.append(sentence);
  return record(std::move(fault), rule);
}

bool RunState::failWithLine(Rule rule, std::string_view offending, std::string_view suffix) {
  if (silent) {
    silentFailure = rule;
    return true;
  }
  Fault fault = faultAt(rule, offending);
  fault.message = concatenated(currentLine_, suffix);
  return record(std::move(fault), rule);
}

bool RunState::failWithoutLine(Rule rule, int errorNumber) {
  fileErrorNumber_ = errorNumber;
  Fault fault;
  fault.rule = ruleName(rule);
  fault.columnName = columnNameOf(rule, -1);
  fault.message.assign(kIllegalFormat);
  return record(std::move(fault), rule);
}

Fault RunState::repeatedNameFault(const NameRepeat& repeat) const {
  Fault fault;
  fault.rule = ruleName(Rule::kDuplicateName);
  fault.line = repeat.repeatLine;
  fault.column = repeat.column;
  fault.field = repeat.field;
  fault.columnName = columnNameOf(Rule::kDuplicateName, repeat.field);
  fault.text.assign(repeat.name);
  fault.message = concatenated(repeat.name, kDuplicatePointName);
  fault.firstLine = repeat.firstLine;
  return fault;
}

bool RunState::failRepeatedName(const NameRepeat& repeat) {
  if (keepGoing) {
    if (resultText.empty()) {
      resultText = concatenated(repeat.name, kDuplicatePointName);
    }
    return true;
  }
  return record(repeatedNameFault(repeat), Rule::kDuplicateName);
}

void RunState::noteUncheckedLines(std::size_t emptyLine, std::size_t lineCount) {
  uncheckedLineCount_ = lineCount;
  if (!onFault) {
    return;
  }
  Fault note;
  note.severity = Severity::kNote;
  note.rule = ruleName(Rule::kUncheckedLines);
  note.line = emptyLine;
  note.column = 1;
  note.columnName = columnNameOf(Rule::kUncheckedLines, -1);
  onFault(std::move(note), Rule::kUncheckedLines);
}

void RunState::reportRepeatedName(const NameRepeat& repeat) {
  if (onFault) {
    onFault(repeatedNameFault(repeat), Rule::kDuplicateName);
  }
}

}  // namespace marlint

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "marlint/marlint.h"
#include "run/rule.h"
#include "vocab/name_set.h"

// Everything one check run writes or derives, in one object the run owns, so
// that two runs in one process never see each other's leftovers.

namespace marlint {

// A point name that an earlier row already has, and where its repeat stands.
struct NameRepeat {
  std::string_view name;
  int field = -1;          // the name's field in its row, from 0
  std::size_t column = 0;  // the byte column where the repeat's name starts
  std::size_t firstLine = 0;
  std::size_t repeatLine = 0;
};

class RunState {
 public:
  // The one result of the run: empty until a check fails or the run ends,
  // then the first fault's whole message, or "OK".
  std::string resultText;

  // XML location names accepted for this run: "Device", "Controller", then
  // one "Path" name per CNC path once the header line is accepted.
  NameSet xmlLocationNames;

  // Data path names accepted for this run, derived from the header line.
  NameSet pathNameSet;

  // Go on after a fault, to find every fault, instead of ending the run at
  // the first one.
  bool keepGoing = false;

  // Give notes too: the lines left unread after the empty line that ends
  // the rows. Reading them is only worth it for a report.
  bool wantsNotes = false;

  // While set, a failing check only returns the failure flag: it records no
  // fault and leaves the result text alone. A run that goes on after faults
  // checks rows this way until its first faulty row, so that a file without
  // faults costs what the plain run costs, and then checks that row again.
  bool silent = false;

  // The rule the last failure broke while the run was silent, so that a
  // check tried on trial can tell one failure from another.
  Rule silentFailure = Rule::kCannotOpen;

  // Row fields, one bit per field counted from 0, whose faulty values the
  // fault being recorded does not hang on: the column is wrong whatever
  // they should have been. 0 for every other fault.
  std::uint16_t faultyPremises = 0;

  // The empty line that ended the point rows, 0 when they ended otherwise.
  std::size_t emptyLineNumber = 0;

  // Receives each fault as it is found, with the rule it breaks. Rows are
  // read in order, so faults arrive in line order; a fault without a line
  // comes last, and notes after every fault.
  std::function<void(Fault&&, Rule)> onFault;

  RunState();

  // The line the checks look at now, and its number (the header line is 1).
  void startLine(std::string_view line) {
    currentLine_ = line;
    ++currentLineNumber_;
  }
  std::string_view currentLine() const { return currentLine_; }
  std::size_t currentLineNumber() const { return currentLineNumber_; }

  // The errno of a point file that could not be opened or read, else 0.
  int fileErrorNumber() const { return fileErrorNumber_; }

  // Each `fail` records one fault, stores its message as the result text
  // unless an earlier fault's message is there, and returns true, the
  // failure flag, so a check can end in `return run.fail(...)`. The two the
  // column checks call are marked cold: a check inlined into the row loop
  // keeps its failure path out of the way of the path a passing column takes.

  // A fault at `offending`, part of the current line; the message is
  // `offending` directly followed by `suffix`.
  [[gnu::cold]] bool fail(Rule rule, std::string_view offending, std::string_view suffix);

  // A fault at `offending`; the message is the fixed `sentence` alone.
  [[gnu::cold]] bool failWithSentence(Rule rule, std::string_view offending,
                                      std::string_view sentence);

  // A fault at `offending`; the message is the whole current line directly
  // followed by `suffix`.
  bool failWithLine(Rule rule, std::string_view offending, std::string_view suffix);

  // A fault of the point file as a whole, which could not be opened or read
  // (`errorNumber` says why) or is empty: it reads as an empty line.
  bool failWithoutLine(Rule rule, int errorNumber);

  // The verdict on point names after the last row: the name first used on
  // `firstLine` occurs again, first on `repeatLine`. When the run goes on
  // after faults, every repeat was already reported as its row was read, so
  // this only stores the result text.
  bool failRepeatedName(const NameRepeat& repeat);

  // A repeat found as the rows are read, when the run goes on after faults:
  // reported at once, in line order, but it leaves the result text alone,
  // since a faulty row further down must still win over a repeated name.
  void reportRepeatedName(const NameRepeat& repeat);

  // The note that `lineCount` lines after the empty line `emptyLine` are not
  // checked. A note leaves the result text alone.
  void noteUncheckedLines(std::size_t emptyLine, std::size_t lineCount);

  // The count of the note being described.
  std::size_t uncheckedLineCount() const { return uncheckedLineCount_; }

 private:
  Fault faultAt(Rule rule, std::string_view offending) const;
  Fault repeatedNameFault(const NameRepeat& repeat) const;
  bool record(Fault&& fault, Rule rule);

  std::string_view currentLine_;
  std::size_t currentLineNumber_ = 0;
  int fileErrorNumber_ = 0;
  std::size_t uncheckedLineCount_ = 0;
};

}  // namespace marlint

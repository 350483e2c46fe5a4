#pragma once

#include <cstddef>
#include <string_view>

#include "explain/file_shape.h"
#include "run/rule.h"
#include "run/run_state.h"

// The evidence of each likely cause: whether the file's shape and the
// fault's own line show it. Evidence alone names no cause: the table of
// causes (explain/file_causes.cpp) names one only where undoing it also
// removes the fault, and says what a report writes.

namespace marlint {

// A fault, as far as its causes go.
struct FaultSite {
  Rule rule;
  std::size_t lineNumber;  // from 1
  std::size_t column;      // from 1
  int field;               // from 0; -1 for a wrong number of fields
  std::string_view text;   // the offending text
  std::string_view line;   // the whole line, as read
  bool endedByLineFeed;    // an LF (or CR LF) followed the line
};

// What the evidence of every cause looks at: the fault, the file's shape,
// the run, and the fault's line and text as the file would read without a UTF-8
// byte-order mark at its start.
struct FaultEvidence {
  FaultEvidence(const FaultSite& faultSite, const FileShape& fileShape, const RunState& checkRun);

  const FaultSite& site;
  const FileShape& shape;
  // The run that found the fault, for the names its rows are checked
  // against.
  const RunState& run;
  // A wrong number of fields: the offending text is the whole line.
  bool wholeLine;
  // The fault's text starts the file.
  bool atFileStart;
  // The line, without the byte-order mark that starts the file.
  std::string_view line;
  // The text, without that mark and without a final CR.
  std::string_view text;
};

bool showsNotText(const FaultEvidence& evidence);
bool showsUtf16Text(const FaultEvidence& evidence);
bool showsCrOnlyLineEnds(const FaultEvidence& evidence);
bool showsDoubledCr(const FaultEvidence& evidence);
bool showsSemicolonSeparators(const FaultEvidence& evidence);
bool showsTabSeparators(const FaultEvidence& evidence);
bool showsByteOrderMark(const FaultEvidence& evidence);
bool showsQuotedFields(const FaultEvidence& evidence);
bool showsPaddedHeader(const FaultEvidence& evidence);
bool showsTrailingCommas(const FaultEvidence& evidence);
bool showsCommaSeparatedCodes(const FaultEvidence& evidence);
bool showsSecondHeaderLine(const FaultEvidence& evidence);
bool showsBlankLine(const FaultEvidence& evidence);

}  // namespace marlint

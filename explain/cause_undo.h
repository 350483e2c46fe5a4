#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marlint/marlint.h"

// What a line would read without a likely cause: the byte edits that undo
// the cause on one line, as the reader gives it (without its LF, or the CR
// LF before it). Each edit's offset counts from the start of the line, so a
// caller that knows where the line starts in the input moves them there by
// adding that offset. The edits come in offset order and never overlap; no
// edits means the line shows nothing of the cause to undo.
//
// A cause is named for a fault only when its undo, checked again, makes the
// fault go away (explain/file_causes.cpp). Causes of the whole file that no
// one line can undo (a file that is not text, UTF-16, lines that end in CR
// alone) have no undo here: see there.

namespace marlint {

// The UTF-8 byte-order mark at the start of the line: dropped.
std::vector<Edit> undoByteOrderMark(std::string_view line);

// The CR that a CR CR LF line end leaves at the end of the line: dropped.
std::vector<Edit> undoDoubledCr(std::string_view line);

// Every semicolon, or every tab, becomes a comma.
std::vector<Edit> undoSemicolonSeparators(std::string_view line);
std::vector<Edit> undoTabSeparators(std::string_view line);

// Fields wrapped in double quotes as spreadsheets write them lose their
// quotes, and a doubled quote inside becomes one. A quoted field may hold
// commas, which stay; a quote that does not wrap a field stays too.
std::vector<Edit> undoQuotedFields(std::string_view line);

// A header line of three fields and then only empty ones: the empty ones
// are dropped, commas and all.
std::vector<Edit> undoHeaderPadding(std::string_view line);

// The comma at the end of the line (before a final CR): dropped.
std::vector<Edit> undoTrailingComma(std::string_view line);

// A CONDITION row with more fields than a row has: the commas between the
// constant value and the fields too many, which hold the codes, become
// blanks.
std::vector<Edit> undoCommaSeparatedCodes(std::string_view line);

// The whole line goes, its line end with it: an edit of the line's bytes
// that leaves it empty (a caller that removes whole lines removes its line
// end too).
std::vector<Edit> undoWholeLine(std::string_view line);

// `line`, or any bytes, with `edits` applied, given in offset order and
// apart.
std::string withEdits(std::string_view line, const std::vector<Edit>& edits);

}  // namespace marlint

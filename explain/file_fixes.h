#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "marlint/marlint.h"

// Fixes of the file as a whole: what a spreadsheet export or another editor
// did to the file (UTF-16 text, lines that end in CR alone) or to every
// line (CR CR LF line ends, quotes around every field, semicolons or tabs
// between the fields, a comma at the end of every row), undone on the
// whole file or on every line of the rows. One row per cause in `kFileFixes`
// (file_fixes.cpp), named as the cause is; a cause without a row has no
// fix yet.

namespace marlint {

// For each cause that the file shows (its bytes as a whole, or every line
// of the rows: the header line, then each row up to the first empty line),
// a record of the file as a whole: `rule` is the cause's stable name,
// `line` and `column` 1, and `fixes` its one fix, `kCertain`, with its
// edits in offset order. The fix is not yet
// proved: the caller checks the fixed bytes.
std::vector<Fault> fileFixesOf(std::string_view bytes);

// How many lines after the empty line that ends the rows hold more than a
// line end: lines the checks do not read.
std::size_t linesAfterRows(std::string_view bytes);

}  // namespace marlint

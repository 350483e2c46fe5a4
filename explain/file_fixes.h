#pragma once

#include <string_view>
#include <vector>

#include "marlint/marlint.h"

// Fixes of the file as a whole: what a spreadsheet export or another editor
// did to every line (a byte-order mark, quotes around every field,
// semicolons or tabs between the fields, a comma at the end of every row),
// undone on every line of the rows. One row per cause in `kFileFixes`
// (file_fixes.cpp), named as the cause is; a cause without a row has no
// fix yet.

namespace marlint {

// For each cause that every line of the rows shows (the header line, then
// each row up to the first empty line), a record of the file as a whole:
// `rule` is the cause's stable name, `line` and `column` 1, and `fixes`
// its one fix, `kCertain`, with an edit for each line. The fix is not yet
// proved: the caller checks the fixed bytes.
std::vector<Fault> fileFixesOf(std::string_view bytes);

}  // namespace marlint

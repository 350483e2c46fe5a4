#pragma once

// marlint checks point files: comma-separated texts that list the data points
// a data-collection system reads from a machine-tool controller. The first
// line, the header line, describes the controller; every further line, up to
// the end of the file or the first empty line, describes one point. A check
// compares every column with fixed vocabularies and ranges and every point
// name with the others.
//
// A check gives one result text, "OK" or the message of the first fault, with
// the status 0 or -1: exactly what the `marlint` command writes and returns.
// It also says where each fault is. Bad input never throws; it is a result.
// There is no global state: any number of threads may check inputs at once.
//
//   #include <marlint/marlint.h>
//
//   const marlint::CheckResult result = marlint::checkBytes(pointFileText);
//   if (result.status != 0) {
//     const marlint::Fault& fault = result.faults.front();
//     std::cerr << "line " << fault.line << ": " << fault.detail << '\n';
//   }

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "marlint/version.h"

namespace marlint {

// What a record of a check is: a fault of the point file, or a note about
// the check itself.
enum class Severity {
  // A fault: the file is refused, and the first fault is the result text.
  kError,
  // A note, such as the lines a check leaves unread after the empty line
  // that ends the rows. A note never changes the result text or the status.
  kNote,
  // A fault that `fixBytes` removed: its one fix is in `Fault::fixes`.
  kFixed,
};

// How sure a fix is: certain where exactly one change is right, maybe where
// a person must choose.
enum class Applicability { kCertain, kMaybe };

// One replacement of bytes of the point file as read.
struct Edit {
  std::size_t offset = 0;  // from the start of the input, in bytes
  std::size_t length = 0;  // how many bytes it replaces
  std::string replacement;
};

// A change that removes a fault: its edits, in offset order, never overlapping.
struct Fix {
  std::string description;  // for people, such as: write "CELSIUS"
  std::vector<Edit> edits;
  Applicability applicability = Applicability::kMaybe;
};

// One fault in a point file: where it is, the text it is about, and the
// message the result text holds when it is the first fault. A note is given
// in the same record, with `severity` saying which it is.
struct Fault {
  // Line of the fault, counted from 1 (the header line is line 1); 0 for a
  // fault that concerns no line: a point file that cannot be opened or read,
  // or that is empty.
  std::size_t line = 0;

  // Byte column, counted from 1, where the offending text starts in its line;
  // 0 when `line` is 0.
  std::size_t column = 0;

  // Field of the offending text in its line, counted from 0 as the point file
  // format counts them (0 is the point kind, 5 the unit, 13 the bit
  // position; 0 to 2 in the header line); -1 when the fault concerns a whole
  // line (a wrong number of fields) or no line.
  int field = -1;

  // The offending column in words, such as "unit" or "start address";
  // "header line" or "point row" for a wrong number of fields, "point file"
  // for a fault without a line.
  std::string columnName;

  // The offending text exactly as the file holds it: a field, a word of a
  // CONDITION column, or the whole line for a wrong number of fields. Empty
  // for a fault without a line.
  std::string text;

  // The result text this fault gives, byte for byte, when it is the first;
  // empty for a note.
  std::string message;

  // A short, stable name of the rule broken, such as "unit-name" or
  // "duplicate-name", for programs that sort or count faults.
  std::string rule;

  // For people: the column, the quoted text, what is accepted there, the
  // suggestions, then "Likely cause: ..." for each cause the file shows
  // that explains the fault, most likely first:
  //   - the file is not text: many of its bytes are NUL or other control bytes
  //   - the file is UTF-16 text (a UTF-16 byte-order mark, or every other byte NUL)
  //   - its lines end in CR alone, so they read as one line
  //   - a line ends in CR CR LF, CR LF line ends converted twice
  //   - semicolons separate the fields
  //   - tabs separate the fields
  //   - the file starts with a UTF-8 byte-order mark
  //   - fields are wrapped in double quotes, which are ordinary bytes here
  //   - the header line is padded with empty fields to the width of the rows
  //   - every row ends in a comma
  //   - CONDITION codes are separated by commas instead of blanks
  //   - a second header line, as when two point files are joined
  //   - a line holds only blanks (only an empty line ends the rows)
  // A cause is named only when undoing it on the fault's line (dropping the
  // mark, commas for semicolons, ...) makes the fault go away; a file that
  // is not text, or UTF-16 text, explains every fault, and only causes its
  // decoded text shows are named beside UTF-16.
  std::string detail;

  // Accepted words close to `text`, for columns with a fixed vocabulary:
  // the same word in other case, one a few typing slips away (two swapped
  // neighbours being one), or the unit name for a usual spelling ("°C",
  // "RPM"). A path name in other case or with other blanks ("path2",
  // "Path 1") gets the one name it writes; a path past the header's count
  // gets none. Never a point name another row uses, where the repeat check
  // compares it (a row of 14 fields whose kind and name pass), before or
  // after it, nor one offered for another row of the same check. Rows
  // after the fault's are looked at when the check goes on after faults or
  // gives notes; a check that stops at its first fault without notes reads
  // none of them, and only the rows before count.
  std::vector<std::string> suggestions;

  // The stable names of the causes the detail names, most likely first,
  // such as "trailing-commas" or "utf16-text"; empty when it names none.
  std::vector<std::string> causes;

  // For a repeated point name, the line where the name first appears;
  // 0 for every other fault.
  std::size_t firstLine = 0;

  // `Severity::kError` for a fault, `Severity::kNote` for a note.
  Severity severity = Severity::kError;

  // The changes that remove the fault, each proved on its line: the fixed
  // line has no fault the line did not have. `kCertain` where exactly one
  // change is right (a word in other case, a unit spelling that names one
  // unit, two swapped letters with one candidate, "Path" for "Path1", a
  // byte-order mark before the header line, the one edit that gives a row
  // its 14 fields); `kMaybe`, one fix per candidate, where a person must
  // choose. None where no change is known, or where every candidate would
  // make another fault (a path past the header's count).
  std::vector<Fix> fixes;
};

// How far a check goes.
enum class Scope {
  // Stop at the first fault, as the result text does.
  kFirstFault,
  // Go on after the first fault and report every fault, in line and column
  // order: a column whose check depends on a faulty column is reported when
  // no value of that column would accept it, and the rows are checked after
  // a faulty header line too: a faulty DCS ladder changes nothing for them,
  // and a path count the line does not give is taken as the largest, so a
  // row's path is a fault only when no count would accept it.
  kEveryFault,
};

struct CheckOptions {
  Scope scope = Scope::kFirstFault;

  // When set, each fault is handed to it as soon as it is known, in line
  // order, instead of being collected in `CheckResult::faults`: a file with
  // millions of faults is then reported without holding them. Notes, when
  // asked for, are handed to it too. Once a point name is suggested, the
  // names of the rows after it are held, to keep them out of suggestions;
  // from a stream that cannot go back (a pipe, standard input), the rest of
  // its rows, up to the empty line that ends them, are held as well.
  std::function<void(const Fault&)> onFault;

  // Also give notes, after the faults: where an empty line ends the rows
  // while non-empty lines follow it, a note at that line says how many lines
  // after it are not read, so that faults there do not show in the result
  // (every line after it is counted, empty ones included).
  // Counting them reads the rest of the input, which a check without notes
  // never does. A check that stops at a fault before that line gives none.
  // A check with notes also reads the rows after a fault to keep the names
  // they use out of suggestions (see `Fault::suggestions`).
  bool includeNotes = false;

  // When set, called whenever the check has used every byte it has read
  // from a pipe or terminal (standard input, say) and is about to wait for
  // more: a client that passes faults on as they come writes out what it
  // holds, so a slow writer's reader sees them at once. Never called for a
  // regular file or for bytes in memory.
  std::function<void()> beforeInputWait;
};

struct CheckResult {
  // "OK", or the message of the first fault. The scope does not change it.
  std::string resultText = "OK";

  // 0 when the result text is "OK", -1 otherwise.
  int status = 0;

  // The faults found, in line order (a fault without a line comes last):
  // no fault for "OK", the fault of the result text with `Scope::kFirstFault`,
  // every fault with `Scope::kEveryFault`. The notes asked for follow the
  // faults. Empty when `onFault` is set.
  std::vector<Fault> faults;
};

// Checks the point file at `path`, read as bytes (CR LF and LF line ends are
// both accepted). Exactly "-" reads standard input, as on the command line.
// A file that cannot be opened or read gives a fault, not an exception.
CheckResult checkFile(const std::string& path, const CheckOptions& options = {});

// Checks point file bytes already in memory, without copying them.
CheckResult checkBytes(std::string_view bytes, const CheckOptions& options = {});

// Checks the point file read from `stream`, an open stream, from where it
// stands to its end, in blocks as `checkFile` reads a file: the memory the
// input takes follows the longest line, not the file. A point name
// suggestion reads the rows after its fault once, where the check goes on
// after faults or gives notes: a regular file is read in place and set
// back, any other stream is read ahead into memory, up to the empty line
// that ends the rows, and then checked from there. The stream is left
// open. A stream that fails to read gives a fault, not an exception.
CheckResult checkStream(std::FILE* stream, const CheckOptions& options = {});

// What `fixBytes` gives: the input with every certain fix applied, and what
// the person still has to do.
struct FixResult {
  // The input with every certain fix applied; every other byte, line ends,
  // bytes that are not UTF-8 and the lines after the rows included, is kept.
  std::string bytes;

  // Each fault a fix removed, with `severity` `Severity::kFixed` and the
  // one fix applied in `fixes`: its line, column and edits are those of the
  // input. In offset order; no two fixes overlap.
  std::vector<Fault> applied;

  // Every fault and note of `bytes` as `Scope::kEveryFault` with notes
  // gives them: where they stand in the fixed bytes.
  std::vector<Fault> remaining;
};

// Applies every certain fix to `bytes`, again on the result while a fix
// reveals another, so that fixing the result changes nothing. A fix is
// certain only where the fixed bytes have no fault the input lacked: a
// point name is never changed to one another row has. Fixes of the whole
// file (UTF-16 text saved as UTF-8, lines that end in CR alone or in
// CR CR LF, semicolons or tabs between the fields, quotes around them, a
// padded header line, a comma at the end of every row) come as one record
// each in `applied`, with the rule named as the likely cause is
// ("utf16-text"), and are applied only where no row is left unread. The result text and
// status of the input are those of `checkBytes(bytes)`; this does not
// change them.
FixResult fixBytes(std::string_view bytes);

// Appends `fault` to `out` as one report line and a line end, byte for byte
// the line `marlint --locate` and `--all` write for it:
// "FILE:LINE:COLUMN: error: DETAIL", "FILE: error: DETAIL" for a fault
// without a line, and "note" or "fixed" instead of "error" for a note or a
// fixed fault. `fileName` is
// the point file as the line names it ("<stdin>" for standard input).
void appendFaultLine(std::string& out, std::string_view fileName, const Fault& fault);

// Appends `fault` to `out` as one JSON object and a line end, byte for byte
// the line `marlint --json` writes for it; `fileName` is the point file as
// the line names it ("<stdin>" for standard input). Text that is not valid
// UTF-8 is escaped, so the line is always valid JSON.
void appendFaultJson(std::string& out, std::string_view fileName, const Fault& fault);

}  // namespace marlint

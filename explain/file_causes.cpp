#include "explain/file_causes.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <iterator>
#include <optional>

#include "explain/cause_undo.h"
#include "explain/line_recheck.h"

namespace marlint {
namespace {

// A cause in a report: "<sentence>: <action>".
struct Wording {
  std::string_view sentence;  // what the file shows, and how it came about
  std::string_view action;    // what to do about it
};

// A wording that replaces the usual one where `applies` holds for the file.
struct WordingWhere {
  bool (FileShape::*applies)() const;
  Wording wording;
};

struct LikelyCause {
  std::string_view name;  // stable: tests and people name the cause by it
  std::string_view description;
  bool (*holds)(const FaultEvidence&);
  // What the fault's line reads without the cause (explain/cause_undo.h);
  // nullptr for a cause of the whole file that no line can undo, whose
  // evidence is its proof.
  std::vector<Edit> (*undo)(std::string_view line);
  Wording wording;
  WordingWhere otherWording = {nullptr, {}};
  // The cause explains every fault, and whatever else the bytes seem to
  // show is an artefact of it: no other cause is named beside it.
  bool explainsEveryFault = false;
};

constexpr bool kExplainsEveryFault = true;

// Most likely first. Each row's description is what README.md, doc/marlint.1
// and include/marlint/marlint.h list, word for word.
constexpr LikelyCause kCauses[] = {
    // A file that is not text, or UTF-16 text, is not undone line by line:
    // its every line reads otherwise, and the bytes it shows prove it.
    {"not-text",
     "the file is not text: many of its bytes are NUL or other control bytes",
     showsNotText,
     nullptr,
     {"the file is not text, as its many control bytes show",
      "check that this is the point file, saved as comma-separated text"},
     {},
     kExplainsEveryFault},
    {"utf16-text",
     "the file is UTF-16 text (a UTF-16 byte-order mark, or every other byte NUL)",
     showsUtf16Text,
     nullptr,
     {"the file is UTF-16 text, with a NUL byte beside every character", "save it as UTF-8"},
     {&FileShape::utf16ByteOrderMark,
      {"the file is UTF-16 text, as its byte-order mark shows", "save it as UTF-8"}},
     kExplainsEveryFault},
    // The one line that CR line ends make of the file holds every row: no
    // check of it alone shows what its lines would read.
    {"cr-line-ends",
     "its lines end in CR alone, so they read as one line",
     showsCrOnlyLineEnds,
     nullptr,
     {"the file's lines end in CR alone, so they read as one line", "end lines with LF or CR LF"}},
    {"doubled-cr",
     "a line ends in CR CR LF, CR LF line ends converted twice",
     showsDoubledCr,
     undoDoubledCr,
     {"the line ends in CR CR LF, as when CR LF line ends are converted twice",
      "end lines with LF or CR LF"},
     {&FileShape::hasDoubledCrLineEnds,
      {"the file's lines end in CR CR LF, as when CR LF line ends are converted twice",
       "end lines with LF or CR LF"}}},
    {"semicolon-separators",
     "semicolons separate the fields",
     showsSemicolonSeparators,
     undoSemicolonSeparators,
     {"fields are separated by semicolons, as spreadsheets export them in some languages",
      "separate them with commas"}},
    {"tab-separators",
     "tabs separate the fields",
     showsTabSeparators,
     undoTabSeparators,
     {"fields are separated by tabs", "separate them with commas"}},
    {"byte-order-mark",
     "the file starts with a UTF-8 byte-order mark",
     showsByteOrderMark,
     undoByteOrderMark,
     {"the file starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), which spreadsheet "
      "exports add",
      "save it without one"}},
    {"quoted-fields",
     "fields are wrapped in double quotes, which are ordinary bytes here",
     showsQuotedFields,
     undoQuotedFields,
     {"double quotes wrap a field, but here they are ordinary bytes that group no commas",
      "remove them"},
     {&FileShape::hasQuotedLines,
      {"the file wraps its fields in double quotes, as spreadsheet exports do",
       "quotes are ordinary bytes here, so save it without them"}}},
    {"padded-header",
     "the header line is padded with empty fields to the width of the rows",
     showsPaddedHeader,
     undoHeaderPadding,
     {"the header line is padded with empty fields to the width of the rows, as spreadsheets do",
      "keep its first 3 fields only"}},
    {"trailing-commas",
     "every row ends in a comma",
     showsTrailingCommas,
     undoTrailingComma,
     {"every row ends in a comma, which adds a fifteenth field",
      "remove the comma at the end of each row"}},
    {"comma-separated-codes",
     "CONDITION codes are separated by commas instead of blanks",
     showsCommaSeparatedCodes,
     undoCommaSeparatedCodes,
     {"the CONDITION codes seem separated by commas, which separate fields",
      "separate them with single blanks"}},
    // A line that goes leaves no fault behind: its evidence proves the rest.
    {"second-header-line",
     "a second header line, as when two point files are joined",
     showsSecondHeaderLine,
     undoWholeLine,
     {"the line looks like a second header line, as when two point files are joined", "remove it"}},
    {"blank-line",
     "a line holds only blanks (only an empty line ends the rows)",
     showsBlankLine,
     undoWholeLine,
     {"the line holds only blanks, and only an empty line ends the rows", "remove it"}},
};

constexpr std::size_t kCauseCount = std::size(kCauses);
static_assert(kCauseCount <= 32, "FileCauses holds 32 causes at most");

constexpr bool isWorded(const Wording& wording) {
  return !wording.sentence.empty() && !wording.action.empty();
}

// Every row has its evidence and its words, so a cause that is named is
// never left without a sentence; and no two rows share a name.
constexpr bool isEveryRowComplete() {
  for (std::size_t i = 0; i < kCauseCount; ++i) {
    const LikelyCause& cause = kCauses[i];
    if (cause.name.empty() || cause.description.empty() || cause.holds == nullptr ||
        !isWorded(cause.wording) ||
        (cause.otherWording.applies != nullptr && !isWorded(cause.otherWording.wording))) {
      return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (kCauses[j].name == cause.name) {
        return false;
      }
    }
  }
  return true;
}
static_assert(isEveryRowComplete(), "a cause lacks its name, evidence or words, or repeats a name");

void appendWording(std::string& out, const LikelyCause& cause, const FileShape& shape) {
  const WordingWhere& other = cause.otherWording;
  const Wording& wording =
      other.applies != nullptr && (shape.*other.applies)() ? other.wording : cause.wording;
  out.append(wording.sentence);
  out.append(": ");
  out.append(wording.action);
}

// Finds the causes of one fault: those the file shows, and of them those
// whose undo makes the fault go away.
//
// The fault's line is undone and checked again, alone: the header line as
// the header, a row against the names the run's rows are checked against.
// No row fault depends on undoing the header line: a cause that spoils the
// header makes it faulty, and the rows after a faulty header are checked
// against the widest counts.
//
// A fault of the whole line (a wrong number of fields) goes away when the
// undone line checks in full: a row that then has the right number of
// fields but faulty columns was not explained. A fault of a column goes
// away when the undone line has the right number of fields, no fault at
// that column, and no more faults than before: undoing may reveal a column
// that a fault left unchecked, but must not spoil one.
//
// Where no cause alone removes the fault, several may together: quotes
// around CONDITION codes separated by a comma are two slips, neither of
// which alone gives a row that checks. The smallest sets of shown causes
// whose undos, in the table's order, remove the fault name their members,
// up to three at once; each is needed, since no smaller set works.
class CauseFinder {
 public:
  CauseFinder(const FaultSite& site, const FileShape& shape, const RunState& run)
      : site_(site), shape_(shape), run_(run), isHeader_(site.lineNumber == 1) {}

  FileCauses provedCauses() {
    const FaultEvidence evidence(site_, shape_, run_);
    FileCauses named;
    std::array<std::size_t, kCauseCount> undoable{};
    std::size_t undoableCount = 0;
    for (std::size_t place = 0; place < kCauseCount; ++place) {
      const LikelyCause& cause = kCauses[place];
      if (!cause.holds(evidence)) {
        continue;
      }
      if (cause.explainsEveryFault) {
        FileCauses only;
        only.add(place);
        // The bytes of a file that is not text show nothing beside it.
        if (cause.holds == showsUtf16Text) {
          addCausesAsUtf8(only);
        }
        return only;
      }
      if (cause.undo == undoWholeLine || cause.undo == nullptr) {
        named.add(place);
        if (cause.holds == showsCrOnlyLineEnds) {
          addCausesOfFirstLine(named);
        }
      } else {
        undoable[undoableCount++] = place;
      }
    }
    addSmallestUndoingSets(named, undoable.data(), undoableCount);
    return named;
  }

 private:
  static constexpr std::size_t kMostCausesAtOnce = 3;
  static constexpr std::size_t kLongestUndoneLine = 64 * 1024;

  // Adds the members of the smallest sets of `places` whose undos together
  // remove the fault. A million faulty rows each with a cause alone cost
  // one check per cause shown.
  void addSmallestUndoingSets(FileCauses& named, const std::size_t* places, std::size_t count) {
    // No row that long checks, undone or not, and copying it for each set
    // would cost a file's size each time: such a line keeps its causes
    // unproved.
    if (site_.line.size() > kLongestUndoneLine) {
      return;
    }
    const std::uint32_t all = (std::uint32_t{1} << count) - 1;
    for (std::size_t size = 1; size <= std::min(count, kMostCausesAtOnce); ++size) {
      bool found = false;
      for (std::uint32_t set = 1; set <= all; ++set) {
        if (static_cast<std::size_t>(std::bitset<kCauseCount>(set).count()) != size ||
            !removesFault(undone(set, places, count))) {
          continue;
        }
        found = true;
        for (std::size_t i = 0; i < count; ++i) {
          if ((set >> i & 1) != 0) {
            named.add(places[i]);
          }
        }
      }
      if (found) {
        return;
      }
    }
  }

  // The fault's line with the causes of `set` (bits over `places`) undone,
  // one after the other in the table's order.
  std::string undone(std::uint32_t set, const std::size_t* places, std::size_t count) const {
    std::string line(site_.line);
    for (std::size_t i = 0; i < count; ++i) {
      if ((set >> i & 1) != 0) {
        line = withEdits(line, kCauses[places[i]].undo(line));
      }
    }
    return line;
  }

  bool removesFault(std::string_view line) {
    const std::vector<LineFault> faults = faultsOfLine(line, isHeader_, run_);
    if (site_.field < 0) {
      return faults.empty();
    }
    for (const LineFault& fault : faults) {
      if (fault.field < 0 || fault.field == site_.field) {
        return false;
      }
    }
    return faults.size() <= faultsBefore().size();
  }

  // The line's own faults, checked alone as an undone line is.
  const std::vector<LineFault>& faultsBefore() {
    if (!faultsBefore_) {
      faultsBefore_ = faultsOfLine(site_.line, isHeader_, run_);
    }
    return *faultsBefore_;
  }

  // Beside UTF-16, the causes of the fault's line as it reads saved as
  // UTF-8: tabs for commas in a UTF-16 export, say.
  void addCausesAsUtf8(FileCauses& named) const {
    std::string line = withoutUtf16Halves(site_.line);
    // Read as UTF-8, the CR of a CR LF line end is no part of the line.
    if (site_.endedByLineFeed && !line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    addCausesOfUndoneLine(line, named);
  }

  // Beside CR line ends, the causes of the first line that the fault's line
  // holds: semicolons for commas in a file with CR line ends, say.
  void addCausesOfFirstLine(FileCauses& named) const {
    addCausesOfUndoneLine(std::string(site_.line.substr(0, site_.line.find('\r'))), named);
  }

  // The causes of the first fault of `line`, the fault's line with a cause
  // of the whole file undone, judged by the sample undone so too.
  void addCausesOfUndoneLine(const std::string& line, FileCauses& named) const {
    const FileShape* undoneShape = shape_.shapeUndone();
    if (undoneShape == nullptr) {
      return;
    }
    const std::vector<LineFault> faults = faultsOfLine(line, isHeader_, run_);
    if (faults.empty() || faults.front().column == 0) {
      return;
    }
    const LineFault& first = faults.front();
    const std::string_view lineView = line;
    const FaultSite undoneSite{
        first.rule,
        site_.lineNumber,
        first.column,
        first.field,
        first.field < 0 ? lineView : lineView.substr(first.column - 1, first.textSize),
        lineView,
        site_.endedByLineFeed};
    const FileCauses beside = CauseFinder(undoneSite, *undoneShape, run_).provedCauses();
    for (std::size_t place = 0; place < kCauseCount; ++place) {
      if (beside.has(place)) {
        named.add(place);
      }
    }
  }

  const FaultSite& site_;
  const FileShape& shape_;
  const RunState& run_;
  const bool isHeader_;
  std::optional<std::vector<LineFault>> faultsBefore_;
};

}  // namespace

FileCauses likelyCausesOf(const FaultSite& site, const FileShape& shape, const RunState& run) {
  if (site.lineNumber == 0 || site.rule == Rule::kDuplicateName) {
    return {};
  }
  return CauseFinder(site, shape, run).provedCauses();
}

void appendLikelyCauses(std::string& out, FileCauses causes, const FileShape& shape) {
  // The heading counts the rows that are written, and only those.
  std::array<const LikelyCause*, kCauseCount> named{};
  std::size_t count = 0;
  for (std::size_t place = 0; place < kCauseCount; ++place) {
    if (causes.has(place)) {
      named[count++] = &kCauses[place];
    }
  }
  if (count == 0) {
    return;
  }
  out.append(count == 1 ? " Likely cause: " : " Likely causes, most likely first: ");
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) {
      out.append("; ");
    }
    appendWording(out, *named[i], shape);
  }
}

void appendCauseNames(std::vector<std::string>& names, FileCauses causes) {
  for (std::size_t place = 0; place < kCauseCount; ++place) {
    if (causes.has(place)) {
      names.emplace_back(kCauses[place].name);
    }
  }
}

std::vector<LikelyCauseEntry> likelyCauseEntries() {
  std::vector<LikelyCauseEntry> entries;
  for (const LikelyCause& cause : kCauses) {
    entries.push_back({cause.name, cause.description});
  }
  return entries;
}

}  // namespace marlint

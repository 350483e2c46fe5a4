#include "explain/file_causes.h"

#include <array>
#include <iterator>

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
    {"not-text",
     "the file is not text: many of its bytes are NUL or other control bytes",
     showsNotText,
     {"the file is not text, as its many control bytes show",
      "check that this is the point file, saved as comma-separated text"},
     {},
     kExplainsEveryFault},
    {"utf16-text",
     "the file is UTF-16 text (a UTF-16 byte-order mark, or every other byte NUL)",
     showsUtf16Text,
     {"the file is UTF-16 text, with a NUL byte beside every character", "save it as UTF-8"},
     {&FileShape::utf16ByteOrderMark,
      {"the file is UTF-16 text, as its byte-order mark shows", "save it as UTF-8"}},
     kExplainsEveryFault},
    {"cr-line-ends",
     "its lines end in CR alone, so they read as one line",
     showsCrOnlyLineEnds,
     {"the file's lines end in CR alone, which ends no line here, so its lines read as one",
      "end lines with LF or CR LF"}},
    {"doubled-cr",
     "a line ends in CR CR LF, CR LF line ends converted twice",
     showsDoubledCr,
     {"the line ends in CR CR LF, as when CR LF line ends are converted twice",
      "end lines with LF or CR LF"},
     {&FileShape::hasDoubledCrLineEnds,
      {"the file's lines end in CR CR LF, as when CR LF line ends are converted twice",
       "end lines with LF or CR LF"}}},
    {"semicolon-separators",
     "semicolons separate the fields",
     showsSemicolonSeparators,
     {"fields are separated by semicolons, as spreadsheets export them in some languages",
      "separate them with commas"}},
    {"tab-separators",
     "tabs separate the fields",
     showsTabSeparators,
     {"fields are separated by tabs", "separate them with commas"}},
    {"byte-order-mark",
     "the file starts with a UTF-8 byte-order mark",
     showsByteOrderMark,
     {"the file starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), which spreadsheet "
      "exports add",
      "save it without one"}},
    {"quoted-fields",
     "fields are wrapped in double quotes, which are ordinary bytes here",
     showsQuotedFields,
     {"double quotes are ordinary bytes here",
      "they neither group fields nor are removed from them"},
     {&FileShape::hasQuotedLines,
      {"the file wraps its fields in double quotes, as spreadsheet exports do",
       "quotes are ordinary bytes here, so save it without them"}}},
    {"padded-header",
     "the header line is padded with empty fields to the width of the rows",
     showsPaddedHeader,
     {"the header line is padded with empty fields to the width of the rows, as spreadsheets do",
      "keep its first 3 fields only"}},
    {"trailing-commas",
     "every row ends in a comma",
     showsTrailingCommas,
     {"every row ends in a comma, which adds a fifteenth field",
      "remove the comma at the end of each row"}},
    {"comma-separated-codes",
     "CONDITION codes are separated by commas instead of blanks",
     showsCommaSeparatedCodes,
     {"the CONDITION codes seem separated by commas, which separate fields",
      "separate them with single blanks"}},
    {"second-header-line",
     "a second header line, as when two point files are joined",
     showsSecondHeaderLine,
     {"the line looks like a second header line, as when two point files are joined", "remove it"}},
    {"blank-line",
     "a line holds only blanks (only an empty line ends the rows)",
     showsBlankLine,
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

}  // namespace

FileCauses likelyCausesOf(const FaultSite& site, const FileShape& shape) {
  FileCauses causes;
  if (site.lineNumber == 0 || site.rule == Rule::kDuplicateName) {
    return causes;
  }
  const FaultEvidence evidence(site, shape);
  for (std::size_t place = 0; place < kCauseCount; ++place) {
    const LikelyCause& cause = kCauses[place];
    if (!cause.holds(evidence)) {
      continue;
    }
    if (cause.explainsEveryFault) {
      FileCauses only;
      only.add(place);
      return only;
    }
    causes.add(place);
  }
  return causes;
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

std::vector<LikelyCauseEntry> likelyCauseEntries() {
  std::vector<LikelyCauseEntry> entries;
  for (const LikelyCause& cause : kCauses) {
    entries.push_back({cause.name, cause.description});
  }
  return entries;
}

}  // namespace marlint

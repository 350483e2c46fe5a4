#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "run/rule.h"

// Why a file made by another tool does not read as a point file, as far as
// its bytes show: what spreadsheet exports, other editors and joined files
// leave in it. A cause is named from what the file shows, not from one
// field: a sample of its lines is looked at once, when the first fault is
// described, and each fault then names the causes that explain it.

namespace marlint {

// The causes a report can name, most likely first.
enum class FileCause : std::uint8_t {
  kUtf16Text,
  kCrOnlyLineEnds,
  kDoubledCr,  // CR CR LF: CR LF line ends converted once more
  kSemicolonSeparators,
  kTabSeparators,
  kByteOrderMark,
  kQuotedFields,
  kPaddedHeader,  // a spreadsheet pads the header to the width of the rows
  kTrailingCommas,
  kCommaSeparatedCodes,
  kSecondHeaderLine,  // two point files joined
  kBlankLine,
};

// A set of causes, kept in their order of likelihood.
class FileCauses {
 public:
  void add(FileCause cause) { bits_ |= bitOf(cause); }
  bool has(FileCause cause) const { return (bits_ & bitOf(cause)) != 0; }
  bool empty() const { return bits_ == 0; }

 private:
  static std::uint32_t bitOf(FileCause cause) {
    return std::uint32_t{1} << static_cast<unsigned>(cause);
  }
  std::uint32_t bits_ = 0;
};

// What a sample of the file's lines shows about the whole file.
class FileShape {
 public:
  // The shape of the input around `line`, from the bytes the input holds:
  // `held`, which starts at the input's first byte when `heldFromStart` and
  // ends at its last when `heldToEnd`. At most 64 KiB of whole lines are
  // looked at: from the start of the file when `line` lies within them,
  // otherwise from `line` on.
  static FileShape around(std::string_view held, bool heldFromStart, bool heldToEnd,
                          std::string_view line);

  // The shape of `sample`, whole lines of the input; `fromFileStart` when
  // its first line is the file's first.
  static FileShape of(std::string_view sample, bool fromFileStart);

  bool isUtf16() const { return utf16_; }
  bool utf16ByteOrderMark() const { return utf16ByteOrderMark_; }
  bool startsWithByteOrderMark() const { return byteOrderMark_; }
  // More CRs end a line than LFs do. Away from the file's start a sample
  // may hold one unended line only, and one CR in it is no line end.
  bool hasCrOnlyLineEnds() const {
    return bareCrs_ > lineFeeds_ && (fromFileStart_ || bareCrs_ > 1);
  }
  // Most lines end in CR CR LF.
  bool hasDoubledCrLineEnds() const { return 2 * doubledCrs_ > lineFeeds_; }
  // Most lines wrap their fields in double quotes.
  bool hasQuotedLines() const { return 2 * quotedLines_ > shapedLines_; }
  // Every row looked at ends in a comma that adds a fifteenth field.
  bool hasTrailingCommas() const { return rows_ > 0 && trailingCommaRows_ == rows_; }
  // The number of fields of the first row looked at; 0 for none.
  std::size_t firstRowWidth() const { return firstRowWidth_; }

 private:
  bool fromFileStart_ = false;
  bool utf16_ = false;
  bool utf16ByteOrderMark_ = false;
  bool byteOrderMark_ = false;
  std::size_t lineFeeds_ = 0;
  std::size_t bareCrs_ = 0;      // CRs followed by a byte that ends no line
  std::size_t doubledCrs_ = 0;   // lines that end in CR CR LF
  std::size_t shapedLines_ = 0;  // lines with something besides blanks
  std::size_t quotedLines_ = 0;
  std::size_t rows_ = 0;  // shaped lines after the header line
  std::size_t trailingCommaRows_ = 0;
  std::size_t firstRowWidth_ = 0;
};

// A fault, as far as its causes go.
struct FaultSite {
  Rule rule;
  std::size_t lineNumber;  // from 1
  std::size_t column;      // from 1
  std::string_view text;   // the offending text
  std::string_view line;   // the whole line, as read
  bool endedByLineFeed;    // an LF (or CR LF) followed the line
};

// The causes that `shape` and the fault's own line show for `site`.
FileCauses likelyCausesOf(const FaultSite& site, const FileShape& shape);

// Appends " Likely cause: ..." or " Likely causes: ...; ..." for `causes`,
// most likely first; nothing for none.
void appendLikelyCauses(std::string& out, FileCauses causes, const FileShape& shape);

}  // namespace marlint

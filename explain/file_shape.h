#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// What a sample of a file's lines shows about the whole file: its encoding,
// its line ends, how its lines are shaped. The sample is looked at once,
// when the first fault is described; the causes of each fault are judged
// from it (explain/cause_evidence.h).

namespace marlint {

// How a line looks, to the sample and to the evidence of a cause alike.

inline constexpr std::string_view kUtf8ByteOrderMark = "\xef\xbb\xbf";

inline std::string_view withoutByteOrderMark(std::string_view text) {
  return text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark
             ? text.substr(kUtf8ByteOrderMark.size())
             : text;
}

inline std::string_view withoutFinalCr(std::string_view text) {
  return !text.empty() && text.back() == '\r' ? text.substr(0, text.size() - 1) : text;
}

// Blanks and tabs, at least one.
inline bool isBlankOnly(std::string_view line) {
  return !line.empty() && line.find_first_not_of(" \t") == std::string_view::npos;
}

inline bool isWrappedInQuotes(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// UTF-16 text as the bytes it would be saved as UTF-8, as far as a point
// file's characters go: they are ASCII, each a byte and a NUL in UTF-16. A
// UTF-16 byte-order mark at the start is dropped, and so is every NUL.
std::string withoutUtf16Halves(std::string_view text);

// Text whose lines end in CR alone, with an LF for each CR that ends a
// line: one followed by a byte other than LF, or ending the text.
std::string withLineFeedsForCrs(std::string_view text);

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
  // The shape of the sample as it reads once a cause of the whole file is
  // undone: UTF-16 text saved as UTF-8 (`withoutUtf16Halves`), or lines
  // that end in CR alone ended by LF (`withLineFeedsForCrs`); what the text
  // shows beside that cause. Null when the sample shows neither.
  const FileShape* shapeUndone() const { return undone_.get(); }
  // Many control bytes, not UTF-16: a program, an archive or a workbook
  // rather than text.
  bool isNotText() const;
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
  // `sample` as `of` takes it, and the bytes around it whose control bytes
  // are counted: the sample, or more of the file than its whole lines.
  static FileShape of(std::string_view sample, std::string_view bytes, bool fromFileStart,
                      bool undone = false);
  void countControlBytes(std::string_view bytes);
  void addLine(std::string_view line, bool ended, bool isHeader);

  bool fromFileStart_ = false;
  bool utf16_ = false;
  bool utf16ByteOrderMark_ = false;
  bool byteOrderMark_ = false;
  std::size_t countedBytes_ = 0;
  std::size_t controlBytes_ = 0;       // below 0x20 or 0x7f, but not NUL, tab, CR or LF
  std::array<std::size_t, 2> nuls_{};  // NULs at even and at odd offsets
  std::size_t lineFeeds_ = 0;
  std::size_t bareCrs_ = 0;      // CRs followed by a byte that ends no line
  std::size_t doubledCrs_ = 0;   // lines that end in CR CR LF
  std::size_t shapedLines_ = 0;  // lines with something besides blanks
  std::size_t quotedLines_ = 0;
  std::size_t rows_ = 0;  // shaped lines after the header line
  std::size_t trailingCommaRows_ = 0;
  std::size_t firstRowWidth_ = 0;
  std::shared_ptr<const FileShape> undone_;
};

}  // namespace marlint

#include "explain/file_shape.h"

#include <algorithm>
#include <optional>

#include "checks/point_record.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kSampleSize = 64 * 1024;
// Enough bytes to see whether every other one is NUL.
constexpr std::size_t kUtf16Window = 512;
constexpr std::size_t kUtf16LeastBytes = 8;
constexpr std::size_t kRowFieldCount = row_field::kCount;
// A file is not text when at least this many of its sampled bytes, and at
// least one in this many, are control bytes that no text holds: a stray one
// in a text does not make it one.
constexpr std::size_t kNotTextLeastBytes = 8;
constexpr std::size_t kNotTextShare = 16;

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// Every other byte NUL: ASCII text written as UTF-16, in either byte order.
bool looksLikeUtf16(std::string_view bytes) {
  const std::size_t size = std::min(bytes.size(), kUtf16Window) & ~std::size_t{1};
  if (size < kUtf16LeastBytes) {
    return false;
  }
  std::array<std::size_t, 2> nuls{};
  for (std::size_t i = 0; i < size; ++i) {
    nuls[i % 2] += bytes[i] == '\0' ? 1 : 0;
  }
  const std::size_t half = size / 2;
  // Nine in ten: a character beyond ASCII has no NUL half.
  const auto mostly = [half](std::size_t count) { return 10 * count >= 9 * half; };
  const auto hardly = [half](std::size_t count) { return 10 * count <= half; };
  return (mostly(nuls[0]) && hardly(nuls[1])) || (mostly(nuls[1]) && hardly(nuls[0]));
}

bool startsWithUtf16ByteOrderMark(std::string_view text) {
  return startsWith(text, "\xff\xfe") || startsWith(text, "\xfe\xff");
}

bool isControlByteOfNoText(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return (value < 0x20 && byte != '\0' && byte != '\t' && byte != '\r' && byte != '\n') ||
         value == 0x7f;
}

}  // namespace

FileShape FileShape::around(std::string_view held, bool heldFromStart, bool heldToEnd,
                            std::string_view line) {
  const std::optional<std::size_t> offset = offsetWithin(line, held);
  if (!offset) {
    return of(line, false);
  }
  const std::size_t lineOffset = *offset;
  const char* const heldEnd = held.data() + held.size();
  const bool fromStart = heldFromStart && lineOffset < kSampleSize;
  const std::string_view window = held.substr(fromStart ? 0 : lineOffset, kSampleSize);
  // Only whole lines: what follows the last LF may go on beyond the sample
  // or beyond what was read. Bytes are counted in the whole window, since
  // a file that is not text may hold few LFs.
  std::string_view sample = window;
  const bool cut = window.data() + window.size() != heldEnd || !heldToEnd;
  const std::size_t lastLineFeed = window.rfind('\n');
  if (cut && lastLineFeed != std::string_view::npos) {
    sample = window.substr(0, lastLineFeed + 1);
  }
  return of(sample, window, fromStart);
}

FileShape FileShape::of(std::string_view sample, bool fromFileStart) {
  return of(sample, sample, fromFileStart);
}

std::string withoutUtf16Halves(std::string_view text) {
  if (startsWithUtf16ByteOrderMark(text)) {
    text.remove_prefix(2);
  }
  std::string bytes;
  bytes.reserve(text.size() / 2 + 1);
  for (const char byte : text) {
    if (byte != '\0') {
      bytes.push_back(byte);
    }
  }
  return bytes;
}

std::string withLineFeedsForCrs(std::string_view text) {
  std::string lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\r' && (i + 1 == lines.size() || lines[i + 1] != '\n')) {
      lines[i] = '\n';
    }
  }
  return lines;
}

FileShape FileShape::of(std::string_view sample, std::string_view bytes, bool fromFileStart,
                        bool undone) {
  FileShape shape;
  shape.fromFileStart_ = fromFileStart;
  // Text saved again from UTF-16 is not looked at as UTF-16 once more.
  if (fromFileStart && !undone) {
    shape.utf16ByteOrderMark_ = startsWithUtf16ByteOrderMark(sample);
    shape.utf16_ = shape.utf16ByteOrderMark_ || looksLikeUtf16(sample);
  }
  if (fromFileStart) {
    shape.byteOrderMark_ = startsWith(sample, kUtf8ByteOrderMark);
  }
  shape.countControlBytes(bytes);
  bool isHeader = fromFileStart;
  std::size_t from = 0;
  while (from < sample.size()) {
    const std::size_t lineFeed = sample.find('\n', from);
    const bool ended = lineFeed != std::string_view::npos;
    shape.addLine(sample.substr(from, ended ? lineFeed - from : std::string_view::npos), ended,
                  isHeader);
    from = ended ? lineFeed + 1 : sample.size();
    isHeader = false;
  }
  // Once undone, the text shows neither again: it has no NULs and no CR
  // that ends a line.
  if (shape.utf16_) {
    const std::string asUtf8 = withoutUtf16Halves(sample);
    shape.undone_ = std::make_shared<const FileShape>(of(asUtf8, asUtf8, fromFileStart, true));
  } else if (shape.hasCrOnlyLineEnds()) {
    const std::string lines = withLineFeedsForCrs(sample);
    shape.undone_ = std::make_shared<const FileShape>(of(lines, lines, fromFileStart, true));
  }
  return shape;
}

void FileShape::countControlBytes(std::string_view bytes) {
  countedBytes_ = bytes.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    nuls_[i % 2] += bytes[i] == '\0' ? 1 : 0;
    controlBytes_ += isControlByteOfNoText(bytes[i]) ? 1 : 0;
  }
}

// Text holds no control bytes but tab, CR and LF, and NULs only as halves
// of UTF-16 characters, which all lie at even or all at odd offsets.
bool FileShape::isNotText() const {
  const std::size_t strayNuls = nuls_[0] > 0 && nuls_[1] > 0 ? nuls_[0] + nuls_[1] : 0;
  const std::size_t notText = controlBytes_ + strayNuls;
  return !utf16_ && notText >= kNotTextLeastBytes && notText * kNotTextShare >= countedBytes_;
}

// `line` without its LF; `ended` when an LF followed it.
void FileShape::addLine(std::string_view line, bool ended, bool isHeader) {
  if (ended) {
    ++lineFeeds_;
    // Reading drops one CR before the LF; one more is a doubled CR.
    line = withoutFinalCr(line);
    if (!line.empty() && line.back() == '\r') {
      ++doubledCrs_;
    }
  }
  for (std::size_t cr = line.find('\r'); cr != std::string_view::npos && cr + 1 < line.size();
       cr = line.find('\r', cr + 1)) {
    bareCrs_ += line[cr + 1] != '\r' ? 1 : 0;
  }
  line = withoutFinalCr(isHeader ? withoutByteOrderMark(line) : line);
  if (line.empty() || isBlankOnly(line)) {
    return;
  }
  ++shapedLines_;
  quotedLines_ += isWrappedInQuotes(line) ? 1 : 0;
  if (!isHeader) {
    ++rows_;
    // An empty last field is a comma at the end too: only one field too
    // many is a trailing comma.
    trailingCommaRows_ += line.back() == ',' && fieldCountOf(line) == kRowFieldCount + 1 ? 1 : 0;
    if (firstRowWidth_ == 0) {
      firstRowWidth_ = fieldCountOf(line);
    }
  }
}

}  // namespace marlint

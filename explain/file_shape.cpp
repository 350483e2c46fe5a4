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
  std::string_view sample = held.substr(fromStart ? 0 : lineOffset, kSampleSize);
  // Only whole lines: what follows the last LF may go on beyond the sample
  // or beyond what was read.
  const bool cut = sample.data() + sample.size() != heldEnd || !heldToEnd;
  const std::size_t lastLineFeed = sample.rfind('\n');
  if (cut && lastLineFeed != std::string_view::npos) {
    sample = sample.substr(0, lastLineFeed + 1);
  }
  return of(sample, fromStart);
}

FileShape FileShape::of(std::string_view sample, bool fromFileStart) {
  FileShape shape;
  shape.fromFileStart_ = fromFileStart;
  if (fromFileStart) {
    shape.utf16ByteOrderMark_ = startsWith(sample, "\xff\xfe") || startsWith(sample, "\xfe\xff");
    shape.utf16_ = shape.utf16ByteOrderMark_ || looksLikeUtf16(sample);
    shape.byteOrderMark_ = startsWith(sample, kUtf8ByteOrderMark);
  }
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
  return shape;
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

#include "input/text_rules.h"

#include <algorithm>
#include <array>
#include <limits>

namespace marlint {
namespace {

// The white space the lenient reader skips: blank, tab, LF, VT, FF and CR.
constexpr bool isAsciiSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// One table lookup per byte instead of two range compares: names, the most
// tested text, are letters and digits from end to end.
constexpr std::array<bool, 256> kIsAlnumByte = [] {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    table[static_cast<std::size_t>(byte)] = isAsciiAlnum(static_cast<char>(byte));
  }
  return table;
}();

}  // namespace

bool isAllAlnum(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return kIsAlnumByte[static_cast<unsigned char>(c)]; });
}

bool isAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

std::int32_t readLeadingInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && isAsciiSpace(text[pos])) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Ten digits fit in 64 bits; more than ten are past the 32-bit range
  // anyway, so any number of digits is read without overflow.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  constexpr std::size_t kDigitsThatFit = 10;
  const std::size_t firstDigit = pos;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos) {
    if (pos - firstDigit < kDigitsThatFit) {
      magnitude = magnitude * 10 + (text[pos] - '0');
    } else {
      magnitude = kLimit;
    }
  }
  magnitude = std::min(kLimit, magnitude);
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::optional<std::uint32_t> readAllDigits(std::string_view text) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  for (const char c : text) {
    if (!isAsciiDigit(c)) {
      return std::nullopt;
    }
    value = std::min(kMax, value * 10 + static_cast<std::uint64_t>(c - '0'));
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace marlint

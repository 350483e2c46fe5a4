#include "input/text_rules.h"

#include <algorithm>
#include <limits>

namespace marlint {
namespace {

// The white space the lenient reader skips: blank, tab, LF, VT, FF and CR.
constexpr bool isAsciiSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool isAllAlnum(std::string_view text) {
  return std::all_of(text.begin(), text.end(), isAsciiAlnum);
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
  // Accumulate in 64 bits and stop growing once past the 32-bit range, so
  // any number of digits is read without overflow.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[pos] - '0'));
  }
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

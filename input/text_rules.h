#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>

// Character classes and number readers for column text. They are fixed ASCII
// rules that no locale changes: bytes from 0x80 up are neither letters nor
// digits, and numbers saturate instead of overflowing.

namespace marlint {

constexpr bool isAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool isAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool isAsciiAlnum(char c) {
  return isAsciiLetter(c) || isAsciiDigit(c);
}

// True when `a` and `b` hold the same bytes: whole text, case-sensitive.
// Inline and a word at a time, since the keys a column is compared with are
// short and a library call per compare would cost more than the compare.
inline bool sameText(std::string_view a, std::string_view b) {
  const std::size_t size = a.size();
  if (size != b.size()) {
    return false;
  }
  // Loads of 8, 4 or 2 bytes; the last one ends with the texts and may
  // overlap the one before, so no byte past either text is read.
  const auto same = [&a, &b](std::size_t at, auto width) {
    decltype(width) left;
    decltype(width) right;
    std::memcpy(&left, a.data() + at, sizeof left);
    std::memcpy(&right, b.data() + at, sizeof right);
    return left == right;
  };
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 < size; at += 8) {
      if (!same(at, std::uint64_t{})) {
        return false;
      }
    }
    return same(size - 8, std::uint64_t{});
  }
  if (size >= 4) {
    return same(0, std::uint32_t{}) && same(size - 4, std::uint32_t{});
  }
  if (size >= 2) {
    return same(0, std::uint16_t{}) && same(size - 2, std::uint16_t{});
  }
  return size == 0 || a[0] == b[0];
}

// True when every character is an ASCII letter or digit; true for "".
bool isAllAlnum(std::string_view text);

// The two ways `isAllAlnum` can look at a text: 16 bytes at a time with SSE2
// compares where the target has them, and one byte at a time everywhere.
// Both are exposed so that they can be checked against each other.
bool isAllAlnumPortable(std::string_view text);
#if defined(__SSE2__)
#define MARLINT_HAS_SSE2_ALNUM 1
bool isAllAlnumSse2(std::string_view text);
#endif

// True when every character is an ASCII digit; true for "".
bool isAllDigits(std::string_view text);

// Reads a decimal integer the lenient way: skips leading white space, takes
// one optional sign, then the digits up to the first other character and
// ignores the rest. Text without digits reads as 0. Values beyond the 32-bit
// signed range saturate at its ends, so they never fall inside a small range.
std::int32_t readLeadingIntByFullRule(std::string_view text);

// The same, inline for what number columns hold nearly always: up to nine
// plain digits, which cannot overflow. Anything else takes the full rule.
inline std::int32_t readLeadingInt(std::string_view text) {
  constexpr std::size_t kDigitsThatFit = 9;
  if (text.size() > kDigitsThatFit) {
    return readLeadingIntByFullRule(text);
  }
  std::int32_t value = 0;
  for (const char c : text) {
    if (!isAsciiDigit(c)) {
      return readLeadingIntByFullRule(text);
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

// Reads text that must consist of digits only ("" reads as 0). Returns
// nothing when any other character appears; values beyond 32 bits saturate
// at the largest unsigned 32-bit value.
std::optional<std::uint32_t> readAllDigits(std::string_view text);

// How many bytes of `text` are `byte`, eight bytes at a time: a report finds
// the field of every fault by counting the commas in front of it.
std::size_t countByte(std::string_view text, char byte);

// Where the first `byte` of `text` is, from its start; nothing when it
// has none. Lines are found this way. The C library's memchr where it looks
// at many bytes at a time; in the web build, whose C library reads a word
// at a time, 16 bytes at a time with SSE2 compares. The SSE2 form is exposed
// where the target has it, to be checked against memchr.
std::optional<std::size_t> findByte(std::string_view text, char byte);
#if defined(__SSE2__)
#define MARLINT_HAS_SSE2_FIND_BYTE 1
std::optional<std::size_t> findByteSse2(std::string_view text, char byte);
#endif

// How many fields a comma split of `line` gives: one more than its commas.
inline std::size_t fieldCountOf(std::string_view line) {
  return countByte(line, ',') + 1;
}

// Where the view `part` starts within `whole`, when it starts there; a view
// that starts just past the last byte starts at `whole.size()`. Views into
// other buffers give nothing: std::less orders any two pointers.
inline std::optional<std::size_t> offsetWithin(std::string_view part, std::string_view whole) {
  const std::less<const char*> before;
  if (part.data() == nullptr || whole.data() == nullptr || before(part.data(), whole.data()) ||
      before(whole.data() + whole.size(), part.data())) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(part.data() - whole.data());
}

}  // namespace marlint

#pragma once

#include <cstdint>
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

// True when every character is an ASCII letter or digit; true for "".
bool isAllAlnum(std::string_view text);

// True when every character is an ASCII digit; true for "".
bool isAllDigits(std::string_view text);

// Reads a decimal integer the lenient way: skips leading white space, takes
// one optional sign, then the digits up to the first other character and
// ignores the rest. Text without digits reads as 0. Values beyond the 32-bit
// signed range saturate at its ends, so they never fall inside a small range.
std::int32_t readLeadingInt(std::string_view text);

// Reads text that must consist of digits only ("" reads as 0). Returns
// nothing when any other character appears; values beyond 32 bits saturate
// at the largest unsigned 32-bit value.
std::optional<std::uint32_t> readAllDigits(std::string_view text);

}  // namespace marlint

#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

// Point file bytes written into a report: quoted for people in a one-line
// message, or as a JSON string. Either way the output is valid UTF-8 on one
// line, whatever bytes the file holds. And numbers, written the same way.

namespace marlint {

// The length of the well-formed UTF-8 sequence starting at `bytes[at]`
// (1 for an ASCII byte), or 0 when no well-formed sequence starts there:
// a stray continuation byte, a truncated, overlong or surrogate sequence,
// or one beyond U+10FFFF.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);

// Whether a quote for people shows `text` whole; a longer one is cut and
// followed by its size, such as "AVeryVeryLong..." (85 bytes).
bool isQuotedWhole(std::string_view text);

// Appends `text` in double quotes for a message line. A double quote and a
// backslash get a backslash in front; tab, CR and LF are written \t, \r,
// \n; every other control byte, every byte outside a well-formed UTF-8
// sequence, and the invisible byte-order mark are written \xHH. A text
// longer than 60 bytes is cut after 40 and written "first bytes..." (N bytes).
void appendQuotedForPeople(std::string& out, std::string_view text);

// Appends `text` as a JSON string. Well-formed UTF-8 is kept as it is;
// a byte outside a well-formed sequence is written \u00HH, the code point
// with the byte's value, so the line stays valid JSON and the value of every
// byte can still be read.
void appendJsonString(std::string& out, std::string_view text);

// Appends `value` in decimal, without allocating beyond `out` itself.
template <typename Integer>
void appendDecimal(std::string& out, Integer value) {
  std::array<char, 24> digits{};
  const auto converted = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  // A pointer and a length: the iterator-range append takes the slower
  // general replace path, which a report of a million faults notices.
  out.append(digits.data(), static_cast<std::size_t>(converted.ptr - digits.data()));
}

}  // namespace marlint

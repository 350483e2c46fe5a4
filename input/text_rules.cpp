#include "input/text_rules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool isAllAlnumPortable(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return kIsAlnumByte[static_cast<unsigned char>(c)]; });
}

#if defined(__SSE2__)
namespace {

// True when all 16 bytes are ASCII letters or digits. The compares are
// signed, so bytes from 0x80 up, negative, fall below every range; setting
// bit 5 folds upper-case letters onto lower-case ones.
bool isAlnumBlock(__m128i bytes) {
  const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
  const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
  const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                       _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
  return _mm_movemask_epi8(_mm_or_si128(digit, letter)) == 0xFFFF;
}

__m128i loadBlock(const char* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

}  // namespace

bool isAllAlnumSse2(std::string_view text) {
  const char* const data = text.data();
  const std::size_t size = text.size();
  if (size < 8) {
    return isAllAlnumPortable(text);
  }
  if (size < 16) {
    // The first and the last eight bytes, overlapping, cover the text
    // without reading past it.
    std::uint64_t first;
    std::uint64_t last;
    std::memcpy(&first, data, sizeof first);
    std::memcpy(&last, data + size - 8, sizeof last);
    return isAlnumBlock(
        _mm_set_epi64x(static_cast<long long>(last), static_cast<long long>(first)));
  }
  for (std::size_t at = 0; at + 16 < size; at += 16) {
    if (!isAlnumBlock(loadBlock(data + at))) {
      return false;
    }
  }
  return isAlnumBlock(loadBlock(data + size - 16));
}
#endif

bool isAllAlnum(std::string_view text) {
#if defined(__SSE2__)
  return isAllAlnumSse2(text);
#else
  return isAllAlnumPortable(text);
#endif
}

bool isAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

std::int32_t readLeadingIntByFullRule(std::string_view text) {
  const char* next = text.data();
  const char* const end = next + text.size();
  while (next != end && isAsciiSpace(*next)) {
    ++next;
  }
  bool negative = false;
  if (next != end && (*next == '+' || *next == '-')) {
    negative = *next == '-';
    ++next;
  }
  // Zeros in front never make a value larger: skip them, then count only
  // significant digits. Ten of them fit in 64 bits; an eleventh is past the
  // 32-bit range anyway, so any number of digits is read without overflow.
  while (next != end && *next == '0') {
    ++next;
  }
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  constexpr std::ptrdiff_t kDigitsThatFit = 10;
  const char* const fitEnd = end - next > kDigitsThatFit ? next + kDigitsThatFit : end;
  std::int64_t magnitude = 0;
  for (; next != fitEnd && isAsciiDigit(*next); ++next) {
    magnitude = magnitude * 10 + (*next - '0');
  }
  if (next != end && isAsciiDigit(*next)) {
    magnitude = kLimit;
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

#if defined(__SSE2__)
std::optional<std::size_t> findByteSse2(std::string_view text, char byte) {
  const __m128i pattern = _mm_set1_epi8(byte);
  std::size_t at = 0;
  for (; at + 16 <= text.size(); at += 16) {
    const int equal = _mm_movemask_epi8(_mm_cmpeq_epi8(loadBlock(text.data() + at), pattern));
    if (equal != 0) {
      return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(equal)));
    }
  }
  for (; at < text.size(); ++at) {
    if (text[at] == byte) {
      return at;
    }
  }
  return std::nullopt;
}
#endif

std::optional<std::size_t> findByte(std::string_view text, char byte) {
#if defined(__EMSCRIPTEN__) && defined(__SSE2__)
  return findByteSse2(text, byte);
#else
  const void* const found = std::memchr(text.data(), byte, text.size());
  if (found == nullptr) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
#endif
}

std::size_t countByte(std::string_view text, char byte) {
  constexpr std::uint64_t kLowBits = 0x0101010101010101;
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  constexpr std::uint64_t kSevenBits = 0x7f7f7f7f7f7f7f7f;
  const std::uint64_t pattern = kLowBits * static_cast<unsigned char>(byte);
  std::size_t count = 0;
  std::size_t at = 0;
  for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, sizeof(word));
    // A byte equal to `byte` is zero in `word ^ pattern`; only zero bytes
    // keep their high bit clear after adding seven bits and or-ing back.
    const std::uint64_t differing = word ^ pattern;
    const std::uint64_t nonZero = ((differing & kSevenBits) + kSevenBits) | differing;
    const std::uint64_t equalHighBits = ~nonZero & kHighBits;
    // One bit per equal byte, summed into the top byte by the multiply.
    count += static_cast<std::size_t>(((equalHighBits >> 7) * kLowBits) >> 56);
  }
  for (; at < text.size(); ++at) {
    count += text[at] == byte ? 1 : 0;
  }
  return count;
}

}  // namespace marlint

#include "input/split_fields.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace marlint {
namespace {

constexpr std::size_t kBlockSize = 16;
constexpr std::size_t kChunkSize = 64;

// Bit i is set when block[i] is the delimiter, for the 16 bytes at `block`.
std::uint32_t delimiterBitsPortable(const char* block, char delimiter) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    bits |= static_cast<std::uint32_t>(block[i] == delimiter) << i;
  }
  return bits;
}

#if defined(__SSE2__)
// The same with one compare of all 16 bytes. The load is the unaligned one:
// a line starts anywhere in the read buffer.
std::uint32_t delimiterBitsSse2(const char* block, char delimiter) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
  const __m128i equal = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(delimiter));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(equal));
}
#endif

using DelimiterBits = std::uint32_t (*)(const char* block, char delimiter);

// The delimiter bits of the last `remaining` (1 to 15) bytes of `text`, read
// without touching a byte past its end: a text of 16 bytes or
// more reads the last 16 bytes and drops the bits of those already seen; a
// shorter one is copied into a zeroed block first.
template <DelimiterBits delimiterBits>
std::uint32_t tailDelimiterBits(std::string_view text, std::size_t remaining, char delimiter) {
  if (text.size() >= kBlockSize) {
    return delimiterBits(text.data() + text.size() - kBlockSize, delimiter) >>
           (kBlockSize - remaining);
  }
  char block[kBlockSize] = {};
  std::memcpy(block, text.data() + text.size() - remaining, remaining);
  return delimiterBits(block, delimiter) & ((std::uint32_t{1} << remaining) - 1);
}

// The delimiter bits of the up to 64 bytes of `text` from `chunkStart`, four
// blocks of 16 in one word.
template <DelimiterBits delimiterBits>
std::uint64_t chunkDelimiterBits(std::string_view text, std::size_t chunkStart, char delimiter) {
  std::uint64_t bits = 0;
  for (std::size_t block = 0; block < kChunkSize / kBlockSize; ++block) {
    const std::size_t blockStart = chunkStart + block * kBlockSize;
    if (blockStart >= text.size()) {
      break;
    }
    const std::size_t remaining = text.size() - blockStart;
    const std::uint64_t blockBits =
        remaining >= kBlockSize ? delimiterBits(text.data() + blockStart, delimiter)
                                : tailDelimiterBits<delimiterBits>(text, remaining, delimiter);
    bits |= blockBits << (block * kBlockSize);
  }
  return bits;
}

// Walks `text` in chunks of 64 bytes and turns every delimiter bit of a
// chunk into one field end. A point row mostly fits in one or two chunks,
// so the loop over the bits ends, hard to predict, only once or twice a row.
template <DelimiterBits delimiterBits>
std::size_t splitByBlocks(std::string_view text, char delimiter, std::string_view* fields,
                          std::size_t capacity) {
  std::string_view* next = fields;
  std::string_view* const end = fields + capacity;
  const char* fieldStart = text.data();
  for (std::size_t chunkStart = 0; chunkStart < text.size(); chunkStart += kChunkSize) {
    const char* const chunk = text.data() + chunkStart;
    const std::uint64_t bits = chunkDelimiterBits<delimiterBits>(text, chunkStart, delimiter);
    for (std::uint64_t left = bits; left != 0; left &= left - 1) {
      const char* const delimiterAt = chunk + static_cast<unsigned>(__builtin_ctzll(left));
      if (next == end) {
        return capacity + 1;
      }
      *next++ = std::string_view(fieldStart, static_cast<std::size_t>(delimiterAt - fieldStart));
      fieldStart = delimiterAt + 1;
    }
  }
  if (next == end) {
    return capacity + 1;
  }
  *next++ = std::string_view(fieldStart,
                             text.size() - static_cast<std::size_t>(fieldStart - text.data()));
  return static_cast<std::size_t>(next - fields);
}

}  // namespace

std::size_t splitFieldsIntoPortable(std::string_view text, char delimiter, std::string_view* fields,
                                    std::size_t capacity) {
  return splitByBlocks<delimiterBitsPortable>(text, delimiter, fields, capacity);
}

#if defined(__SSE2__)
std::size_t splitFieldsIntoSse2(std::string_view text, char delimiter, std::string_view* fields,
                                std::size_t capacity) {
  return splitByBlocks<delimiterBitsSse2>(text, delimiter, fields, capacity);
}
#endif

std::size_t splitFieldsInto(std::string_view text, char delimiter, std::string_view* fields,
                            std::size_t capacity) {
#if defined(__SSE2__)
  return splitFieldsIntoSse2(text, delimiter, fields, capacity);
#else
  return splitFieldsIntoPortable(text, delimiter, fields, capacity);
#endif
}

std::vector<std::string_view> splitFields(std::string_view text, char delimiter) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(delimiter, start);
    if (end == std::string_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace marlint

#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace marlint {

// Splits `text` on every `delimiter` byte into views over `text`. N
// delimiters give N+1 fields; empty fields count wherever they fall, and
// there is no quoting, escaping or trimming.
std::vector<std::string_view> splitFields(std::string_view text, char delimiter);

// The same split into at most `capacity` fields at `fields`. Returns the
// number of fields the text has, but counts no further than capacity + 1,
// so a caller can tell "too many" without splitting a hostile line into
// millions of pieces.
std::size_t splitFieldsInto(std::string_view text, char delimiter, std::string_view* fields,
                            std::size_t capacity);

template <std::size_t N>
std::size_t splitFieldsInto(std::string_view text, char delimiter,
                            std::array<std::string_view, N>& fields) {
  return splitFieldsInto(text, delimiter, fields.data(), N);
}

// The two ways `splitFieldsInto` can find delimiters, 16 bytes at a time:
// with SSE2 compares where the target has them, and with a plain byte loop
// everywhere. `splitFieldsInto` uses the first one the target supports; both
// are exposed so that they can be checked against each other.
std::size_t splitFieldsIntoPortable(std::string_view text, char delimiter, std::string_view* fields,
                                    std::size_t capacity);
#if defined(__SSE2__)
#define MARLINT_HAS_SSE2_SPLIT 1
std::size_t splitFieldsIntoSse2(std::string_view text, char delimiter, std::string_view* fields,
                                std::size_t capacity);
#endif

}  // namespace marlint

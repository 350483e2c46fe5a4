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

}  // namespace marlint

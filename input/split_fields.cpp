#include "input/split_fields.h"

namespace marlint {

std::size_t splitFieldsInto(std::string_view text, char delimiter, std::string_view* fields,
                            std::size_t capacity) {
  // A plain byte loop: point row fields are a few bytes long, too short for
  // a library search per field to pay off.
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == delimiter) {
      if (count == capacity) {
        return capacity + 1;
      }
      fields[count++] = std::string_view(text.data() + start, i - start);
      start = i + 1;
    }
  }
  if (count == capacity) {
    return capacity + 1;
  }
  fields[count++] = text.substr(start);
  return count;
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

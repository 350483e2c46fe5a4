#include "input/split_fields.h"

namespace marlint {

std::size_t splitFieldsInto(std::string_view text, char delimiter, std::string_view* fields,
                            std::size_t capacity) {
  std::size_t count = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(delimiter, start);
    const std::size_t length = end == std::string_view::npos ? std::string_view::npos : end - start;
    if (count < capacity) {
      fields[count] = text.substr(start, length);
    }
    ++count;
    if (end == std::string_view::npos || count > capacity) {
      return count;
    }
    start = end + 1;
  }
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

#include "points/name_index.h"

namespace marlint {

std::optional<std::size_t> NameIndex::noteName(std::string_view name, std::size_t line) {
  const auto [entry, isNew] = firstLines_.try_emplace(std::string(name), line);
  if (isNew) {
    return std::nullopt;
  }
  return entry->second;
}

}  // namespace marlint

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace marlint {

// Point names in the order their rows are read, for a run that goes on after
// faults and reports each repeated name at the row where it repeats.
class NameIndex {
 public:
  // Notes `name`, read on `line`. Returns the line it was first noted on
  // when it was noted before (the name keeps its first line).
  std::optional<std::size_t> noteName(std::string_view name, std::size_t line);

 private:
  std::unordered_map<std::string, std::size_t> firstLines_;
};

}  // namespace marlint

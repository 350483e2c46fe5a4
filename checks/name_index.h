#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "checks/name_arena.h"

namespace marlint {

// Point names in the order their rows are read, for a run that goes on after
// faults and reports each repeated name at the row where it repeats. Names
// are copied into a NameArena; a hash table of handles, at most half full and
// doubled when it fills, finds them again: linear memory, amortised constant
// time per name.
class NameIndex {
 public:
  // Notes `name`, read on `line`. Returns the line it was first noted on
  // when it was noted before (the name keeps its first line).
  std::optional<std::size_t> noteName(std::string_view name, std::size_t line);

 private:
  struct Slot {
    std::uint64_t hash = 0;
    NameArena::Handle handle = kFree;
    std::size_t firstLine = 0;
  };
  static constexpr NameArena::Handle kFree = ~NameArena::Handle{0};

  void grow();

  NameArena names_;
  std::uint64_t hashSeed_ = randomHashSeed();
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace marlint

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/name_arena.h"

namespace marlint {

// Point names in the order their rows are read, for a run that goes on after
// faults and reports each repeated name at the row where it repeats. Each
// name is copied into a NameArena behind the line it was first noted on, and
// a hash table of 8-byte keys (24 bits of the name's hash above its handle),
// at most half full and doubled when it fills, finds it again: linear
// memory, a third of what slots holding the whole hash and the line would
// take, and amortised constant time per name.
class NameIndex {
 public:
  // Notes `name`, read on `line`. Returns the line it was first noted on
  // when it was noted before (the name keeps its first line).
  std::optional<std::size_t> noteName(std::string_view name, std::size_t line);

  // True when `name` was noted.
  bool holds(std::string_view name) const;

 private:
  using Key = std::uint64_t;
  static constexpr Key kFree = ~Key{0};  // no handle is all ones

  // An entry of the arena: the first line in eight bytes, then the name.
  static constexpr std::size_t kLineBytes = 8;

  static std::uint64_t hashBitsOf(std::uint64_t hash) { return hash >> NameArena::kHandleBits; }
  std::string_view nameIn(std::string_view entry) const { return entry.substr(kLineBytes); }
  void grow();

  NameArena entries_;
  std::uint64_t hashSeed_ = randomHashSeed();
  std::vector<Key> slots_;
  std::size_t used_ = 0;
  std::string entry_;  // the entry being written, kept for its storage
};

}  // namespace marlint

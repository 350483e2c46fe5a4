#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace marlint {

// A short list of names that a run fixes once, before the first point row:
// the XML location names and the data path names. A lookup reads one slot of
// a small table and makes one exact compare: each time a name is added, the
// table is rebuilt with a multiplier that gives every name a home slot of its
// own. Should no multiplier do that, names that share a home slot go to the
// next free ones, so a lookup may read a few more slots but never misses.
class NameSet {
 public:
  NameSet();
  NameSet(std::initializer_list<std::string_view> names);

  // Appends `name`; holds at most 64 names.
  void add(std::string_view name);

  // True when `text` equals one of the names: whole text, byte for byte.
  bool contains(std::string_view text) const;

  // The names in the order they were added.
  const std::vector<std::string>& names() const { return names_; }

 private:
  static constexpr std::size_t kSlotCount = 128;
  static constexpr std::uint8_t kEmptySlot = 0xFF;

  std::size_t homeSlotOf(std::string_view text) const;
  bool placeAll(bool requireOwnHomeSlots);

  std::vector<std::string> names_;
  std::uint32_t multiplier_;
  std::array<std::uint8_t, kSlotCount> slots_;
};

}  // namespace marlint

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "input/text_rules.h"

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
  bool contains(std::string_view text) const {
    for (std::size_t slot = homeSlotOf(text); slots_[slot] != kEmptySlot;
         slot = (slot + 1) % kSlotCount) {
      if (sameText(names_[slots_[slot]], text)) {
        return true;
      }
    }
    return false;
  }

  // The names in the order they were added.
  const std::vector<std::string>& names() const { return names_; }

 private:
  static constexpr std::size_t kSlotCount = 128;
  static constexpr std::uint8_t kEmptySlot = 0xFF;

  // The run's names differ in their length, first or last byte ("Path2" and
  // "Path3", "CNC path 1" and "PMC path 1"), so those three bytes place them.
  std::size_t homeSlotOf(std::string_view text) const {
    std::uint32_t shape = static_cast<std::uint32_t>(text.size() & 0xFF) << 16;
    if (!text.empty()) {
      shape |= static_cast<std::uint32_t>(static_cast<unsigned char>(text.front())) << 8 |
               static_cast<unsigned char>(text.back());
    }
    return (shape * multiplier_) >> 25;  // the top 7 bits: 0 to 127
  }
  bool placeAll(bool requireOwnHomeSlots);

  std::vector<std::string> names_;
  std::uint32_t multiplier_;
  std::array<std::uint8_t, kSlotCount> slots_;
};

}  // namespace marlint

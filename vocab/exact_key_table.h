#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "input/text_rules.h"

namespace marlint {

// A fixed list of keys where a lookup reads one slot and makes one exact
// compare. A key's slot comes from its length and one of its bytes, the one
// `byteFromEnd` places before its end (the first byte of a shorter key); the
// constructor looks for a multiplier that gives every key a slot of its own
// and fails the build when there is none. Keys keep their table order: a
// lookup gives the key's index in that order.
template <std::size_t N>
class ExactKeyTable {
 public:
  static constexpr std::size_t kSlotCount = 128;

  constexpr ExactKeyTable(const std::array<std::string_view, N>& keys, std::size_t byteFromEnd)
      : keys_(keys), byteFromEnd_(byteFromEnd) {
    static_assert(N < kEmptySlot, "a slot holds an index below 255");
    for (std::size_t multiplier = 1; multiplier < kSlotCount; ++multiplier) {
      if (placeAllKeys(multiplier)) {
        multiplier_ = multiplier;
        return;
      }
    }
    throw "no multiplier gives every key a slot of its own";
  }

  // The index of `key` in table order, or nothing. Whole key, byte for byte.
  std::optional<std::size_t> indexOf(std::string_view key) const {
    const std::uint8_t index = slots_[slotOf(key, multiplier_)];
    if (index == kEmptySlot || !sameText(keys_[index], key)) {
      return std::nullopt;
    }
    return index;
  }

  constexpr const std::array<std::string_view, N>& keys() const { return keys_; }

 private:
  static constexpr std::uint8_t kEmptySlot = 0xFF;

  constexpr std::size_t slotOf(std::string_view key, std::size_t multiplier) const {
    const std::size_t size = key.size();
    const std::size_t from = size < byteFromEnd_ ? size : byteFromEnd_;
    const std::size_t byte = size == 0 ? 0 : static_cast<unsigned char>(key[size - from]);
    return (size * multiplier + byte) % kSlotCount;
  }

  // Fills the slots for one multiplier; false when two keys share a slot.
  constexpr bool placeAllKeys(std::size_t multiplier) {
    for (std::uint8_t& slot : slots_) {
      slot = kEmptySlot;
    }
    for (std::size_t i = 0; i < N; ++i) {
      std::uint8_t& slot = slots_[slotOf(keys_[i], multiplier)];
      if (slot != kEmptySlot) {
        return false;
      }
      slot = static_cast<std::uint8_t>(i);
    }
    return true;
  }

  std::array<std::string_view, N> keys_;
  std::size_t byteFromEnd_;
  std::size_t multiplier_ = 0;
  std::array<std::uint8_t, kSlotCount> slots_{};
};

}  // namespace marlint

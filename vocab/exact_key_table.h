#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "input/text_rules.h"

namespace marlint {

namespace exact_key_table_failure {

// The table's constructor calls these while compiling, when its keys cannot
// be placed. Two texts that are not one array have no order while compiling,
// so the comparison stops the build, and the compiler's message shows the
// keys: g++ prints the comparison with both texts, clang++ the call with its
// arguments. Neither returns true.
inline constexpr char kThisKeyRepeats[] = "this key repeats:";
constexpr bool keyRepeats(const char* key) {
  return kThisKeyRepeats < key && false;
}
constexpr bool keysShareEverySlot(const char* key, const char* other) {
  return key < other && false;
}

}  // namespace exact_key_table_failure

// A fixed list of keys where a lookup reads one slot and makes one exact
// compare. A key's slot comes from its length and one of its bytes, the one
// `byteFromEnd` places before its end (the first byte of a shorter key),
// times a multiplier. The constructor, run while compiling, tries every byte
// position and multiplier until each key has a slot of its own; when none
// does, or a key repeats, the build stops and names the keys. Keys keep
// their table order: a lookup gives the key's index in that order.
template <std::size_t N>
class ExactKeyTable {
 public:
  static constexpr std::size_t kSlotCount = 128;

  constexpr explicit ExactKeyTable(const std::array<std::string_view, N>& keys) : keys_(keys) {
    static_assert(N <= kSlotCount, "a table holds at most one key per slot");
    failOnRepeatedKey();
    std::size_t longest = 1;
    for (const std::string_view key : keys_) {
      longest = key.size() > longest ? key.size() : longest;
    }
    // The attempt that placed the most keys before two met names the pair.
    Attempt best;
    for (std::size_t byteFromEnd = 1; byteFromEnd <= longest; ++byteFromEnd) {
      for (std::size_t multiplier = 1; multiplier < kSlotCount; ++multiplier) {
        const Attempt attempt = tryPlacing(byteFromEnd, multiplier);
        if (attempt.placed == N) {
          return;
        }
        best = attempt.placed >= best.placed ? attempt : best;
      }
    }
    if (!exact_key_table_failure::keysShareEverySlot(keys_[best.placed].data(),
                                                     keys_[best.occupant].data())) {
      throw "no byte position and multiplier give every key a slot of its own";
    }
  }

  // The index of `key` in table order, or nothing. Whole key, byte for byte.
  std::optional<std::size_t> indexOf(std::string_view key) const {
    const std::uint8_t index = slots_[slotOf(key, byteFromEnd_, multiplier_)];
    if (index == kEmptySlot || !sameText(keys_[index], key)) {
      return std::nullopt;
    }
    return index;
  }

  constexpr const std::array<std::string_view, N>& keys() const { return keys_; }

 private:
  static constexpr std::uint8_t kEmptySlot = 0xFF;

  // How far one byte position and multiplier got: the keys placed before the
  // first that found its slot taken, and the key already in that slot.
  struct Attempt {
    std::size_t placed = 0;
    std::size_t occupant = 0;
  };

  static constexpr std::size_t slotOf(std::string_view key, std::size_t byteFromEnd,
                                      std::size_t multiplier) {
    const std::size_t size = key.size();
    const std::size_t from = size < byteFromEnd ? size : byteFromEnd;
    const std::size_t byte = size == 0 ? 0 : static_cast<unsigned char>(key[size - from]);
    return (size * multiplier + byte) % kSlotCount;
  }

  constexpr void failOnRepeatedKey() const {
    for (std::size_t i = 0; i < N; ++i) {
      for (std::size_t j = i + 1; j < N; ++j) {
        if (keys_[i] == keys_[j] && !exact_key_table_failure::keyRepeats(keys_[j].data())) {
          throw "a key repeats";
        }
      }
    }
  }

  // Places every key for one byte position and multiplier, and keeps the
  // slots when each key has one of its own. Taken slots are bits, so that a
  // failed attempt costs only the keys it placed.
  constexpr Attempt tryPlacing(std::size_t byteFromEnd, std::size_t multiplier) {
    std::uint64_t taken[kSlotCount / 64] = {};
    for (std::size_t i = 0; i < N; ++i) {
      const std::size_t slot = slotOf(keys_[i], byteFromEnd, multiplier);
      const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
      if ((taken[slot / 64] & bit) != 0) {
        std::size_t occupant = 0;
        while (slotOf(keys_[occupant], byteFromEnd, multiplier) != slot) {
          ++occupant;
        }
        return Attempt{i, occupant};
      }
      taken[slot / 64] |= bit;
    }
    for (std::uint8_t& slot : slots_) {
      slot = kEmptySlot;
    }
    for (std::size_t i = 0; i < N; ++i) {
      slots_[slotOf(keys_[i], byteFromEnd, multiplier)] = static_cast<std::uint8_t>(i);
    }
    byteFromEnd_ = byteFromEnd;
    multiplier_ = multiplier;
    return Attempt{N, 0};
  }

  std::array<std::string_view, N> keys_;
  std::size_t byteFromEnd_ = 0;
  std::size_t multiplier_ = 0;
  std::array<std::uint8_t, kSlotCount> slots_{};
};

}  // namespace marlint

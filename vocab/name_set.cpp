#include "vocab/name_set.h"

#include <stdexcept>

#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::size_t kMaxNames = 64;
constexpr std::uint32_t kFirstMultiplier = 2654435761u;  // odd, well spread bits
constexpr int kMultipliersTried = 1000;

}  // namespace

NameSet::NameSet() : multiplier_(kFirstMultiplier) {
  slots_.fill(kEmptySlot);
}

NameSet::NameSet(std::initializer_list<std::string_view> names) : NameSet() {
  for (const std::string_view name : names) {
    add(name);
  }
}

// The run's names differ in their length, first or last byte ("Path2" and
// "Path3", "CNC path 1" and "PMC path 1"), so those three bytes place them.
std::size_t NameSet::homeSlotOf(std::string_view text) const {
  std::uint32_t shape = static_cast<std::uint32_t>(text.size() & 0xFF) << 16;
  if (!text.empty()) {
    shape |= static_cast<std::uint32_t>(static_cast<unsigned char>(text.front())) << 8 |
             static_cast<unsigned char>(text.back());
  }
  return (shape * multiplier_) >> 25;  // the top 7 bits: 0 to 127
}

bool NameSet::placeAll(bool requireOwnHomeSlots) {
  slots_.fill(kEmptySlot);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    std::size_t slot = homeSlotOf(names_[i]);
    while (slots_[slot] != kEmptySlot) {
      if (requireOwnHomeSlots) {
        return false;
      }
      slot = (slot + 1) % kSlotCount;
    }
    slots_[slot] = static_cast<std::uint8_t>(i);
  }
  return true;
}

void NameSet::add(std::string_view name) {
  if (names_.size() == kMaxNames) {
    throw std::length_error("NameSet holds at most 64 names");
  }
  names_.emplace_back(name);
  for (int i = 0; i < kMultipliersTried; ++i) {
    multiplier_ = kFirstMultiplier + 2 * static_cast<std::uint32_t>(i);
    if (placeAll(true)) {
      return;
    }
  }
  placeAll(false);
}

bool NameSet::contains(std::string_view text) const {
  for (std::size_t slot = homeSlotOf(text); slots_[slot] != kEmptySlot;
       slot = (slot + 1) % kSlotCount) {
    if (sameText(names_[slots_[slot]], text)) {
      return true;
    }
  }
  return false;
}

}  // namespace marlint

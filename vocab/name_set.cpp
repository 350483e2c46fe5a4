#include "vocab/name_set.h"

#include <stdexcept>

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

}  // namespace marlint

#include "checks/name_index.h"

namespace marlint {
namespace {

constexpr std::size_t kFirstCapacity = 64;

}  // namespace

void NameIndex::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstCapacity : 2 * old.size(), Slot());
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.handle != kFree) {
      std::size_t at = slot.hash & mask;
      while (slots_[at].handle != kFree) {
        at = (at + 1) & mask;
      }
      slots_[at] = slot;
    }
  }
}

std::optional<std::size_t> NameIndex::noteName(std::string_view name, std::size_t line) {
  if (2 * (used_ + 1) > slots_.size()) {
    grow();
  }
  const std::uint64_t hash = hashName(name, hashSeed_);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (slot.handle == kFree) {
      slot = Slot{hash, names_.append(name), line};
      ++used_;
      return std::nullopt;
    }
    if (slot.hash == hash && names_.nameAt(slot.handle) == name) {
      return slot.firstLine;
    }
  }
}

}  // namespace marlint

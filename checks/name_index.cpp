#include "checks/name_index.h"

#include <cstring>

namespace marlint {
namespace {

constexpr std::size_t kFirstCapacity = 64;
constexpr NameArena::Handle kHandleMask = (NameArena::Handle{1} << NameArena::kHandleBits) - 1;

}  // namespace

void NameIndex::grow() {
  std::vector<Key> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstCapacity : 2 * old.size(), kFree);
  const std::size_t mask = slots_.size() - 1;
  // A key keeps only the top bits of its hash: the name is hashed again to
  // find its new home slot.
  for (const Key key : old) {
    if (key != kFree) {
      const std::string_view name = nameIn(entries_.nameAt(key & kHandleMask));
      std::size_t at = hashName(name, hashSeed_) & mask;
      while (slots_[at] != kFree) {
        at = (at + 1) & mask;
      }
      slots_[at] = key;
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
    const Key key = slots_[at];
    if (key == kFree) {
      const std::uint64_t firstLine = line;
      entry_.assign(kLineBytes, '\0');
      std::memcpy(entry_.data(), &firstLine, kLineBytes);
      entry_.append(name);
      slots_[at] = (hashBitsOf(hash) << NameArena::kHandleBits) | entries_.append(entry_);
      ++used_;
      return std::nullopt;
    }
    if ((key >> NameArena::kHandleBits) == hashBitsOf(hash)) {
      const std::string_view entry = entries_.nameAt(key & kHandleMask);
      if (nameIn(entry) == name) {
        std::uint64_t firstLine;
        std::memcpy(&firstLine, entry.data(), kLineBytes);
        return static_cast<std::size_t>(firstLine);
      }
    }
  }
}

bool NameIndex::holds(std::string_view name) const {
  if (slots_.empty()) {
    return false;
  }
  const std::uint64_t hash = hashName(name, hashSeed_);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask; slots_[at] != kFree; at = (at + 1) & mask) {
    if ((slots_[at] >> NameArena::kHandleBits) == hashBitsOf(hash) &&
        nameIn(entries_.nameAt(slots_[at] & kHandleMask)) == name) {
      return true;
    }
  }
  return false;
}

}  // namespace marlint

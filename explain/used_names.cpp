#include "explain/used_names.h"

#include <utility>

namespace marlint {

void UsedNames::dropUsed(std::vector<std::string>& candidates) {
  if (candidates.empty()) {
    return;
  }
  std::vector<bool> used(candidates.size(), false);
  std::string_view name;
  if (!askedBefore_) {
    askedBefore_ = true;
    NameArena::Cursor cursor;
    while (names_.readNext(cursor, name)) {
      for (std::size_t i = 0; i < candidates.size(); ++i) {
        used[i] = used[i] || name == candidates[i];
      }
    }
  } else {
    while (names_.readNext(indexedUpTo_, name)) {
      index_.insert(name);
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      used[i] = index_.count(candidates[i]) != 0;
    }
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (!used[i]) {
      if (kept != i) {
        candidates[kept] = std::move(candidates[i]);
      }
      ++kept;
    }
  }
  candidates.resize(kept);
}

}  // namespace marlint

#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "checks/name_arena.h"

namespace marlint {

// The point names of the rows accepted so far, for a report that must not
// suggest one of them. The first question reads the names once; from the
// second on they are indexed, each name once, so that a report of many
// faults stays linear in the rows and a single fault needs no index.
class UsedNames {
 public:
  explicit UsedNames(const NameArena& names) : names_(names) {}

  // Removes from `candidates` every name a row accepted so far has.
  void dropUsed(std::vector<std::string>& candidates);

 private:
  const NameArena& names_;
  bool askedBefore_ = false;
  NameArena::Cursor indexedUpTo_;
  std::unordered_set<std::string_view> index_;
};

}  // namespace marlint

#include "points/duplicate_names.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace marlint {

bool checkDuplicateNames(RunState& run, const PointList& points) {
  // One pass with the first position of every name. The point to report is
  // the one whose name is repeated and that comes first, which is not always
  // the first repeat seen: in P1, P2, P2, P1 it is P1.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::unordered_map<std::string_view, std::size_t> firstPositionOf;
  firstPositionOf.reserve(points.size());
  std::size_t earliestRepeated = kNone;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto [entry, isNew] = firstPositionOf.try_emplace(points.nameAt(i), i);
    if (!isNew) {
      earliestRepeated = std::min(earliestRepeated, entry->second);
    }
  }
  if (earliestRepeated == kNone) {
    return false;
  }
  return run.fail(points.nameAt(earliestRepeated), " is duplicate point name.");
}

}  // namespace marlint

#include "points/duplicate_names.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <vector>

namespace marlint {
namespace {

constexpr std::size_t kNoRepeat = static_cast<std::size_t>(-1);

// Rows follow the header line without a gap, and every row read is in the
// list when the names are checked, so point i stands on line i + 2.
constexpr std::size_t kFirstRowLine = 2;

struct Repeat {
  std::size_t first = kNoRepeat;   // the earliest point whose name occurs again
  std::size_t repeat = kNoRepeat;  // the first later point with that name
};

// The earliest point whose name occurs again, and that name's first repeat.
// One pass over the names with a hash table of positions (open addressing,
// linear probing, at most half full); a slot holds a position plus one, 0 when
// free. `Slot` is the narrowest type that holds every position, so the table
// stays small beside the list.
template <typename Slot>
Repeat findEarliestRepeated(const PointList& points) {
  std::size_t capacity = 2;
  while (capacity < 2 * points.size()) {
    capacity *= 2;
  }
  const std::size_t mask = capacity - 1;
  std::vector<Slot> slots(capacity, 0);
  const std::hash<std::string_view> hashName;

  // The point to report is the repeated one that comes first, which is not
  // always the first repeat seen: in P1, P2, P2, P1 it is P1. Points are
  // visited in order, so the first repeat seen of a name is its first one.
  Repeat earliest;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string_view name = points.nameAt(i);
    for (std::size_t slot = hashName(name) & mask;; slot = (slot + 1) & mask) {
      if (slots[slot] == 0) {
        slots[slot] = static_cast<Slot>(i + 1);
        break;
      }
      const std::size_t firstPosition = slots[slot] - 1;
      if (points.nameAt(firstPosition) == name) {
        if (firstPosition < earliest.first) {
          earliest = Repeat{firstPosition, i};
        }
        break;
      }
    }
  }
  return earliest;
}

}  // namespace

bool checkDuplicateNames(RunState& run, const PointList& points) {
  const bool fitsIn32Bits = points.size() < std::numeric_limits<std::uint32_t>::max();
  const Repeat earliest = fitsIn32Bits ? findEarliestRepeated<std::uint32_t>(points)
                                       : findEarliestRepeated<std::size_t>(points);
  if (earliest.first == kNoRepeat) {
    return false;
  }
  return run.failRepeatedName(points.nameAt(earliest.first), earliest.first + kFirstRowLine,
                              earliest.repeat + kFirstRowLine);
}

}  // namespace marlint

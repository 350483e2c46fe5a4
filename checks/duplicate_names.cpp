#include "checks/duplicate_names.h"

#include <cstdint>
#include <vector>

namespace marlint {
namespace {

// Rows follow the header line without a gap, and every row read is in the
// list when the names are checked, so point i stands on line i + 2.
constexpr std::size_t kFirstRowLine = 2;

using Key = PointList::Key;
constexpr Key kFreeSlot = ~Key{0};  // no handle is all ones

// The earliest first occurrence of a repeated name found so far, by handle.
struct Repeat {
  NameArena::Handle first = ~NameArena::Handle{0};
  NameArena::Handle repeat = 0;
};

// Resolves one bucket with a table of its own keys (open addressing, linear
// probing, at most half full), small enough to stay in cache. The keys come
// in file order, so the first match of a name is its first repeat and the
// key in the table its first occurrence. Names are compared only when the
// hash bits agree.
void resolveBucket(const PointList& points, std::size_t bucket, std::vector<Key>& table,
                   Repeat& earliest) {
  const std::size_t keyCount = points.bucketSize(bucket);
  if (keyCount < 2) {
    return;
  }
  std::size_t capacity = 4;
  while (capacity < 2 * keyCount) {
    capacity *= 2;
  }
  table.assign(capacity, kFreeSlot);
  const std::size_t mask = capacity - 1;
  const NameArena& names = points.names();
  points.forEachKey(bucket, [&](Key key) {
    const std::uint32_t hashBits = PointList::hashBitsOf(key);
    for (std::size_t slot = hashBits & mask;; slot = (slot + 1) & mask) {
      if (table[slot] == kFreeSlot) {
        table[slot] = key;
        return;
      }
      if (PointList::hashBitsOf(table[slot]) == hashBits &&
          names.nameAt(PointList::handleOf(table[slot])) ==
              names.nameAt(PointList::handleOf(key))) {
        if (PointList::handleOf(table[slot]) < earliest.first) {
          earliest = Repeat{PointList::handleOf(table[slot]), PointList::handleOf(key)};
        }
        return;
      }
    }
  });
}

}  // namespace

std::optional<RepeatedName> findEarliestRepeatedName(const PointList& points) {
  // Equal names share their bucket, so each bucket is resolved on its own
  // and the earliest repeat of all buckets is the answer.
  std::vector<Key> table;
  Repeat earliest;
  for (std::size_t bucket = 0; bucket < PointList::kBucketCount; ++bucket) {
    resolveBucket(points, bucket, table, earliest);
  }
  if (earliest.first == ~NameArena::Handle{0}) {
    return std::nullopt;
  }
  const NameArena& names = points.names();
  return RepeatedName{names.positionOf(earliest.first), names.positionOf(earliest.repeat),
                      names.nameAt(earliest.first)};
}

bool checkDuplicateNames(RunState& run, const PointList& points) {
  const std::optional<RepeatedName> repeated = findEarliestRepeatedName(points);
  if (!repeated) {
    return false;
  }
  return run.failRepeatedName(nameRepeatOf(repeated->name, repeated->firstIndex + kFirstRowLine,
                                           repeated->repeatIndex + kFirstRowLine));
}

}  // namespace marlint

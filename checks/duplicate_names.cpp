#include "checks/duplicate_names.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace marlint {
namespace {

// Rows follow the header line without a gap, and every row read is in the
// list when the names are checked, so point i stands on line i + 2.
constexpr std::size_t kFirstRowLine = 2;

using Key = PointList::Key;
using Handle = NameArena::Handle;
constexpr Key kFreeSlot = ~Key{0};  // no handle is all ones
constexpr Handle kNoHandle = ~Handle{0};

// Resolves one bucket with a table of its own keys (open addressing, linear
// probing, at most half full), small enough to stay in cache, and calls
// `onRepeat(first, repeat)` with the handles of each repeat and of its
// name's first occurrence. The keys come in file order, so the key in the
// table is a name's first occurrence and every later match a repeat. Names
// are compared only when the hash bits agree.
template <typename OnRepeat>
void resolveBucket(const PointList& points, std::size_t bucket, std::vector<Key>& table,
                   OnRepeat&& onRepeat) {
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
        onRepeat(PointList::handleOf(table[slot]), PointList::handleOf(key));
        return;
      }
    }
  });
}

}  // namespace

std::optional<RepeatedName> findEarliestRepeatedName(const PointList& points) {
  // Equal names share their bucket, so each bucket is resolved on its own
  // and the earliest first occurrence of all buckets is the answer, with its
  // first repeat: a bucket meets a name's repeats in file order.
  std::vector<Key> table;
  Handle earliestFirst = kNoHandle;
  Handle earliestRepeat = 0;
  for (std::size_t bucket = 0; bucket < PointList::kBucketCount; ++bucket) {
    resolveBucket(points, bucket, table, [&](Handle first, Handle repeat) {
      if (first < earliestFirst) {
        earliestFirst = first;
        earliestRepeat = repeat;
      }
    });
  }
  if (earliestFirst == kNoHandle) {
    return std::nullopt;
  }
  const NameArena& names = points.names();
  return RepeatedName{names.positionOf(earliestFirst), names.positionOf(earliestRepeat),
                      names.nameAt(earliestFirst)};
}

std::vector<RepeatedName> findRepeatedNames(const PointList& points) {
  std::vector<std::pair<Handle, Handle>> repeats;  // repeat, first occurrence
  std::vector<Key> table;
  for (std::size_t bucket = 0; bucket < PointList::kBucketCount; ++bucket) {
    resolveBucket(points, bucket, table,
                  [&repeats](Handle first, Handle repeat) { repeats.emplace_back(repeat, first); });
  }
  if (repeats.empty()) {
    return {};
  }
  // Handles grow in file order: sorted, they give the repeats in file order,
  // and one walk over the names gives the position of every handle named.
  std::sort(repeats.begin(), repeats.end());
  std::vector<Handle> named;
  named.reserve(2 * repeats.size());
  for (const auto& [repeat, first] : repeats) {
    named.push_back(repeat);
    named.push_back(first);
  }
  std::sort(named.begin(), named.end());
  named.erase(std::unique(named.begin(), named.end()), named.end());
  std::vector<std::size_t> positions(named.size());
  const NameArena& names = points.names();
  NameArena::Cursor cursor;
  std::string_view name;
  Handle handle;
  for (std::size_t next = 0; next < named.size() && names.readNext(cursor, name, handle);) {
    if (handle == named[next]) {
      positions[next++] = cursor.position - 1;
    }
  }
  const auto positionOf = [&](Handle wanted) {
    return positions[static_cast<std::size_t>(std::lower_bound(named.begin(), named.end(), wanted) -
                                              named.begin())];
  };
  std::vector<RepeatedName> found;
  found.reserve(repeats.size());
  for (const auto& [repeat, first] : repeats) {
    found.push_back(RepeatedName{positionOf(first), positionOf(repeat), names.nameAt(first)});
  }
  return found;
}

bool checkDuplicateNames(RunState& run, const PointList& points) {
  const std::optional<RepeatedName> repeated = findEarliestRepeatedName(points);
  if (!repeated) {
    return false;
  }
  return run.failRepeatedName(nameRepeatOf(repeated->name, repeated->firstIndex + kFirstRowLine,
                                           repeated->repeatIndex + kFirstRowLine));
}

void reportRepeatedNames(RunState& run, const PointList& points) {
  for (const RepeatedName& repeated : findRepeatedNames(points)) {
    run.reportRepeatedName(nameRepeatOf(repeated.name, repeated.firstIndex + kFirstRowLine,
                                        repeated.repeatIndex + kFirstRowLine));
  }
}

void noteNamesOf(const PointList& points, NameIndex& index) {
  NameArena::Cursor cursor;
  std::string_view name;
  while (points.names().readNext(cursor, name)) {
    index.noteName(name, cursor.position - 1 + kFirstRowLine);
  }
}

}  // namespace marlint

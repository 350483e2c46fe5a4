#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "checks/name_arena.h"
#include "checks/name_index.h"
#include "checks/point_record.h"

namespace marlint {

// The accepted points in file order, kept as the one thing a check after the
// rows reads: their names. Each name is copied into a NameArena, and an
// 8-byte key (24 bits of the name's hash above its 40-bit handle) goes to one
// of 256 buckets chosen by the top byte of the hash. Appending thus writes
// to the ends of 256 short runs that stay in cache, where probing one big
// table per row would miss the cache on nearly every row; the duplicate
// check then resolves the buckets one at a time.
class PointList {
 public:
  using Key = std::uint64_t;
  static constexpr std::size_t kBucketCount = 256;
  static constexpr int kHashBitsInKey = 64 - NameArena::kHandleBits;
  static constexpr int kBucketShift = 56;

  PointList() = default;
  // A list that spreads names by `hashSeed` instead of a seed of its own:
  // the same names then always land in the same buckets.
  explicit PointList(std::uint64_t hashSeed) : hashSeed_(hashSeed) {}

  void append(const PointRecord& record) { append(record.name); }
  void append(std::string_view name);

  std::size_t size() const { return names_.size(); }
  bool empty() const { return names_.size() == 0; }

  const NameArena& names() const { return names_; }

  // For a run that goes on after faults, from its first faulty row on: the
  // name of every row read that passed its own check, accepted or not, at
  // its line, for the repeats; null until then.
  std::unique_ptr<NameIndex> namesSoFar;

  static std::uint32_t hashBitsOf(Key key) {
    return static_cast<std::uint32_t>(key >> NameArena::kHandleBits);
  }
  static NameArena::Handle handleOf(Key key) {
    return key & ((Key{1} << NameArena::kHandleBits) - 1);
  }

  // The bucket whose keys hold `name`: the top byte of its hash.
  std::size_t bucketOf(std::string_view name) const {
    return static_cast<std::size_t>(hashName(name, hashSeed_) >> kBucketShift);
  }
  std::size_t bucketSize(std::size_t bucket) const;

  // Calls `visit(key)` for each key of `bucket`, in file order.
  template <typename Visit>
  void forEachKey(std::size_t bucket, Visit&& visit) const {
    const Bucket& keys = buckets_[bucket];
    for (std::size_t i = 0; i < keys.chunks.size(); ++i) {
      const Key* const begin = keys.chunks[i].keys.get();
      const Key* const end =
          i + 1 < keys.chunks.size() ? begin + keys.chunks[i].capacity : keys.next;
      for (const Key* key = begin; key != end; ++key) {
        visit(*key);
      }
    }
  }

 private:
  // A bucket grows in chunks that never move: 8 keys first, doubling up to
  // 512 (4 KiB), so that a short file touches little memory.
  struct Chunk {
    std::unique_ptr<Key[]> keys;
    std::size_t capacity = 0;
  };
  struct Bucket {
    Key* next = nullptr;  // where the next key goes in the newest chunk
    Key* end = nullptr;   // end of the newest chunk
    std::vector<Chunk> chunks;
  };

  void startChunk(Bucket& bucket);

  NameArena names_;
  std::uint64_t hashSeed_ = randomHashSeed();
  std::array<Bucket, kBucketCount> buckets_;
};

}  // namespace marlint

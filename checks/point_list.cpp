#include "checks/point_list.h"

#include <algorithm>

namespace marlint {
namespace {

constexpr std::size_t kFirstChunkKeys = 8;
constexpr std::size_t kLargestChunkKeys = 512;

}  // namespace

void PointList::startChunk(Bucket& bucket) {
  const std::size_t capacity = bucket.chunks.empty()
                                   ? kFirstChunkKeys
                                   : std::min(2 * bucket.chunks.back().capacity, kLargestChunkKeys);
  Chunk chunk;
  chunk.keys.reset(new Key[capacity]);
  chunk.capacity = capacity;
  bucket.next = chunk.keys.get();
  bucket.end = bucket.next + capacity;
  bucket.chunks.push_back(std::move(chunk));
}

void PointList::append(std::string_view name) {
  // The top byte of the hash picks the bucket; the next 24 bits go into the key.
  const std::uint64_t hash = hashName(name, hashSeed_);
  Bucket& bucket = buckets_[hash >> kBucketShift];
  if (bucket.next == bucket.end) {
    startChunk(bucket);
  }
  const Key hashBits = (hash >> 32) & ((Key{1} << kHashBitsInKey) - 1);
  *bucket.next++ = (hashBits << NameArena::kHandleBits) | names_.append(name);
}

std::size_t PointList::bucketSize(std::size_t bucket) const {
  const Bucket& keys = buckets_[bucket];
  if (keys.chunks.empty()) {
    return 0;
  }
  std::size_t size = static_cast<std::size_t>(keys.next - keys.chunks.back().keys.get());
  for (std::size_t i = 0; i + 1 < keys.chunks.size(); ++i) {
    size += keys.chunks[i].capacity;
  }
  return size;
}

}  // namespace marlint

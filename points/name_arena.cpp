#include "points/name_arena.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <random>
#include <stdexcept>

namespace marlint {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

std::uint64_t loadWord(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Lengths below 128 take one byte, longer ones 7 bits per byte.
std::size_t lengthBytes(std::size_t length) {
  std::size_t bytes = 1;
  for (; length >= 0x80; length >>= 7) {
    ++bytes;
  }
  return bytes;
}

char* writeLength(char* out, std::size_t length) {
  for (; length >= 0x80; length >>= 7) {
    *out++ = static_cast<char>((length & 0x7F) | 0x80);
  }
  *out++ = static_cast<char>(length);
  return out;
}

const char* readLength(const char* in, std::size_t& length) {
  length = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*in++);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) {
      return in;
    }
  }
}

}  // namespace

std::uint64_t randomHashSeed() {
  try {
    std::random_device source;
    return (std::uint64_t{source()} << 32) ^ source();
  } catch (const std::exception&) {
    // No entropy source: the hash still works, only predictably.
    return kMultiplier;
  }
}

std::uint64_t hashName(std::string_view name, std::uint64_t seed) {
  // One multiply per eight bytes keeps the hash short beside the row checks;
  // the shifts at the end bring the high bits, which every byte reaches,
  // down to the low ones. The last, shorter word is read as the end of the
  // last eight bytes, or copied when the name is shorter: never over-read.
  const std::size_t size = name.size();
  std::uint64_t hash = (size * kMultiplier) ^ seed;
  std::size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    hash = (hash ^ loadWord(name.data() + at)) * kMultiplier;
  }
  if (at < size) {
    std::uint64_t word = 0;
    if (size >= 8) {
      word = loadWord(name.data() + size - 8) >> (8 * (8 - (size - at)));
    } else {
      std::memcpy(&word, name.data(), size);
    }
    hash = (hash ^ word) * kMultiplier;
  }
  hash ^= hash >> 32;
  hash *= kMultiplier;
  return hash ^ (hash >> 29);
}

NameArena::Handle NameArena::appendToNewBlockIfNeeded(std::string_view name) {
  const std::size_t bytes = lengthBytes(name.size()) + name.size();
  if (bytes > static_cast<std::size_t>(end_ - next_)) {
    if (blocks_.size() + 1 >= (std::size_t{1} << (kHandleBits - kOffsetBits))) {
      throw std::length_error("NameArena: too many names");
    }
    const std::size_t grown =
        blocks_.empty() ? kFirstBlockSize : std::min(2 * blocks_.back().size, kLargestBlockSize);
    Block block;
    block.size = std::max(grown, bytes);
    // Not zeroed: a page is touched only when names are written to it.
    block.bytes.reset(new char[block.size]);
    block.firstPosition = count_;
    newestBlockStart_ = block.bytes.get();
    next_ = newestBlockStart_;
    end_ = newestBlockStart_ + block.size;
    newestBlockHandle_ = Handle{blocks_.size()} << kOffsetBits;
    blocks_.push_back(std::move(block));
  }
  const Handle handle = newestBlockHandle_ | static_cast<Handle>(next_ - newestBlockStart_);
  next_ = writeLength(next_, name.size());
  if (!name.empty()) {
    std::memcpy(next_, name.data(), name.size());
  }
  next_ += name.size();
  ++count_;
  return handle;
}

std::string_view NameArena::nameAt(Handle handle) const {
  const Block& block = blocks_[handle >> kOffsetBits];
  std::size_t length;
  const char* const name =
      readLength(block.bytes.get() + (handle & (kLargestBlockSize - 1)), length);
  return std::string_view(name, length);
}

std::size_t NameArena::positionOf(Handle handle) const {
  const Block& block = blocks_[handle >> kOffsetBits];
  const char* const target = block.bytes.get() + (handle & (kLargestBlockSize - 1));
  std::size_t position = block.firstPosition;
  for (const char* at = block.bytes.get(); at < target; ++position) {
    std::size_t length;
    at = readLength(at, length) + length;
  }
  return position;
}

}  // namespace marlint

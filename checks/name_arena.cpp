#include "checks/name_arena.h"

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

std::uint64_t foldedProductPortable(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLow = a & 0xFFFFFFFFu;
  const std::uint64_t aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFFu;
  const std::uint64_t bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  const std::uint64_t middle = (lowLow >> 32) + (highLow & 0xFFFFFFFFu) + (lowHigh & 0xFFFFFFFFu);
  const std::uint64_t high = aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32);
  return (a * b) ^ high;
}

std::uint64_t foldedProduct(std::uint64_t a, std::uint64_t b) {
  // WebAssembly has no wide multiply: there a 128-bit product is a call
  // into the compiler's runtime, and the four products inline are quicker.
#if defined(__SIZEOF_INT128__) && !defined(__wasm__)
  __extension__ using Product = unsigned __int128;
  const Product product = Product{a} * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
#else
  return foldedProductPortable(a, b);
#endif
}

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
  // One wide multiply per eight bytes keeps the hash short beside the row
  // checks. A plain multiply carries a difference between two names only
  // towards the high bits, the same way under every seed, so names made to
  // collide under one seed would collide under many; the high half of the
  // product, folded in, spreads it by the seed's every bit.
  // The last, shorter word is read as the end of the last eight bytes, or
  // copied when the name is shorter: never over-read.
  const std::size_t size = name.size();
  const std::uint64_t key = seed | 1;  // odd: never a zero product
  std::uint64_t hash = size * kMultiplier;
  std::size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    hash = foldedProduct(hash ^ loadWord(name.data() + at), key);
  }
  if (at < size) {
    std::uint64_t word = 0;
    if (size >= 8) {
      word = loadWord(name.data() + size - 8) >> (8 * (8 - (size - at)));
    } else {
      std::memcpy(&word, name.data(), size);
    }
    hash = foldedProduct(hash ^ word, key);
  }
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

bool NameArena::readNext(Cursor& cursor, std::string_view& name) const {
  Handle handle;
  return readNext(cursor, name, handle);
}

bool NameArena::readNext(Cursor& cursor, std::string_view& name, Handle& handle) const {
  if (cursor.position >= count_) {
    return false;
  }
  // A block's names end where the next block's begin; the rest of it is unused.
  while (cursor.block + 1 < blocks_.size() &&
         cursor.position == blocks_[cursor.block + 1].firstPosition) {
    ++cursor.block;
    cursor.offset = 0;
  }
  const char* const bytes = blocks_[cursor.block].bytes.get();
  handle = (Handle{cursor.block} << kOffsetBits) | cursor.offset;
  std::size_t length;
  const char* const at = readLength(bytes + cursor.offset, length);
  name = std::string_view(at, length);
  cursor.offset = static_cast<std::size_t>(at - bytes) + length;
  ++cursor.position;
  return true;
}

}  // namespace marlint

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace marlint {

// A 64-bit hash of a point name, for spreading names over buckets and
// tables. Every byte counts; names that differ only in length differ too.
// The seed keeps the spread out of the file's hands: without one, names can
// be made to share a hash, and the duplicate check would compare each with
// all the others.
std::uint64_t hashName(std::string_view name, std::uint64_t seed);

// The 128-bit product of `a` and `b` with its two halves folded into one by
// exclusive or: every bit of either factor reaches the result. One wide
// multiply where the compiler has 128-bit integers; the portable form builds
// it from four 32-bit products, and is exposed to be checked against it.
std::uint64_t foldedProduct(std::uint64_t a, std::uint64_t b);
std::uint64_t foldedProductPortable(std::uint64_t a, std::uint64_t b);

// A seed for `hashName` that differs from run to run.
std::uint64_t randomHashSeed();

// Point names copied one after another into a few large blocks, each name
// behind its length, so a million names cost little more than their bytes.
// Blocks never move once filled, and a name is found again by the handle
// `append` gave it. Handles grow in the order names are appended: comparing
// two handles compares the order of their names.
class NameArena {
 public:
  using Handle = std::uint64_t;
  // A handle fits in this many bits, so it can share a 64-bit word with hash bits.
  static constexpr int kHandleBits = 40;

  // Copies `name` and returns its handle.
  Handle append(std::string_view name) {
    // Inline for the common case: a name shorter than 128 bytes (one length
    // byte) that fits the newest block.
    const std::size_t size = name.size();
    if (size < kOneByteLengths && size < static_cast<std::size_t>(end_ - next_)) {
      const Handle handle = newestBlockHandle_ | static_cast<Handle>(next_ - newestBlockStart_);
      *next_ = static_cast<char>(size);
      copyShortName(next_ + 1, name.data(), size);
      next_ += 1 + size;
      ++count_;
      return handle;
    }
    return appendToNewBlockIfNeeded(name);
  }

  std::string_view nameAt(Handle handle) const;

  // How many names were appended before the one at `handle`: its position,
  // counted from 0. Reads the names of its block before it.
  std::size_t positionOf(Handle handle) const;

  std::size_t size() const { return count_; }

  // A place among the names, for reading them in the order they were
  // appended; a fresh cursor stands before the first.
  struct Cursor {
    std::size_t block = 0;
    std::size_t offset = 0;
    std::size_t position = 0;
  };

  // Sets `name` to the name at `cursor` and moves the cursor past it; false
  // once every name appended so far was read. Names appended later are read
  // by the same cursor.
  bool readNext(Cursor& cursor, std::string_view& name) const;
  // The same, and the name's handle.
  bool readNext(Cursor& cursor, std::string_view& name, Handle& handle) const;

 private:
  // Block sizes: small for the first names, so that a short file touches
  // little memory, then up to 1 MiB. A name longer than a block gets a
  // block of its own.
  static constexpr int kOffsetBits = 20;
  static constexpr std::size_t kFirstBlockSize = 4096;
  static constexpr std::size_t kLargestBlockSize = std::size_t{1} << kOffsetBits;
  static constexpr std::size_t kOneByteLengths = 0x80;

  struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::size_t firstPosition = 0;  // position of the block's first name
  };

  Handle appendToNewBlockIfNeeded(std::string_view name);

  // Copies a name shorter than 128 bytes in a few fixed-size moves, the
  // last one overlapping the one before. WebAssembly's memcpy moves one byte
  // at a time when source and target are not aligned alike, which names in
  // the arena rarely are; fixed sizes compile to plain loads and stores.
  static void copyShortName(char* out, const char* in, std::size_t size) {
    if (size >= 16) {
      for (std::size_t at = 0; at + 16 < size; at += 16) {
        std::memcpy(out + at, in + at, 16);
      }
      std::memcpy(out + size - 16, in + size - 16, 16);
    } else if (size >= 8) {
      copyHeadAndTail<std::uint64_t>(out, in, size);
    } else if (size >= 4) {
      copyHeadAndTail<std::uint32_t>(out, in, size);
    } else if (size > 0) {
      out[0] = in[0];
      out[size / 2] = in[size / 2];
      out[size - 1] = in[size - 1];
    }
  }

  // The first and the last sizeof(Word) bytes, for a size of one to two words.
  template <typename Word>
  static void copyHeadAndTail(char* out, const char* in, std::size_t size) {
    Word head;
    Word tail;
    std::memcpy(&head, in, sizeof head);
    std::memcpy(&tail, in + size - sizeof tail, sizeof tail);
    std::memcpy(out, &head, sizeof head);
    std::memcpy(out + size - sizeof tail, &tail, sizeof tail);
  }

  std::vector<Block> blocks_;
  std::size_t count_ = 0;
  // The newest block: where the next name goes, its end, its start and the
  // block index part of its handles.
  char* next_ = nullptr;
  char* end_ = nullptr;
  char* newestBlockStart_ = nullptr;
  Handle newestBlockHandle_ = 0;
};

}  // namespace marlint

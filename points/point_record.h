#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace marlint {

// Point type codes, as the point type column names them.
namespace point_type {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kEvent = 1;
inline constexpr std::int32_t kSample = 2;
inline constexpr std::int32_t kCondition = 3;
}  // namespace point_type

// Data path kinds; the DCS path counts as a PMC path.
namespace path_kind {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kCnc = 1;
inline constexpr std::int32_t kPmc = 2;
}  // namespace path_kind

// "No address type" is stored as the character code of '-'.
inline constexpr std::int16_t kNoAddressType = '-';

// One accepted point row. The column checks fill it in column order, and
// later checks read what earlier ones stored.
struct PointRecord {
  char kind = '-';   // 'D' or 'C'
  std::string name;  // field 1 as written, suffix included
  std::int32_t pointType = point_type::kNone;
  std::vector<std::string> constantValues;  // as written in field 3
  std::int32_t cycle = -1;
  std::int32_t unit = 0;  // 0: the point has no unit
  std::string xmlLocation;
  std::int32_t pathKind = path_kind::kNone;
  std::int32_t pathNumber = -1;
  std::int32_t dataType = 0;
  std::string returnType;
  char accessType = '-';
  std::int16_t addressType = kNoAddressType;
  std::int32_t startAddress = -1;
  std::int32_t bitPos = -1;

  bool hasConstantValues() const { return !constantValues.empty(); }
};

// The accepted point rows in file order. A file may hold millions of rows,
// so records are kept in a compact form rather than as `PointRecord` values
// with their own heap texts: numbers in the width their values need, the
// name and the constant values copied into shared text blocks, and the XML
// location and return type, which repeat a handful of texts, as an index into
// a table of the distinct pairs. Storage grows in blocks and never moves what
// it holds, so memory follows the number of rows without the copies of a
// growing array.
class PointList {
 public:
  void append(const PointRecord& record);
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // The record as it was appended; throws std::out_of_range past the end.
  PointRecord at(std::size_t index) const;
  std::string_view nameAt(std::size_t index) const {
    const StoredPoint& stored = storedAt(index);
    return std::string_view(stored.text, stored.nameLength);
  }

 private:
  // 40 bytes, against the record's 176 and its heap texts. The checks keep
  // the small codes within a byte (point type 0 to 3, unit 0 to 32, path kind
  // 0 to 2, data type 0 to 8, bit position -1 to 7); `append` refuses a value
  // that would not fit rather than change it.
  struct StoredPoint {
    const char* text;  // the name, directly followed by the constant values joined by blanks
    std::uint32_t nameLength;
    std::uint32_t constantValuesLength;
    std::int32_t cycle;
    std::int32_t pathNumber;
    std::int32_t startAddress;
    std::int16_t addressType;
    std::uint16_t locationAndReturnType;  // index into distinctLocationAndReturnTypes_
    std::int8_t pointType;
    std::int8_t unit;
    std::int8_t pathKind;
    std::int8_t dataType;
    std::int8_t bitPos;
    char kind;
    char accessType;
  };

  // Copies of texts in blocks that are never moved or freed while the list
  // lives, so `StoredPoint::text` stays valid.
  class TextBlocks {
   public:
    char* allocate(std::size_t size);

   private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* unusedBegin_ = nullptr;  // the free tail of the newest shared block
    std::size_t unusedSize_ = 0;
  };

  // Records live in blocks of this many, which never move once allocated.
  // 80 KiB each: below the size from which the C library maps every block
  // separately, so blocks come from the heap instead of a system call apiece.
  static constexpr std::size_t kPointsPerBlock = 2048;

  const StoredPoint& storedAt(std::size_t index) const {
    return pointBlocks_[index / kPointsPerBlock][index % kPointsPerBlock];
  }
  std::uint16_t indexOfLocationAndReturnType(const std::string& xmlLocation,
                                             const std::string& returnType);

  std::vector<std::unique_ptr<StoredPoint[]>> pointBlocks_;
  std::size_t size_ = 0;
  TextBlocks texts_;
  std::vector<std::pair<std::string, std::string>> distinctLocationAndReturnTypes_;
};

}  // namespace marlint

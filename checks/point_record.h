#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace marlint {

// Field numbers of a point row, counted from 0.
namespace row_field {
inline constexpr std::size_t kPointKind = 0;
inline constexpr std::size_t kPointName = 1;
inline constexpr std::size_t kPointType = 2;
inline constexpr std::size_t kConstantValue = 3;
inline constexpr std::size_t kCycle = 4;
inline constexpr std::size_t kUnit = 5;
inline constexpr std::size_t kXmlLocation = 6;
inline constexpr std::size_t kDataPath = 7;
inline constexpr std::size_t kDataType = 8;
inline constexpr std::size_t kReturnType = 9;
inline constexpr std::size_t kAccessType = 10;
inline constexpr std::size_t kAddressType = 11;
inline constexpr std::size_t kStartAddress = 12;
inline constexpr std::size_t kBitPos = 13;
inline constexpr std::size_t kCount = 14;
}  // namespace row_field

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

// The point row under check. The column checks fill it in column order, and
// later checks read what earlier ones stored. Its texts are views into the
// row's line, valid while the line is; the row loop reuses one record for
// every row, so checking a row allocates nothing once the first rows are done.
struct PointRecord {
  char kind = '-';        // 'D' or 'C'
  std::string_view name;  // field 1 as written, suffix included
  std::int32_t pointType = point_type::kNone;
  std::vector<std::string_view> constantValues;  // as written in field 3
  std::int32_t cycle = -1;
  std::int32_t unit = 0;  // 0: the point has no unit
  std::string_view xmlLocation;
  std::int32_t pathKind = path_kind::kNone;
  std::int32_t pathNumber = -1;
  std::int32_t dataType = 0;
  std::string_view returnType;
  char accessType = '-';
  std::int16_t addressType = kNoAddressType;
  std::int32_t startAddress = -1;
  std::int32_t bitPos = -1;

  bool hasConstantValues() const { return !constantValues.empty(); }
};

}  // namespace marlint

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// The accepted point rows in file order.
class PointList {
 public:
  void append(PointRecord record);
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const PointRecord& at(std::size_t index) const { return records_.at(index); }
  std::string_view nameAt(std::size_t index) const { return records_[index].name; }

 private:
  std::vector<PointRecord> records_;
};

}  // namespace marlint

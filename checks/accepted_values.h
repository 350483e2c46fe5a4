#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "checks/point_record.h"

// What the checks accept in each column: the ranges, lengths and words they
// compare with. The checks test against these, and a report's sentences
// quote them, so a range changed here changes both.

namespace marlint {

// The numbers from `lowest` to `highest`, both included.
template <typename Number>
struct Range {
  Number lowest;
  Number highest;

  constexpr bool contains(Number value) const { return value >= lowest && value <= highest; }
};

// The header line: "PMC path count,CNC path count,DCS ladder".
inline constexpr std::size_t kHeaderFieldCount = 3;
inline constexpr Range<std::int32_t> kPmcPathCounts{1, 5};
inline constexpr Range<std::int32_t> kCncPathCounts{1, 10};
inline constexpr std::array<std::string_view, 2> kDcsLadderWords = {"True", "False"};

// The names derived from the header line. CNC path 1 is plain "Path" as an
// XML location; as a data path every path is a prefix and its number.
inline constexpr std::string_view kXmlPathName = "Path";
inline constexpr std::string_view kCncPathPrefix = "CNC path ";
inline constexpr std::string_view kPmcPathPrefix = "PMC path ";
inline constexpr std::string_view kDcsPathName = "DCS path 9";

// Point kind: a configured point or a method point.
inline constexpr std::string_view kConfiguredPointKind = "C";
inline constexpr std::string_view kMethodPointKind = "D";
inline constexpr std::array<std::string_view, 2> kPointKinds = {kConfiguredPointKind,
                                                                kMethodPointKind};

// Point name of a configured point: a letter, then letters and digits.
inline constexpr std::size_t kMaxPointNameLength = 50;

// Point type names, in the order of their codes from point_type::kEvent on.
inline constexpr std::string_view kEventTypeName = "EVENT";
inline constexpr std::string_view kSampleTypeName = "SAMPLE";
inline constexpr std::string_view kConditionTypeName = "CONDITION";
inline constexpr std::array<std::string_view, 3> kPointTypeNames = {kEventTypeName, kSampleTypeName,
                                                                    kConditionTypeName};
static_assert(point_type::kEvent == 1 && point_type::kSample == 2 && point_type::kCondition == 3);

// Constant value: an EVENT value of letters and digits, or CONDITION codes
// separated by single blanks.
inline constexpr std::size_t kMaxEventValueLength = 10;
inline constexpr std::size_t kMaxConditionCodes = 10;
inline constexpr Range<std::int32_t> kConditionCodes{1000, 2999};

inline constexpr Range<std::int32_t> kCycles{100, 10000};

// Data types: CNC paths have their own, PMC paths and the DCS path theirs.
inline constexpr Range<std::int32_t> kCncDataTypes{1, 4};
inline constexpr Range<std::int32_t> kPmcDataTypes{5, 8};

inline constexpr std::string_view kReturnTypeName = "String";
inline constexpr std::string_view kAccessTypeName = "R";

// Start addresses by data type. Data type 4 has none: it accepts only the
// empty column.
inline constexpr Range<std::uint32_t> kDataType1StartAddresses{100, 199};
inline constexpr Range<std::uint32_t> kDataType2StartAddresses{500, 999};
inline constexpr Range<std::uint32_t> kDataType3StartAddresses{1, 33};
inline constexpr std::int32_t kDataTypeWithoutStartAddress = 4;
inline constexpr Range<std::uint32_t> kPmcStartAddresses{0, 59999};

// Only a bit data type has a bit position.
inline constexpr std::int32_t kBitDataType = 7;
inline constexpr Range<std::uint32_t> kBitPositions{0, 7};

}  // namespace marlint

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

// The numbers from `lowest` to `highest`, both included. The bounds are
// part of the type, and the words below are pointers to string literals, so
// that a check compiles to the same code as one with its numbers and words
// written out: the compiler folds a constant number or pointer where it is
// used, but reads a constant object from memory and folds it only later,
// after the inlining the row loop relies on.
template <typename Number, Number kLowest, Number kHighest>
struct Range {
  static constexpr Number lowest = kLowest;
  static constexpr Number highest = kHighest;

  static constexpr bool contains(Number value) { return value >= lowest && value <= highest; }
};

// The header line: "PMC path count,CNC path count,DCS ladder".
inline constexpr std::size_t kHeaderFieldCount = 3;
inline constexpr Range<std::int32_t, 1, 5> kPmcPathCounts{};
inline constexpr Range<std::int32_t, 1, 10> kCncPathCounts{};
inline constexpr std::array<std::string_view, 2> kDcsLadderWords = {"True", "False"};

// The names derived from the header line. CNC path 1 is plain "Path" as an
// XML location; as a data path every path is a prefix and its number.
inline constexpr const char* kXmlPathName = "Path";
inline constexpr const char* kCncPathPrefix = "CNC path ";
inline constexpr const char* kPmcPathPrefix = "PMC path ";
inline constexpr const char* kDcsPathName = "DCS path 9";

// Point kind: a configured point or a method point.
inline constexpr const char* kConfiguredPointKind = "C";
inline constexpr const char* kMethodPointKind = "D";
inline constexpr std::array<std::string_view, 2> kPointKinds = {kConfiguredPointKind,
                                                                kMethodPointKind};

// Point name of a configured point: a letter, then letters and digits.
inline constexpr std::size_t kMaxPointNameLength = 50;

// Point type names, in the order of their codes from point_type::kEvent on.
inline constexpr const char* kEventTypeName = "EVENT";
inline constexpr const char* kSampleTypeName = "SAMPLE";
inline constexpr const char* kConditionTypeName = "CONDITION";
inline constexpr std::array<std::string_view, 3> kPointTypeNames = {kEventTypeName, kSampleTypeName,
                                                                    kConditionTypeName};
static_assert(point_type::kEvent == 1 && point_type::kSample == 2 && point_type::kCondition == 3);

// Constant value: an EVENT value of letters and digits, or CONDITION codes
// separated by single blanks.
inline constexpr std::size_t kMaxEventValueLength = 10;
inline constexpr std::size_t kMaxConditionCodes = 10;
inline constexpr Range<std::int32_t, 1000, 2999> kConditionCodes{};

inline constexpr Range<std::int32_t, 100, 10000> kCycles{};

// Data types: CNC paths have their own, PMC paths and the DCS path theirs.
inline constexpr Range<std::int32_t, 1, 4> kCncDataTypes{};
inline constexpr Range<std::int32_t, 5, 8> kPmcDataTypes{};

inline constexpr const char* kReturnTypeName = "String";
inline constexpr const char* kAccessTypeName = "R";

// Start addresses by data type. Data type 4 has none: it accepts only the
// empty column.
inline constexpr Range<std::uint32_t, 100, 199> kDataType1StartAddresses{};
inline constexpr Range<std::uint32_t, 500, 999> kDataType2StartAddresses{};
inline constexpr Range<std::uint32_t, 1, 33> kDataType3StartAddresses{};
inline constexpr std::int32_t kDataTypeWithoutStartAddress = 4;
inline constexpr Range<std::uint32_t, 0, 59999> kPmcStartAddresses{};

// Only a bit data type has a bit position.
inline constexpr std::int32_t kBitDataType = 7;
inline constexpr Range<std::uint32_t, 0, 7> kBitPositions{};

}  // namespace marlint

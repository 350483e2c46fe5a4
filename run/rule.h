#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The rules a point file can break, one per distinct way a column can be
// wrong. A check names the rule with its fault, so that a report can say
// what the column accepts without looking at the check again.

namespace marlint {

enum class Rule : std::uint8_t {
  // The point file as a whole: no line to point at.
  kCannotOpen,
  kReadError,
  kEmptyFile,

  // The header line.
  kHeaderFieldCount,
  kPmcPathCount,
  kCncPathCount,
  kDcsLadder,

  // Point rows, in column order.
  kRowFieldCount,
  kPointKind,
  kPointName,   // a "C" name: a letter, then letters and digits, 50 at most
  kMethodName,  // a "D" name: a known method name, optionally "_" and a suffix
  kPointType,
  kEventValue,
  kSampleValue,
  kConditionWordCount,
  kConditionCode,
  kCycle,
  kUnitName,        // a SAMPLE point names a unit
  kUnitNotAllowed,  // other points leave the unit empty
  kXmlLocation,
  kConstantPointColumn,  // a point with constant values leaves columns 7 to 13 empty
  kDataPath,
  kCncDataType,
  kPmcDataType,
  kReturnType,
  kAccessType,
  kCncAddressType,  // CNC data types leave the address type empty
  kAddressLetter,
  kStartAddressType1,
  kStartAddressType2,
  kStartAddressType3,
  kStartAddressType4,
  kPmcStartAddress,
  kBitPos,            // data type 7: 0 to 7
  kBitPosNotAllowed,  // other data types leave the bit position empty
  kDuplicateName,

  // Notes: not faults of the file, but what the check leaves out.
  kUncheckedLines,  // lines after the empty line that ends the rows
};

// How many rules there are: kUncheckedLines is the last.
inline constexpr std::size_t kRuleCount = static_cast<std::size_t>(Rule::kUncheckedLines) + 1;

// The short, stable name a report gives the rule, such as "unit-name".
std::string_view ruleName(Rule rule);

// The column a fault of `rule` in field `field` (counted from 0; -1 for no
// field) is about, in words: "unit", "PMC path count", "point row", ...
std::string_view columnNameOf(Rule rule, int field);

}  // namespace marlint

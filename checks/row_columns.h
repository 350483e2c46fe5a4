#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "checks/address_columns.h"
#include "checks/column_check.h"
#include "checks/constant_value.h"
#include "checks/data_columns.h"
#include "checks/identity_columns.h"
#include "checks/location_columns.h"
#include "checks/point_record.h"
#include "checks/point_rows.h"
#include "checks/position_columns.h"

// The columns of a point row: each column's check, in checking order, and
// which earlier columns it depends on. Later checks read what earlier ones
// stored in the record, so a check is only sound when the columns it reads
// passed. A run that goes on after a fault skips a check whose premise
// failed, or was itself skipped, rather than judge a column by a value the
// row never gave.

namespace marlint {

// A set of fields of one row, one bit per field.
using FieldSet = std::uint16_t;

constexpr FieldSet fieldBit(std::size_t field) {
  return static_cast<FieldSet>(1u << field);
}

constexpr FieldSet fieldsOf(std::initializer_list<std::size_t> fields) {
  FieldSet set = 0;
  for (const std::size_t field : fields) {
    set = static_cast<FieldSet>(set | fieldBit(field));
  }
  return set;
}

// The fields of one row.
using RowFields = std::array<std::string_view, row_field::kCount>;

// Texts that a column read by later checks may have been meant to hold, one
// for each way those checks read it.
struct Readings {
  const std::string_view* texts = nullptr;
  std::size_t count = 0;

  const std::string_view* begin() const { return texts; }
  const std::string_view* end() const { return texts + count; }
};

template <std::size_t count>
constexpr Readings readingsOf(const std::array<std::string_view, count>& texts) {
  return {texts.data(), count};
}

struct RowColumn {
  ColumnCheck check;
  // The columns whose values the check reads, whatever the point.
  FieldSet premises;
  // The columns only the column's own rule reads. A point with constant
  // values never applies it: its data columns need only be empty.
  FieldSet ownRulePremises;
  // For a column that is a premise: the readings a later column is tried
  // under when this one is faulty. A column whose premise is faulty is
  // still reported when no reading of the faulty premise accepts it
  // (`checks/every_reading.h`), rather than skipped as a guess.
  Readings readings = {};
};

namespace row_premises {
// Whether the row is a "C" or a "D" point decides how every other column is
// read, or whether it is read at all.
inline constexpr FieldSet kKind = fieldsOf({row_field::kPointKind});
inline constexpr FieldSet kKindAndType = fieldsOf({row_field::kPointKind, row_field::kPointType});
// The constant point gate of the data columns reads the point type and
// whether the point carries constant values.
inline constexpr FieldSet kConstantPointGate =
    fieldsOf({row_field::kPointKind, row_field::kPointType, row_field::kConstantValue});
}  // namespace row_premises

namespace premise_readings {
// A configured point, and a method point, which reads no column past its name.
inline constexpr std::array<std::string_view, 2> kKinds = {"C", "D"};
inline constexpr std::array<std::string_view, 3> kTypes = {"SAMPLE", "EVENT", "CONDITION"};
// No constant value, and one that is both an EVENT value and a CONDITION code.
inline constexpr std::array<std::string_view, 2> kConstantValues = {"", "1000"};
// Data types read only whether the path is a CNC or a PMC path.
inline constexpr std::array<std::string_view, 2> kDataPaths = {"", "PMC path 1"};
inline constexpr std::array<std::string_view, 8> kDataTypes = {"1", "2", "3", "4",
                                                               "5", "6", "7", "8"};
}  // namespace premise_readings

// The one table of the columns: check, premises, premises of the own rule,
// and the readings of the columns that are premises.
inline constexpr std::array<RowColumn, row_field::kCount> kRowColumns = {{
    {checkPointKind, 0, 0, readingsOf(premise_readings::kKinds)},
    {checkPointName, row_premises::kKind, 0},
    {checkPointType, row_premises::kKind, 0, readingsOf(premise_readings::kTypes)},
    {checkConstantValue, row_premises::kKindAndType, 0,
     readingsOf(premise_readings::kConstantValues)},
    {checkCycle, row_premises::kKind, 0},
    {checkUnit, row_premises::kKindAndType, 0},
    {checkXmlLocation, row_premises::kKind, 0},
    {checkDataPath, row_premises::kConstantPointGate, 0, readingsOf(premise_readings::kDataPaths)},
    // CNC and PMC paths have different data types.
    {checkDataType, row_premises::kConstantPointGate, fieldsOf({row_field::kDataPath}),
     readingsOf(premise_readings::kDataTypes)},
    {checkReturnType, row_premises::kConstantPointGate, 0},
    {checkAccessType, row_premises::kConstantPointGate, 0},
    // Address letters, address ranges and the bit position go by data type.
    {checkAddressType, row_premises::kConstantPointGate, fieldsOf({row_field::kDataType})},
    {checkStartAddress, row_premises::kConstantPointGate, fieldsOf({row_field::kDataType})},
    {checkBitPos, row_premises::kConstantPointGate, fieldsOf({row_field::kDataType})},
}};

// Checking in column order is sound only when every premise comes earlier.
constexpr bool premisesPrecedeTheirColumns() {
  for (std::size_t field = 0; field < kRowColumns.size(); ++field) {
    const FieldSet later = static_cast<FieldSet>(~(fieldBit(field) - 1));
    if (((kRowColumns[field].premises | kRowColumns[field].ownRulePremises) & later) != 0) {
      return false;
    }
  }
  return true;
}
static_assert(premisesPrecedeTheirColumns());

// Every column another reads has readings to try it with.
constexpr bool everyPremiseHasReadings() {
  FieldSet read = 0;
  for (const RowColumn& column : kRowColumns) {
    read = static_cast<FieldSet>(read | column.premises | column.ownRulePremises);
  }
  for (std::size_t field = 0; field < kRowColumns.size(); ++field) {
    if ((read & fieldBit(field)) != 0 && kRowColumns[field].readings.count == 0) {
      return false;
    }
  }
  return true;
}
static_assert(everyPremiseHasReadings());

// The columns `field`'s check reads, and the columns those read, and so on.
constexpr FieldSet premisesBehind(std::size_t field) {
  FieldSet behind =
      static_cast<FieldSet>(kRowColumns[field].premises | kRowColumns[field].ownRulePremises);
  for (std::size_t earlier = field; earlier-- > 0;) {
    if ((behind & fieldBit(earlier)) != 0) {
      behind = static_cast<FieldSet>(behind | premisesBehind(earlier));
    }
  }
  return behind;
}

// The same for every column, worked out once.
constexpr std::array<FieldSet, row_field::kCount> premisesBehindEachColumn() {
  std::array<FieldSet, row_field::kCount> behind{};
  for (std::size_t field = 0; field < behind.size(); ++field) {
    behind[field] = premisesBehind(field);
  }
  return behind;
}
inline constexpr std::array<FieldSet, row_field::kCount> kPremisesBehind =
    premisesBehindEachColumn();

}  // namespace marlint

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

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

struct RowColumn {
  ColumnCheck check;
  // The columns whose values the check reads, whatever the point.
  FieldSet premises;
  // The columns only the column's own rule reads. A point with constant
  // values never applies it: its data columns need only be empty.
  FieldSet ownRulePremises;
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

// The one table of the columns: check, premises, premises of the own rule.
inline constexpr std::array<RowColumn, row_field::kCount> kRowColumns = {{
    {checkPointKind, 0, 0},
    {checkPointName, row_premises::kKind, 0},
    {checkPointType, row_premises::kKind, 0},
    {checkConstantValue, row_premises::kKindAndType, 0},
    {checkCycle, row_premises::kKind, 0},
    {checkUnit, row_premises::kKindAndType, 0},
    {checkXmlLocation, row_premises::kKind, 0},
    {checkDataPath, row_premises::kConstantPointGate, 0},
    // CNC and PMC paths have different data types.
    {checkDataType, row_premises::kConstantPointGate, fieldsOf({row_field::kDataPath})},
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

}  // namespace marlint

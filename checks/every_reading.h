#pragma once

#include <cstddef>

#include "checks/point_record.h"
#include "checks/row_columns.h"
#include "run/run_state.h"

// A run that goes on after faults skips a column whose premise is faulty:
// what the column should hold depends on what the premise should have
// been. Some texts are wrong whatever it should have been (a start address
// of 70000, a bit position of 9, a unit no unit name has), and a person
// should not need a second run to see them. Such a column is tried under
// every reading of its faulty premises, from the premises' readings in the
// table of columns, and reported when none accepts it.

namespace marlint {

// The columns of a row as far as its check went: those that failed their
// check, and those that failed or were skipped.
struct RowVerdicts {
  FieldSet failed = 0;
  FieldSet unsettled = 0;
};

// Tries column `field` of `fields`, whose premises are not all settled by
// `verdicts`, under every reading of them, starting from `record`, the row
// as its settled columns read. Reports the column's fault, with the faulty
// premises it holds for, when no reading accepts it, and returns true then.
bool checkUnderEveryReading(RunState& run, const RowFields& fields, const PointRecord& record,
                            const RowVerdicts& verdicts, std::size_t field);

}  // namespace marlint

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "run/run_state.h"

// A row with a wrong number of fields often has one slip behind it: a comma
// inside a value (a thousands separator, CONDITION codes), an empty field
// too many or too few. The edits that turn such a row into one whose every
// column checks explain the fault, and, where only one does, fix it.

namespace marlint {

struct RowRepair {
  enum class Kind {
    kJoinFields,    // a comma inside a value: "1,000" is "1000"
    kCommaToBlank,  // CONDITION codes separated by a comma: "1000,1001"
    kDropEmpty,     // an empty field too many: ",," is ","
    kInsertEmpty,   // a field missing: an empty one belongs here
  };
  Kind kind;
  // The field the edit concerns, counted from 0 in the repaired row.
  std::size_t field = 0;
  // The bytes of the line the edit replaces, and what replaces them.
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string replacement;
  // The field as the line writes it and as the repaired row has it.
  std::string written;
  std::string repaired;
  // The whole row after the edit.
  std::string repairedRow;
};

// Every single edit of `line`, a point row with one field too many or too
// few, after which each of its columns checks against the names `run`
// accepts; none for a row further off. The edits come in line order.
std::vector<RowRepair> repairsOfRow(std::string_view line, const RunState& run);

// "; the cycle seems written as "1,000": write "1000"" and the like for
// `repairs`, when there are any; the repaired row becomes the one
// suggestion when exactly one edit works.
void appendRowRepairs(std::string& out, std::vector<std::string>& suggestions,
                      const std::vector<RowRepair>& repairs);

// For `line`, a point row with a wrong number of fields: the edits
// `appendRowRepairs` names, or where none works, "; ... the fields look
// shifted from the cycle on, which holds "CELSIUS"" at the first column that
// does not check, or, where every field there is checks, how many are
// missing or too many. Nothing for a row with the right number of fields.
void explainFieldCount(std::string& out, std::vector<std::string>& suggestions,
                       std::string_view line, const RunState& run);

}  // namespace marlint

#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "checks/name_arena.h"
#include "checks/name_index.h"
#include "checks/point_list.h"
#include "input/point_input.h"

namespace marlint {

// The point names a report must not suggest for the row being checked,
// since taking one would only give the next fault, a repeated name: the
// name of another row, before or after it, and a name the report already
// offered for another row. A name counts where the repeat check compares
// it: on a row of the right number of fields whose kind and name pass.
//
// The rows before are known from the run: the accepted points, and, for a
// run that goes on after faults, the names it notes for the repeats. The
// rows after are read once, when the first suggestion is weighed, up to the
// empty line that ends the rows; a report without name suggestions never
// reads them. The first question reads the accepted names once; from the
// second on they are indexed, each name once, so that a report of many
// faults stays linear in the rows and a single fault needs no index.
class UsedNames {
 public:
  // `rest` is the input being checked, to look ahead in; null for a check
  // that reads nothing past the faulty row, where only the rows before
  // count.
  UsedNames(const PointList& points, PointInput* rest) : points_(points), rest_(rest) {}

  // Removes from `candidates` every name another row has or the report
  // offered already; true when it removed one.
  bool dropUsed(std::vector<std::string>& candidates);

  // Notes `names` as offered for the row being checked.
  void offer(const std::vector<std::string>& names);

 private:
  void markEarlierNames(const std::vector<std::string>& candidates, std::vector<bool>& used);
  void readLaterNames();

  const PointList& points_;
  PointInput* rest_;
  bool askedBefore_ = false;
  NameArena::Cursor indexedUpTo_;
  std::unordered_set<std::string_view> index_;
  bool readAhead_ = false;
  NameIndex laterNames_;
  std::unordered_set<std::string> offered_;
};

}  // namespace marlint

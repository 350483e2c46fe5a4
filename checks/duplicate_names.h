#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "run/run_state.h"
#include "checks/point_list.h"

namespace marlint {

// The earliest point, in file order, whose name occurs again anywhere in the
// list, and the first repeat of that name. Indexes count the points of the
// list from 0; `name` is a view into the list.
struct RepeatedName {
  std::size_t firstIndex;
  std::size_t repeatIndex;  // the smallest later index with the same name
  std::string_view name;
};

// Names compare byte for byte. Nothing when all names differ.
std::optional<RepeatedName> findEarliestRepeatedName(const PointList& points);

// Fails with the name of the earliest point, in file order, whose name
// occurs again anywhere in `points`.
bool checkDuplicateNames(RunState& run, const PointList& points);

}  // namespace marlint

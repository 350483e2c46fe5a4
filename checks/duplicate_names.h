#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "checks/name_index.h"
#include "checks/point_list.h"
#include "run/run_state.h"

namespace marlint {

// The earliest point, in file order, whose name occurs again anywhere in the
// list, and the first repeat of that name. Indexes count the points of the
// list from 0; `name` is a view into the list.
struct RepeatedName {
  std::size_t firstIndex;
  std::size_t repeatIndex;  // the smallest later index with the same name
  std::string_view name;
};

// The repeat on `repeatLine` of `name`, first used on `firstLine`. A point
// row that passed its kind check starts with one letter and a comma, so its
// name always starts in column 3.
inline NameRepeat nameRepeatOf(std::string_view name, std::size_t firstLine,
                               std::size_t repeatLine) {
  return NameRepeat{name, static_cast<int>(row_field::kPointName), 3, firstLine, repeatLine};
}

// Names compare byte for byte. Nothing when all names differ.
std::optional<RepeatedName> findEarliestRepeatedName(const PointList& points);

// Every point whose name an earlier point has, in file order, each with the
// first point of that name.
std::vector<RepeatedName> findRepeatedNames(const PointList& points);

// For a run that goes on after faults while every row it read so far was
// accepted, and so is in `points`: reports each repeat of a name among
// them, in line order.
void reportRepeatedNames(RunState& run, const PointList& points);

// The same run, taking to its first faulty row: notes the name of every point
// of `points` in `index`, at its line.
void noteNamesOf(const PointList& points, NameIndex& index);

// Fails with the name of the earliest point, in file order, whose name
// occurs again anywhere in `points`.
bool checkDuplicateNames(RunState& run, const PointList& points);

}  // namespace marlint

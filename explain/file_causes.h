#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "explain/cause_evidence.h"
#include "explain/file_shape.h"
#include "run/run_state.h"

// Why a file made by another tool does not read as a point file, as far as
// its bytes show: what spreadsheet exports, other editors and joined files
// leave in it. A cause is named from what the file shows, not from one
// field: a sample of its lines is looked at once, when the first fault is
// described, and each fault then names the causes that explain it: those
// whose undo on the fault's line makes the fault go away.
//
// One table in file_causes.cpp holds every cause, most likely first: its
// stable name, its description, its evidence (cause_evidence.h) and its
// words in a report.

namespace marlint {

// The causes named for one fault, by their place in the table of causes.
class FileCauses {
 public:
  void add(std::size_t place) { bits_ |= bitOf(place); }
  bool has(std::size_t place) const { return (bits_ & bitOf(place)) != 0; }
  bool empty() const { return bits_ == 0; }

 private:
  static std::uint32_t bitOf(std::size_t place) { return std::uint32_t{1} << place; }
  std::uint32_t bits_ = 0;
};

// The causes of the fault at `site`: those that `shape` and the fault's own
// line show, and whose undo (explain/cause_undo.h), checked again against
// the names `run` accepts, makes the fault go away.
FileCauses likelyCausesOf(const FaultSite& site, const FileShape& shape, const RunState& run);

// Appends the stable names of `causes` to `names`, most likely first.
void appendCauseNames(std::vector<std::string>& names, FileCauses causes);

// Appends " Likely cause: ..." or " Likely causes, most likely first: ...;
// ..." for `causes`, most likely first; nothing for none.
void appendLikelyCauses(std::string& out, FileCauses causes, const FileShape& shape);

// A cause as the README, the manual page and the public header list it.
struct LikelyCauseEntry {
  std::string_view name;  // stable, such as "cr-line-ends"
  std::string_view description;
};

// Every cause a report can name, most likely first.
std::vector<LikelyCauseEntry> likelyCauseEntries();

}  // namespace marlint

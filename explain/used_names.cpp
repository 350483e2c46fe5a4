#include "explain/used_names.h"

#include <array>
#include <optional>
#include <utility>

#include "checks/identity_columns.h"
#include "checks/point_record.h"
#include "input/split_fields.h"
#include "input/text_rules.h"
#include "run/run_state.h"
#include "vocab/vocabularies.h"

namespace marlint {
namespace {

// Reads the point rows after the one being checked from pieces of the
// input, as `readLine` would cut them, and notes the name of each row the
// repeat check would compare, up to the empty line that ends the rows.
class LaterRows {
 public:
  explicit LaterRows(NameIndex& names) : names_(names) { quiet_.silent = true; }

  // Takes the next piece of the input; false once the rows have ended.
  bool take(std::string_view piece) {
    while (!piece.empty()) {
      const std::optional<std::size_t> lineFeed = findByte(piece, '\n');
      if (!lineFeed) {
        partial_.append(piece);
        return true;
      }
      std::string_view line = piece.substr(0, *lineFeed);
      piece.remove_prefix(*lineFeed + 1);
      if (!partial_.empty()) {
        partial_.append(line);
        line = partial_;
      }
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      if (line.empty()) {
        ended_ = true;
        return false;
      }
      noteRow(line);
      partial_.clear();
    }
    return true;
  }

  // After the input's end: its last line, which ended without LF.
  void finish() {
    if (!ended_ && !partial_.empty()) {
      noteRow(partial_);
    }
  }

 private:
  void noteRow(std::string_view line) {
    // A suggestion is a method name and a suffix: a name that does not
    // start so is never asked for, and most rows are passed over here.
    constexpr std::size_t kNone = std::string_view::npos;
    const std::size_t kindEnd = line.find(',');
    const std::size_t nameEnd = kindEnd == kNone ? kNone : line.find(',', kindEnd + 1);
    if (nameEnd == kNone ||
        !lookupMethodCycle(methodNameOf(line.substr(kindEnd + 1, nameEnd - kindEnd - 1)))) {
      return;
    }
    record_ = PointRecord();
    if (splitFieldsInto(line, ',', fields_) == fields_.size() &&
        !checkPointKind(quiet_, fields_[row_field::kPointKind], record_) &&
        !checkPointName(quiet_, fields_[row_field::kPointName], record_)) {
      names_.noteName(fields_[row_field::kPointName], 0);
    }
  }

  NameIndex& names_;
  // The checks' own verdict on kind and name, without a fault recorded.
  RunState quiet_;
  PointRecord record_;
  std::array<std::string_view, row_field::kCount> fields_;
  std::string partial_;  // a line whose end is in a later piece
  bool ended_ = false;
};

}  // namespace

bool UsedNames::dropUsed(std::vector<std::string>& candidates) {
  if (candidates.empty()) {
    return false;
  }
  std::vector<bool> used(candidates.size(), false);
  markEarlierNames(candidates, used);
  if (rest_ != nullptr && !readAhead_) {
    readLaterNames();
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (used[i] || laterNames_.holds(candidates[i]) || offered_.count(candidates[i]) != 0) {
      continue;
    }
    if (kept != i) {
      candidates[kept] = std::move(candidates[i]);
    }
    ++kept;
  }
  const bool dropped = kept < candidates.size();
  candidates.resize(kept);
  return dropped;
}

void UsedNames::offer(const std::vector<std::string>& names) {
  offered_.insert(names.begin(), names.end());
}

void UsedNames::markEarlierNames(const std::vector<std::string>& candidates,
                                 std::vector<bool>& used) {
  // Going on after faults, the run notes the name of every row it read,
  // accepted or not, from its first faulty row on; before that row every
  // row was accepted, and its name noted as well.
  if (points_.namesSoFar != nullptr) {
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      used[i] = points_.namesSoFar->holds(candidates[i]);
    }
    return;
  }
  const NameArena& names = points_.names();
  std::string_view name;
  if (!askedBefore_) {
    askedBefore_ = true;
    NameArena::Cursor cursor;
    while (names.readNext(cursor, name)) {
      for (std::size_t i = 0; i < candidates.size(); ++i) {
        used[i] = used[i] || name == candidates[i];
      }
    }
    return;
  }
  while (names.readNext(indexedUpTo_, name)) {
    index_.insert(name);
  }
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    used[i] = index_.count(candidates[i]) != 0;
  }
}

void UsedNames::readLaterNames() {
  readAhead_ = true;
  LaterRows rows(laterNames_);
  rest_->peekRest([&rows](std::string_view piece) { return rows.take(piece); });
  rows.finish();
}

}  // namespace marlint

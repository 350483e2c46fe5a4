#include "checks/every_reading.h"

#include <optional>

#include "checks/accepted_values.h"

namespace marlint {
namespace {

// A rule that only says the column must be empty for the reading tried:
// the reading that shows what the column should hold is worth more.
bool asksOnlyForEmpty(Rule rule) {
  switch (rule) {
    case Rule::kSampleValue:
    case Rule::kUnitNotAllowed:
    case Rule::kConstantPointColumn:
    case Rule::kCncAddressType:
    case Rule::kStartAddressType4:
    case Rule::kBitPosNotAllowed: return true;
    default: return false;
  }
}

// A check stores its values as it passes; the one value a failing check
// may leave in part is the constant value's list of codes. A column tried
// again starts without it.
void forgetStoredBy(std::size_t field, PointRecord& record) {
  if (field == row_field::kConstantValue) {
    record.constantValues.clear();
  }
}

// Searches the readings of a row's unsettled premises for one that accepts
// a column: each premise as written, and each of its readings. The reading
// reported when none accepts is one that says what the column should hold
// rather than only that it should be empty, where there is one, and among
// those the first that keeps most of the row as written.
class ReadingSearch {
 public:
  ReadingSearch(RunState& run, const RowFields& fields, const RowVerdicts& verdicts,
                std::size_t target)
      : run_(run),
        fields_(fields),
        open_(static_cast<FieldSet>(kPremisesBehind[target] & verdicts.unsettled)),
        target_(target) {}

  // True when some reading of the open premises, from `field` on, accepts
  // the target column of a row read as far as `record`, where `changed`
  // premises so far were read otherwise than written.
  bool acceptedFrom(std::size_t field, const PointRecord& record, std::size_t changed) {
    while (field < target_ && (open_ & fieldBit(field)) == 0) {
      ++field;
    }
    if (field == target_) {
      return acceptsTarget(record, changed);
    }
    if (acceptedWith(field, fields_[field], record, changed)) {
      return true;
    }
    for (const std::string_view reading : kRowColumns[field].readings) {
      if (reading != fields_[field] && acceptedWith(field, reading, record, changed + 1)) {
        return true;
      }
    }
    return false;
  }

  // The reading whose fault is reported; none when no reading reached the
  // column.
  const std::optional<PointRecord>& shownReading() const { return shown_; }

 private:
  bool acceptedWith(std::size_t field, std::string_view text, const PointRecord& record,
                    std::size_t changed) {
    PointRecord trial = record;
    forgetStoredBy(field, trial);
    if (kRowColumns[field].check(run_, text, trial)) {
      return false;  // not a reading of this row
    }
    // A method point reads no column past its name.
    if (trial.kind == kMethodPointKind[0] && target_ > row_field::kPointName) {
      return true;
    }
    return acceptedFrom(field + 1, trial, changed);
  }

  bool acceptsTarget(const PointRecord& record, std::size_t changed) {
    PointRecord trial = record;
    forgetStoredBy(target_, trial);
    if (!kRowColumns[target_].check(run_, fields_[target_], trial)) {
      return true;
    }
    const std::size_t distance =
        (asksOnlyForEmpty(run_.silentFailure) ? row_field::kCount : 0) + changed;
    if (!shown_ || distance < shownDistance_) {
      shown_ = record;
      shownDistance_ = distance;
    }
    return false;
  }

  RunState& run_;
  const RowFields& fields_;
  FieldSet open_;
  std::size_t target_;
  std::optional<PointRecord> shown_;
  std::size_t shownDistance_ = 0;
};

}  // namespace

bool checkUnderEveryReading(RunState& run, const RowFields& fields, const PointRecord& record,
                            const RowVerdicts& verdicts, std::size_t field) {
  ReadingSearch search(run, fields, verdicts, field);
  const bool wasSilent = run.silent;
  run.silent = true;
  const bool accepted = search.acceptedFrom(0, record, 0);
  run.silent = wasSilent;
  if (accepted || !search.shownReading()) {
    return false;
  }
  PointRecord shown = *search.shownReading();
  forgetStoredBy(field, shown);
  run.faultyPremises = static_cast<std::uint16_t>(verdicts.failed & kPremisesBehind[field]);
  kRowColumns[field].check(run, fields[field], shown);
  run.faultyPremises = 0;
  return true;
}

}  // namespace marlint

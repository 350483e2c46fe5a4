#include "checks/location_columns.h"

#include <algorithm>
#include <optional>

#include "vocab/vocabularies.h"

namespace marlint {

bool checkUnit(RunState& run, std::string_view text, PointRecord& record) {
  if (record.pointType == point_type::kSample) {
    // A SAMPLE point must name a unit; one without a physical unit says "NONE".
    const std::optional<std::int32_t> unitNumber = lookupUnitNumber(text);
    if (!unitNumber) {
      return run.fail(Rule::kUnitName, text, " is illegal unit.");
    }
    record.unit = *unitNumber;
    return false;
  }
  if (!text.empty()) {
    return run.fail(Rule::kUnitNotAllowed, text, " is illegal unit.");
  }
  record.unit = 0;
  return false;
}

bool checkXmlLocation(RunState& run, std::string_view text, PointRecord& record) {
  if (!run.xmlLocationNames.contains(text)) {
    return run.fail(Rule::kXmlLocation, text, " is illegal XML location.");
  }
  record.xmlLocation = text;
  return false;
}

}  // namespace marlint

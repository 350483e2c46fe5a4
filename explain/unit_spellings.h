#pragma once

#include <string_view>

// The ways people write units in a spreadsheet ("°C", "RPM", "%", "mm"),
// for suggesting the unit name a point file wants instead.

namespace marlint {

struct UnitSpelling {
  std::string_view spelling;
  std::string_view unitName;
};

// Every spelling with the unit name it stands for; each unit name is one of
// `unitNames()`.
const UnitSpelling* unitSpellingsBegin();
const UnitSpelling* unitSpellingsEnd();

// The unit name that `text` is a usual spelling of, compared byte for byte
// after blanks and wrapping double quotes are set aside; empty when it is none.
std::string_view unitNameSpelledAs(std::string_view text);

}  // namespace marlint

#include "explain/unit_spellings.h"

#include <iterator>

#include "explain/close_words.h"

namespace marlint {
namespace {

// Case matters: "s" is a second and "S" a siemens, "mm" never a megametre.
// Spellings that differ from a unit name only in case ("Celsius", "pH") or
// by a slip ("LITRE") are found as close words and are not listed.
constexpr UnitSpelling kUnitSpellings[] = {
    {"A", "AMPERE"},
    {"amp", "AMPERE"},
    {"\xc2\xb0"
     "C",
     "CELSIUS"},                  // degree sign
    {"\xe2\x84\x83", "CELSIUS"},  // the one-character degree Celsius sign
    {"degC", "CELSIUS"},
    {"deg C", "CELSIUS"},
    {"DEG C", "CELSIUS"},
    {"DEGC", "CELSIUS"},
    {"pcs", "COUNT"},
    {"dB", "DECIBEL"},
    {"DB", "DECIBEL"},
    {"\xc2\xb0", "DEGREE"},
    {"deg", "DEGREE"},
    {"DEG", "DEGREE"},
    {"\xc2\xb0/s", "DEGREE / SECOND"},
    {"deg/s", "DEGREE / SECOND"},
    {"\xc2\xb0/s\xc2\xb2", "DEGREE / SECONDA^2"},
    {"\xc2\xb0/s^2", "DEGREE / SECONDA^2"},
    {"deg/s^2", "DEGREE / SECONDA^2"},
    {"deg/s2", "DEGREE / SECONDA^2"},
    {"Hz", "HERTZ"},
    {"HZ", "HERTZ"},
    {"J", "JOULE"},
    {"kg", "KILOGRAM"},
    {"KG", "KILOGRAM"},
    {"l", "LITER"},
    {"L", "LITER"},
    {"l/s", "LITER / SECOND"},
    {"L/s", "LITER / SECOND"},
    {"\xc2\xb5rad", "MICRO_RADIAN"},  // micro sign
    {"\xce\xbcrad", "MICRO_RADIAN"},  // Greek mu
    {"urad", "MICRO_RADIAN"},
    {"mm", "MILLIMETER"},
    {"MM", "MILLIMETER"},
    {"mm/s", "MILLIMETER / SECOND"},
    {"MM/S", "MILLIMETER / SECOND"},
    {"mm/s\xc2\xb2", "MILLIMETER / SECOND^2"},
    {"mm/s^2", "MILLIMETER / SECOND^2"},
    {"mm/s2", "MILLIMETER / SECOND^2"},
    {"N", "NEWTON"},
    {"Nm", "NEWTON_METER"},
    {"N m", "NEWTON_METER"},
    {"N.m", "NEWTON_METER"},
    {"N\xc2\xb7m", "NEWTON_METER"},  // middle dot
    {"Pa", "PASCAL"},
    {"PA", "PASCAL"},
    {"Pa s", "PASCAL_SECOND"},
    {"Pa.s", "PASCAL_SECOND"},
    {"Pa\xc2\xb7s", "PASCAL_SECOND"},
    {"%", "PERCENT"},
    {"RPM", "REVOLUTION/MINUTE"},
    {"rpm", "REVOLUTION/MINUTE"},
    {"r/min", "REVOLUTION/MINUTE"},
    {"1/min", "REVOLUTION/MINUTE"},
    {"min-1", "REVOLUTION/MINUTE"},
    {"s", "SECOND"},
    {"sec", "SECOND"},
    {"SEC", "SECOND"},
    {"S/m", "SIEMENS/METER"},
    {"V", "VOLT"},
    {"VA", "VOLT_AMPERE"},
    {"var", "VOLT_AMPERE_REACTIVE"},
    {"VAr", "VOLT_AMPERE_REACTIVE"},
    {"VAR", "VOLT_AMPERE_REACTIVE"},
    {"W", "WATT"},
    {"Ws", "WATT_SECOND"},
    {"W s", "WATT_SECOND"},
    {"W\xc2\xb7s", "WATT_SECOND"},
};

}  // namespace

const UnitSpelling* unitSpellingsBegin() {
  return std::begin(kUnitSpellings);
}

const UnitSpelling* unitSpellingsEnd() {
  return std::end(kUnitSpellings);
}

std::string_view unitNameSpelledAs(std::string_view text) {
  const std::string_view word = withoutWrapping(text);
  for (const UnitSpelling& entry : kUnitSpellings) {
    if (entry.spelling == word) {
      return entry.unitName;
    }
  }
  return {};
}

}  // namespace marlint

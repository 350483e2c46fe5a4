#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The fixed vocabularies a point row is checked against. They are constant
// tables, so they cost nothing at start-up and no run can change them.
// Every lookup matches the whole key byte for byte and never inserts.

namespace marlint {

inline constexpr std::size_t kMethodCount = 23;
inline constexpr std::size_t kUnitCount = 32;

// Sampling cycle of a point of kind "D" whose method name is `methodName`.
std::optional<std::int32_t> lookupMethodCycle(std::string_view methodName);

// Unit number (1 to 32) of `unitName`.
std::optional<std::int32_t> lookupUnitNumber(std::string_view unitName);

// Address type code (0 to 13) of the PMC address letter `letter`.
std::optional<std::int16_t> lookupAddressTypeCode(char letter);

// The entries in table order, for reports that list them or suggest the
// nearest one: the method names, the unit names (unit number 1 first), and
// the address letters (code 0 first).
const std::array<std::string_view, kMethodCount>& methodNames();
const std::array<std::string_view, kUnitCount>& unitNames();
std::string_view addressLetters();

// The XML location names every run starts with, before the path names.
inline constexpr std::string_view kStartupXmlLocationNames[] = {"Device", "Controller"};

}  // namespace marlint

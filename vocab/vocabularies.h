#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The fixed vocabularies a point row is checked against. They are constant
// tables, so they cost nothing at start-up and no run can change them.
// Every lookup matches the whole key byte for byte and never inserts.

namespace marlint {

// The entries of one vocabulary in table order, for reports that list them
// or suggest the nearest one, and for the tests that hold the documents to
// the tables.
class NameList {
 public:
  constexpr NameList(const std::string_view* names, std::size_t size)
      : names_(names), size_(size) {}
  constexpr const std::string_view* begin() const { return names_; }
  constexpr const std::string_view* end() const { return names_ + size_; }
  constexpr std::size_t size() const { return size_; }
  constexpr std::string_view operator[](std::size_t index) const { return names_[index]; }

 private:
  const std::string_view* names_;
  std::size_t size_;
};

// Sampling cycle of a point of kind "D" whose method name is `methodName`.
std::optional<std::int32_t> lookupMethodCycle(std::string_view methodName);

// Unit number of `unitName`: its place in the unit table, from 1.
std::optional<std::int32_t> lookupUnitNumber(std::string_view unitName);

// Address type code of the PMC address letter `letter`: its place in the
// letter table, from 0.
std::optional<std::int16_t> lookupAddressTypeCode(char letter);

// The method names, the unit names (unit number 1 first), and the address
// letters (code 0 first).
NameList methodNames();
NameList unitNames();
std::string_view addressLetters();

// The XML location names every run starts with, before the path names.
inline constexpr std::string_view kStartupXmlLocationNames[] = {"Device", "Controller"};

}  // namespace marlint

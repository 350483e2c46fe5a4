#include "vocab/exact_key_table.h"

// Compiled, never linked, by tests/vocab/key_table_failure_test.cmake: each
// table stops the build, and the compiler's message must name its keys.
// Keys of one length go to one slot whenever they share the byte read, and
// every byte position of these three is shared by two of them.

#ifdef REPEATED_KEY
constexpr std::array<std::string_view, 3> kKeys = {"VOLT", "WATT", "VOLT"};
#else
constexpr std::array<std::string_view, 3> kKeys = {"AA", "AB", "BA"};
#endif
constexpr marlint::ExactKeyTable<3> kTable(kKeys);

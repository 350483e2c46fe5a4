#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/check_invariants.h"

// One whole check over arbitrary bytes; a broken invariant aborts, so the
// fuzzer keeps the input and the corpus replay fails.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const std::optional<std::string> breach = marlint::fuzzing::findInvariantBreach(bytes)) {
    std::fprintf(stderr, "invariant broken: %s\n", breach->c_str());
    std::abort();
  }
  return 0;
}

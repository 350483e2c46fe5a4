#pragma once

#include <cstdio>
#include <string>

namespace marlint::testing {

// A read-only stream that yields `bytes` and then fails with EIO, the way a
// disk or network file can fail in the middle. Close it with std::fclose.
std::FILE* openFailingStream(const std::string& bytes);

}  // namespace marlint::testing

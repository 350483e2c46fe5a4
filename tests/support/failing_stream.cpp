#include "tests/support/failing_stream.h"

#include <sys/types.h>

#include <cerrno>
#include <cstring>

namespace marlint::testing {
namespace {

struct FailingSource {
  std::string bytes;
  std::size_t position = 0;
};

ssize_t readThenFail(void* cookie, char* buffer, std::size_t size) {
  auto* source = static_cast<FailingSource*>(cookie);
  if (source->position == source->bytes.size()) {
    errno = EIO;
    return -1;
  }
  const std::size_t count = std::min(size, source->bytes.size() - source->position);
  std::memcpy(buffer, source->bytes.data() + source->position, count);
  source->position += count;
  return static_cast<ssize_t>(count);
}

int closeSource(void* cookie) {
  delete static_cast<FailingSource*>(cookie);
  return 0;
}

}  // namespace

std::FILE* openFailingStream(const std::string& bytes) {
  cookie_io_functions_t functions{};
  functions.read = readThenFail;
  functions.close = closeSource;
  return ::fopencookie(new FailingSource{bytes}, "r", functions);
}

}  // namespace marlint::testing

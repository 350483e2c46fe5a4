#include "cli/host_error_number.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>

#include <array>
#include <cerrno>
#include <utility>

namespace {

// The host's number for the error named `name`, or -1 when Node knows none.
EM_JS(int, hostErrorNumberNamed, (const char* name), {
  const number = require("os").constants.errno[UTF8ToString(name)];
  return number >= 0 ? number : -1;
});

#define MARLINT_NAMED_ERROR(name) std::pair<int, const char*>(name, #name)

// The errors opening, writing or closing a file can give.
constexpr std::array kNamedErrors = {
    MARLINT_NAMED_ERROR(EACCES), MARLINT_NAMED_ERROR(EAGAIN),    MARLINT_NAMED_ERROR(EBADF),
    MARLINT_NAMED_ERROR(EBUSY),  MARLINT_NAMED_ERROR(EDQUOT),    MARLINT_NAMED_ERROR(EEXIST),
    MARLINT_NAMED_ERROR(EFAULT), MARLINT_NAMED_ERROR(EFBIG),     MARLINT_NAMED_ERROR(EINTR),
    MARLINT_NAMED_ERROR(EINVAL), MARLINT_NAMED_ERROR(EIO),       MARLINT_NAMED_ERROR(EISDIR),
    MARLINT_NAMED_ERROR(ELOOP),  MARLINT_NAMED_ERROR(EMFILE),    MARLINT_NAMED_ERROR(ENAMETOOLONG),
    MARLINT_NAMED_ERROR(ENFILE), MARLINT_NAMED_ERROR(ENODEV),    MARLINT_NAMED_ERROR(ENOENT),
    MARLINT_NAMED_ERROR(ENOMEM), MARLINT_NAMED_ERROR(ENOSPC),    MARLINT_NAMED_ERROR(ENOTDIR),
    MARLINT_NAMED_ERROR(ENXIO),  MARLINT_NAMED_ERROR(EOVERFLOW), MARLINT_NAMED_ERROR(EPERM),
    MARLINT_NAMED_ERROR(EPIPE),  MARLINT_NAMED_ERROR(EROFS),     MARLINT_NAMED_ERROR(ETXTBSY),
};

#undef MARLINT_NAMED_ERROR

}  // namespace

namespace marlint {

int hostErrorNumber(int error) {
  for (const auto& [number, name] : kNamedErrors) {
    if (number == error) {
      const int hostNumber = hostErrorNumberNamed(name);
      return hostNumber < 0 ? error : hostNumber;
    }
  }
  return error;
}

}  // namespace marlint

#else

namespace marlint {

int hostErrorNumber(int error) {
  return error;
}

}  // namespace marlint

#endif

#include "cli/host_streams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace marlint {

void useBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void keepRunningWhenReportReaderLeaves() {}

}  // namespace marlint

#else
#include <csignal>

namespace marlint {

void useBinaryStandardStreams() {}

void keepRunningWhenReportReaderLeaves() {
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace marlint

#endif

#pragma once

namespace marlint {

// `error`, an errno value, as the operating system the program runs on
// numbers it: what "Error fopen %d" shows. A native build returns it as it
// is; under WebAssembly the C library numbers errors its own way, and Node,
// which runs the program, gives the host's number for the same error.
int hostErrorNumber(int error);

}  // namespace marlint

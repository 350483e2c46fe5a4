#pragma once

#include <optional>
#include <string>
#include <string_view>

// One whole check over bytes in memory, and the properties every such check
// must have whatever the bytes are. Shared by the libFuzzer target and the
// corpus replay that runs in the ordinary test suite.

namespace marlint::fuzzing {

struct CheckOutcome {
  int status = 0;  // 0 for "OK", -1 for a message
  std::string resultText;

  bool operator==(const CheckOutcome& other) const {
    return status == other.status && resultText == other.resultText;
  }
};

// Checks `bytes` as a point file read from memory.
CheckOutcome checkBytes(std::string_view bytes);

// Checks `bytes` as a point file read through a stdio stream, the way a file
// or standard input is read.
CheckOutcome checkBytesThroughStream(std::string_view bytes);

// `bytes` with two valid rows whose names occur nowhere in `bytes` inserted
// right after the header line, in the header line's own line end.
std::string withFreshRowsAfterHeader(std::string_view bytes);

// Judges one outcome of checking `bytes` on its own: "OK" with status 0, or
// one of the program's messages with status -1 whose offending text is what
// its suffix names. Returns what is wrong, or nothing.
std::optional<std::string> findOutcomeBreach(const CheckOutcome& outcome, std::string_view bytes);

// Runs the checks over `bytes` and returns a description of the first
// broken invariant, or nothing when all hold:
//  - the result is "OK" with status 0, or one of the program's messages with
//    status -1, and the text in front of a suffix is what that suffix names
//    (the header line, a line, a field, a repeated point name);
//  - the same bytes give the same outcome twice, and from memory and a stream;
//  - both scopes of the public API, with notes, give the same outcome; every
//    fault they report points at its text (the bytes of its line from its
//    column start with it), faults come in line order and, within a line, in
//    column order, notes come after every fault, and each report line,
//    compiler style or JSON, is one line of well-formed UTF-8;
//  - a file that gives "OK" still does with fresh valid rows inserted.
std::optional<std::string> findInvariantBreach(std::string_view bytes);

}  // namespace marlint::fuzzing

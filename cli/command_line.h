#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace marlint {

inline constexpr int kStatusOk = 0;
inline constexpr int kStatusFailed = -1;

// The whole program for the command-line arguments after the program name:
// options, then a point file path ("-" for standard input) and an optional
// result file path. Writes the result text to the result file, or else to
// `errorStream`, and returns the exit status: 0 for "OK", -1 otherwise. The
// report the options ask for, --help and --version go to `outputStream`;
// the usage text and other complaints to `errorStream`.
int runCommandLine(const std::vector<std::string>& arguments, std::FILE* outputStream,
                   std::FILE* errorStream);

}  // namespace marlint

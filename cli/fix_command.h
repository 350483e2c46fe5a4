#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/command_options.h"
#include "marlint/marlint.h"

// --fix=OUT and --diff: the point file with every certain fix applied,
// written to OUT or shown as a unified diff. The result text and status
// stay those of the point file as given.

namespace marlint {

// Checks `commandLine.positional[0]` as the plain run does and returns that
// result. Writes the fixed bytes to `commandLine.fixOutput` when --fix asks
// for them, then on `outputStream` the unified diff (--diff), or else the
// report: each fix applied, at its place in the point file, then every fault
// left in the fixed file, named by OUT. OUT naming the point file itself,
// or a file that cannot be written, is said in the report, and nothing is
// written to it.
CheckResult checkAndFix(const CommandLine& commandLine, std::FILE* outputStream);

// A unified diff from `before` to `after`, both named `fileName`, with three
// lines of context: what `patch -p0` applies to the file. Empty when they
// are the same.
std::string unifiedDiff(std::string_view fileName, std::string_view before, std::string_view after);

}  // namespace marlint

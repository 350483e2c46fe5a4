#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a text in a path column was probably meant to name: a name the
// header line gives, written in other case or with other blanks, or a path
// past the header's count. The checks compare names byte for byte; only the
// report reads them this way.

namespace marlint {

struct PathNameReading {
  // How the text differs from `name`.
  enum class Slip : std::uint8_t {
    kNone,
    kCase,
    kBlanks,
    kCaseAndBlanks,
    kFirstCncPathNumbered,  // "Path1" or "path 1" for "Path"
  };

  // The accepted name the text writes otherwise; empty when none.
  std::string_view name;
  Slip slip = Slip::kNone;
  // For a path past the header's count, the kind of path ("CNC" or "PMC")
  // and how many of them there are; `pastKind` is empty otherwise.
  std::string_view pastKind;
  std::size_t count = 0;
};

// Reads an XML location against the run's XML location names.
PathNameReading readXmlLocation(std::string_view text, const std::vector<std::string>& names);

// Reads a data path against the run's data path names.
PathNameReading readDataPath(std::string_view text, const std::vector<std::string>& names);

// Why the text is not accepted, as far as `reading` tells: "; names are
// case-sensitive", "; CNC path 1 is written "Path"", "; the header line
// gives 3 CNC paths"; nothing when it tells nothing.
void appendPathNameReason(std::string& out, const PathNameReading& reading);

}  // namespace marlint

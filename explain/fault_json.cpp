#include "explain/report_lines.h"
#include "marlint/marlint.h"

// The public name of the JSON report line, for clients that hand faults on
// without a stream: the web binding.

namespace marlint {

void appendFaultJson(std::string& out, std::string_view fileName, const Fault& fault) {
  appendJsonLine(out, fileName, fault);
}

}  // namespace marlint

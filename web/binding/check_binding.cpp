#include <emscripten/emscripten.h>

#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "marlint/marlint.h"

// The checker as WebAssembly exports, for web/js/checker.js: one check at a
// time per module instance. The faults leave as pages of `--json` lines, so
// a file with a million faults never builds one huge string on either side.

namespace {

// Copies the next at most `size` bytes of the point file from the checker
// script to `into` and returns how many it copied, 0 at the end: the file
// stays with the script and is read in blocks, so the module's memory never
// holds all of it.
EM_JS(std::size_t, readInputBlock, (char* into, std::size_t size),
      { return Module["marlintRead"](into, size); });

ssize_t readFromScript(void*, char* into, std::size_t size) {
  return static_cast<ssize_t>(readInputBlock(into, size));
}

// Hands `count` faults, as a JSON array at `lines`, to the checker script,
// which copies them out before the next page reuses the memory.
EM_JS(void, handOverFaultPage, (const char* lines, std::size_t size, std::size_t count),
      { Module["marlintFaultPage"](lines, size, count); });

// Tells the checker script that memory ran out, before the module stops:
// the script then reports that rather than a bare abort, and loads a fresh
// module for the next check.
EM_JS(void, tellOutOfMemory, (), { Module["marlintOutOfMemory"] = true; });

void stopOutOfMemory() {
  tellOutOfMemory();
  std::abort();
}

// What the script reads after a check, until the next one.
struct LastCheck {
  std::string resultText;
  std::size_t faultCount = 0;
};

LastCheck& lastCheck() {
  static LastCheck check;
  return check;
}

}  // namespace

extern "C" {

// Checks the point file the script hands over block by block and returns
// the status, 0 or -1. With `everyFault` set the check goes on after the
// first fault. Every fault is handed over as its JSON line naming the point
// file `fileName`, in pages of `pageSize` faults (the last page may be
// shorter).
EMSCRIPTEN_KEEPALIVE int marlintCheck(int everyFault, std::size_t pageSize, const char* fileName) {
  std::set_new_handler(stopOutOfMemory);
  LastCheck& last = lastCheck();
  last.faultCount = 0;
  const std::string_view name(fileName);
  std::string page;
  std::size_t faultsInPage = 0;

  marlint::CheckOptions options;
  options.scope = everyFault != 0 ? marlint::Scope::kEveryFault : marlint::Scope::kFirstFault;
  // The faults are those of the command line's --json report, notes included.
  options.includeNotes = true;
  // A page is one JSON array, ready for JSON.parse: each `--json` line with
  // its line feed turned into the comma after it, the last comma into the
  // closing bracket.
  const auto handOver = [&] {
    page.back() = ']';
    handOverFaultPage(page.data(), page.size(), faultsInPage);
    page.clear();
    faultsInPage = 0;
  };
  options.onFault = [&](const marlint::Fault& fault) {
    if (page.empty()) {
      page.push_back('[');
    }
    marlint::appendFaultJson(page, name, fault);
    page.back() = ',';
    ++last.faultCount;
    if (++faultsInPage >= pageSize) {
      handOver();
    }
  };
  std::FILE* const input = fopencookie(nullptr, "r", {readFromScript, nullptr, nullptr, nullptr});
  if (input == nullptr) {
    stopOutOfMemory();
  }
  marlint::CheckResult result = marlint::checkStream(input, options);
  std::fclose(input);
  if (faultsInPage > 0) {
    handOver();
  }
  last.resultText = std::move(result.resultText);
  return result.status;
}

// The result text of the last check, byte for byte (it may hold any byte of
// the point file, NUL included).
EMSCRIPTEN_KEEPALIVE const char* marlintResultData() {
  return lastCheck().resultText.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t marlintResultSize() {
  return lastCheck().resultText.size();
}

// How many faults the last check handed over.
EMSCRIPTEN_KEEPALIVE std::size_t marlintFaultCount() {
  return lastCheck().faultCount;
}

}  // extern "C"

#include <emscripten/emscripten.h>

#include <cstddef>
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

// Hands `count` faults, as JSON lines at `lines`, to the checker script,
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

// Checks `size` bytes at `bytes` and returns the status, 0 or -1. With
// `everyFault` set the check goes on after the first fault. Every fault is
// handed over as its JSON line naming the point file `fileName`, in pages of
// `pageSize` faults (the last page may be shorter).
EMSCRIPTEN_KEEPALIVE int marlintCheck(const char* bytes, std::size_t size, int everyFault,
                                      std::size_t pageSize, const char* fileName) {
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
  options.onFault = [&](const marlint::Fault& fault) {
    marlint::appendFaultJson(page, name, fault);
    ++last.faultCount;
    if (++faultsInPage >= pageSize) {
      handOverFaultPage(page.data(), page.size(), faultsInPage);
      page.clear();
      faultsInPage = 0;
    }
  };
  marlint::CheckResult result = marlint::checkBytes(std::string_view(bytes, size), options);
  if (faultsInPage > 0) {
    handOverFaultPage(page.data(), page.size(), faultsInPage);
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

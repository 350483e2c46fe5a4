#include <emscripten/emscripten.h>

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "marlint/marlint.h"

// The checker as WebAssembly exports, for web/js/checker.js: one check or fix
// at a time per module instance. The faults leave as pages of `--json`
// lines, so a file with a million faults never builds one huge string on
// either side.

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

// Moves the script's reading place as fseek asks (`whence` is SEEK_SET,
// SEEK_CUR or SEEK_END) and returns the new place, or -1 for one outside
// the file. A place fits a double exactly up to 2^53 bytes.
EM_JS(double, seekInputTo, (double offset, int whence),
      { return Module["marlintSeek"](offset, whence); });

// The file is seekable, as a file the command line reads is: a check that
// looks ahead at the later rows reads them and sets the place back, rather
// than keeping the rest of the file in the module's memory.
int seekInScript(void*, off_t* offset, int whence) {
  const double place = seekInputTo(static_cast<double>(*offset), whence);
  if (place < 0) {
    errno = EINVAL;
    return -1;
  }
  *offset = static_cast<off_t>(place);
  return 0;
}

// Hands faults, as a JSON array of `size` bytes at `lines`, to the checker
// script, which copies them out before the next piece reuses the memory;
// `endsPage` when they complete a page. An empty piece has no faults.
EM_JS(void, handOverFaults, (const char* lines, std::size_t size, bool endsPage),
      { Module["marlintFaults"](lines, size, endsPage); });

// Tells the checker script that memory ran out, before the module stops:
// the script then reports that rather than a bare abort, and loads a fresh
// module for the next check.
EM_JS(void, tellOutOfMemory, (), { Module["marlintOutOfMemory"] = true; });

void stopOutOfMemory() {
  tellOutOfMemory();
  std::abort();
}

// What the script reads after a check or a fix, until the next one.
struct LastCheck {
  std::string resultText;
  std::size_t faultCount = 0;
  std::string fixedBytes;
};

LastCheck& lastCheck() {
  static LastCheck check;
  return check;
}

// Collects faults as `--json` lines naming `fileName` and hands them over
// in pages of `pageSize`, each page in pieces that are JSON arrays ready
// for JSON.parse: each line's line feed turned into the comma after it, the
// last comma into the closing bracket. A piece ends after about 32 KiB: an
// engine keeps a larger string apart from its short-lived objects, where it
// is freed only by a full collection, so a check with many faults would
// pile up their pages.
class FaultPages {
 public:
  FaultPages(std::string_view fileName, std::size_t pageSize)
      : fileName_(fileName), pageSize_(pageSize) {}

  void add(const marlint::Fault& fault) {
    if (piece_.empty()) {
      piece_.push_back('[');
    }
    marlint::appendFaultJson(piece_, fileName_, fault);
    piece_.back() = ',';
    if (++faultsInPage_ >= pageSize_) {
      handOver(true);
    } else if (piece_.size() >= kPieceBytes) {
      handOver(false);
    }
  }

  void finish() {
    if (faultsInPage_ > 0) {
      handOver(true);
    }
  }

 private:
  static constexpr std::size_t kPieceBytes = 32 * 1024;

  void handOver(bool endsPage) {
    if (!piece_.empty()) {
      piece_.back() = ']';
    }
    handOverFaults(piece_.data(), piece_.size(), endsPage);
    piece_.clear();
    if (endsPage) {
      faultsInPage_ = 0;
    }
  }

  std::string_view fileName_;
  std::size_t pageSize_;
  std::string piece_;
  std::size_t faultsInPage_ = 0;
};

// The point file the script hands over, whole.
std::string readWholeInput() {
  std::string bytes;
  char block[1 << 16];
  for (std::size_t count = 0; (count = readInputBlock(block, sizeof block)) > 0;) {
    bytes.append(block, count);
  }
  return bytes;
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
  std::string().swap(last.fixedBytes);
  FaultPages pages(fileName, pageSize);

  marlint::CheckOptions options;
  options.scope = everyFault != 0 ? marlint::Scope::kEveryFault : marlint::Scope::kFirstFault;
  // The faults are those of the command line's --json report, notes included.
  options.includeNotes = true;
  options.onFault = [&](const marlint::Fault& fault) {
    ++last.faultCount;
    pages.add(fault);
  };
  std::FILE* const input =
      fopencookie(nullptr, "r", {readFromScript, nullptr, seekInScript, nullptr});
  if (input == nullptr) {
    stopOutOfMemory();
  }
  marlint::CheckResult result = marlint::checkStream(input, options);
  std::fclose(input);
  pages.finish();
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

// Applies every certain fix to the point file the script hands over, as
// `marlint --fix=OUT` does, and returns how many faults the fixes removed.
// The faults handed over, in pages as a check hands them, are first those
// removed (severity "fixed", with the fix applied), then every fault and
// note of the fixed bytes, which `marlintFixedData` gives.
EMSCRIPTEN_KEEPALIVE std::size_t marlintFix(std::size_t pageSize, const char* fileName) {
  std::set_new_handler(stopOutOfMemory);
  LastCheck& last = lastCheck();
  std::string().swap(last.fixedBytes);
  marlint::FixResult fixed = marlint::fixBytes(readWholeInput());
  FaultPages pages(fileName, pageSize);
  for (const marlint::Fault& fault : fixed.applied) {
    pages.add(fault);
  }
  for (const marlint::Fault& fault : fixed.remaining) {
    pages.add(fault);
  }
  pages.finish();
  last.faultCount = fixed.applied.size() + fixed.remaining.size();
  last.fixedBytes = std::move(fixed.bytes);
  return fixed.applied.size();
}

// The fixed bytes of the last fix.
EMSCRIPTEN_KEEPALIVE const char* marlintFixedData() {
  return lastCheck().fixedBytes.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t marlintFixedSize() {
  return lastCheck().fixedBytes.size();
}

}  // extern "C"

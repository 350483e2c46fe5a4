#include "cli/fault_report.h"

#include <utility>

namespace marlint {
namespace {

constexpr std::size_t kBufferLimit = 64 * 1024;

}  // namespace

FaultReport::FaultReport(std::FILE* stream, std::string fileName, ReportFormat format)
    : stream_(stream), fileName_(std::move(fileName)), format_(format) {
  buffer_.reserve(kBufferLimit + 1024);
}

FaultReport::~FaultReport() {
  finish();
}

void FaultReport::add(const Fault& fault) {
  if (failed_) {
    return;
  }
  if (format_ == ReportFormat::kJsonLines) {
    appendFaultJson(buffer_, fileName_, fault);
  } else {
    appendFaultLine(buffer_, fileName_, fault);
  }
  if (buffer_.size() >= kBufferLimit) {
    writeBuffer();
  }
}

void FaultReport::flush() {
  writeBuffer();
  if (!failed_ && std::fflush(stream_) != 0) {
    failed_ = true;
  }
}

void FaultReport::writeBuffer() {
  if (!failed_ && !buffer_.empty() &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

}  // namespace marlint

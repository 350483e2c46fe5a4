#include "explain/report_lines.h"

#include <array>
#include <utility>

#include "explain/escaped_text.h"

namespace marlint {
namespace {

constexpr std::size_t kBufferLimit = 64 * 1024;

// A JSON member whose value is a count from 1, or null for 0 (none).
void appendCountOrNull(std::string& out, std::string_view key, std::size_t count) {
  out.append(key);
  if (count == 0) {
    out.append("null");
  } else {
    appendDecimal(out, count);
  }
}

bool isNote(const Fault& fault) {
  return fault.severity == Severity::kNote;
}

}  // namespace

void appendLocatedLine(std::string& out, std::string_view fileName, const Fault& fault) {
  out.append(fileName);
  if (fault.line != 0) {
    out.push_back(':');
    appendDecimal(out, fault.line);
    out.push_back(':');
    appendDecimal(out, fault.column);
  }
  out.append(isNote(fault) ? std::string_view(": note: ") : std::string_view(": error: "));
  out.append(fault.detail);
  out.push_back('\n');
}

void appendJsonLine(std::string& out, std::string_view fileName, const Fault& fault) {
  out.append("{\"file\":");
  appendJsonString(out, fileName);
  appendCountOrNull(out, ",\"line\":", fault.line);
  appendCountOrNull(out, ",\"column\":", fault.column);
  out.append(isNote(fault) ? std::string_view(",\"severity\":\"note\"")
                           : std::string_view(",\"severity\":\"error\""));
  out.append(",\"field\":");
  if (fault.field < 0) {
    out.append("null");
  } else {
    appendDecimal(out, fault.field);
  }
  out.append(",\"columnName\":");
  appendJsonString(out, fault.columnName);
  out.append(",\"text\":");
  if (fault.line == 0) {
    out.append("null");
  } else {
    appendJsonString(out, fault.text);
  }
  out.append(",\"message\":");
  appendJsonString(out, fault.message);
  out.append(",\"rule\":");
  appendJsonString(out, fault.rule);
  out.append(",\"suggestions\":[");
  for (std::size_t i = 0; i < fault.suggestions.size(); ++i) {
    if (i > 0) {
      out.push_back(',');
    }
    appendJsonString(out, fault.suggestions[i]);
  }
  out.append("],\"detail\":");
  appendJsonString(out, fault.detail);
  appendCountOrNull(out, ",\"firstLine\":", fault.firstLine);
  out.append("}\n");
}

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
    appendJsonLine(buffer_, fileName_, fault);
  } else {
    appendLocatedLine(buffer_, fileName_, fault);
  }
  if (buffer_.size() >= kBufferLimit) {
    writeBuffer();
  }
}

void FaultReport::finish() {
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

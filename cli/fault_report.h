#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "marlint/marlint.h"

// The report of a check's faults on standard output, one line per fault, in
// one of two standard forms. Both are views of the same fault records; they
// never change the result text.

namespace marlint {

enum class ReportFormat {
  // FILE:LINE:COLUMN: error: DETAIL, or FILE: error: DETAIL for a fault
  // without a line, and "note" instead of "error" for a note: the form
  // compilers write and editors and CI jump from.
  kLocated,
  // JSON Lines: one object per fault or note with every part of the record.
  kJsonLines,
};

// Writes report lines to a stream through its own buffer, so that millions
// of faults cost a few large writes rather than one per fault. Once a write
// fails (a full disk, a closed pipe) the rest of the report is dropped.
class FaultReport {
 public:
  FaultReport(std::FILE* stream, std::string fileName, ReportFormat format);
  FaultReport(const FaultReport&) = delete;
  FaultReport& operator=(const FaultReport&) = delete;
  ~FaultReport();

  void add(const Fault& fault);

  // Writes what is buffered and flushes the stream, to go on adding after.
  void flush();

  // The same, at the end of the report.
  void finish() { flush(); }

 private:
  void writeBuffer();

  std::FILE* stream_;
  std::string fileName_;
  ReportFormat format_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace marlint

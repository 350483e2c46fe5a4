#include "explain/escaped_text.h"
#include "marlint/marlint.h"

// The two report lines of a fault, in the forms compilers and JSON Lines
// readers expect; both are views of the same record.

namespace marlint {
namespace {

// A JSON member whose value is a count from 1, or null for 0 (none).
void appendCountOrNull(std::string& out, std::string_view key, std::size_t count) {
  out.append(key);
  if (count == 0) {
    out.append("null");
  } else {
    appendDecimal(out, count);
  }
}

std::string_view severityName(Severity severity) {
  switch (severity) {
    case Severity::kError: break;
    case Severity::kNote: return "note";
    case Severity::kFixed: return "fixed";
  }
  return "error";
}

// {"description":...,"applicability":"certain","edits":[{"offset":N,"length":N,"replacement":...}]}
void appendFixJson(std::string& out, const Fix& fix) {
  out.append("{\"description\":");
  appendJsonString(out, fix.description);
  out.append(fix.applicability == Applicability::kCertain
                 ? std::string_view(",\"applicability\":\"certain\"")
                 : std::string_view(",\"applicability\":\"maybe\""));
  out.append(",\"edits\":[");
  for (std::size_t i = 0; i < fix.edits.size(); ++i) {
    const Edit& edit = fix.edits[i];
    out.append(i == 0 ? "{\"offset\":" : ",{\"offset\":");
    appendDecimal(out, edit.offset);
    out.append(",\"length\":");
    appendDecimal(out, edit.length);
    out.append(",\"replacement\":");
    appendJsonString(out, edit.replacement);
    out.push_back('}');
  }
  out.append("]}");
}

}  // namespace

void appendFaultLine(std::string& out, std::string_view fileName, const Fault& fault) {
  out.append(fileName);
  if (fault.line != 0) {
    out.push_back(':');
    appendDecimal(out, fault.line);
    out.push_back(':');
    appendDecimal(out, fault.column);
  }
  out.append(": ").append(severityName(fault.severity)).append(": ");
  out.append(fault.detail);
  out.push_back('\n');
}

void appendFaultJson(std::string& out, std::string_view fileName, const Fault& fault) {
  out.append("{\"file\":");
  appendJsonString(out, fileName);
  appendCountOrNull(out, ",\"line\":", fault.line);
  appendCountOrNull(out, ",\"column\":", fault.column);
  out.append(",\"severity\":\"").append(severityName(fault.severity)).append("\"");
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
  out.append("],\"causes\":[");
  for (std::size_t i = 0; i < fault.causes.size(); ++i) {
    if (i > 0) {
      out.push_back(',');
    }
    appendJsonString(out, fault.causes[i]);
  }
  out.append("],\"detail\":");
  appendJsonString(out, fault.detail);
  appendCountOrNull(out, ",\"firstLine\":", fault.firstLine);
  out.append(",\"fixes\":[");
  for (std::size_t i = 0; i < fault.fixes.size(); ++i) {
    if (i > 0) {
      out.push_back(',');
    }
    appendFixJson(out, fault.fixes[i]);
  }
  out.append("]}\n");
}

}  // namespace marlint

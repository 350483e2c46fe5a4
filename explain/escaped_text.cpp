#include "explain/escaped_text.h"

#include <algorithm>

namespace marlint {
namespace {

constexpr std::size_t kLongestQuotedText = 60;
constexpr std::size_t kShortenedTextLength = 40;

constexpr char kHexDigits[] = "0123456789abcdef";

bool inRange(std::string_view bytes, std::size_t at, unsigned char lowest, unsigned char highest) {
  if (at >= bytes.size()) {
    return false;
  }
  const auto byte = static_cast<unsigned char>(bytes[at]);
  return byte >= lowest && byte <= highest;
}

void appendHexEscape(std::string& out, std::string_view prefix, unsigned char byte) {
  out.append(prefix);
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0f]);
}

// Sequences that are well-formed but show nothing, or break a line, in a
// terminal or an editor: C1 controls, the line and paragraph separators,
// and the byte-order mark that spreadsheet exports put before the header.
bool isInvisibleSequence(std::string_view sequence) {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
  if (sequence.size() == 2) {
    return byteAt(0) == 0xc2 && byteAt(1) < 0xa0;
  }
  if (sequence.size() == 3) {
    return sequence == "\xef\xbb\xbf" || sequence == "\xe2\x80\xa8" || sequence == "\xe2\x80\xa9";
  }
  return false;
}

// The longest start of `text` of at most `limit` bytes that does not cut a
// well-formed UTF-8 sequence in two.
std::string_view headOf(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = std::max<std::size_t>(utf8SequenceLength(text, end), 1);
    if (end + length > limit) {
      break;
    }
    end += length;
  }
  return text.substr(0, end);
}

// True for the printable ASCII bytes that both escapes keep as they are.
constexpr bool isPlainByte(char c) {
  return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
}

// The end of the run of plain bytes that starts at `at`.
std::size_t plainRunEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && isPlainByte(text[at])) {
    ++at;
  }
  return at;
}

// How a byte outside a run of plain bytes and well-formed sequences is
// written: for people as \xHH, for JSON as the escape \u00HH.
enum class Escapes { kForPeople, kJson };

// Appends `text` with the escapes of `escapes`. Plain runs are copied whole;
// well-formed UTF-8 is kept, except that people get the invisible sequences
// as \xHH bytes; quote, backslash, tab, CR and LF get their short escapes.
void appendEscaped(std::string& out, std::string_view text, Escapes escapes) {
  const std::string_view hexPrefix = escapes == Escapes::kForPeople ? "\\x" : "\\u00";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t runEnd = plainRunEnd(text, i);
    if (runEnd > i) {
      out.append(text.substr(i, runEnd - i));
      i = runEnd;
      continue;
    }
    const std::size_t length = utf8SequenceLength(text, i);
    if (length > 1) {
      const std::string_view sequence = text.substr(i, length);
      if (escapes == Escapes::kForPeople && isInvisibleSequence(sequence)) {
        for (const char part : sequence) {
          appendHexEscape(out, hexPrefix, static_cast<unsigned char>(part));
        }
      } else {
        out.append(sequence);
      }
      i += length;
      continue;
    }
    const char c = text[i];
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\t': out.append("\\t"); break;
      case '\r': out.append("\\r"); break;
      case '\n': out.append("\\n"); break;
      // Other control bytes, DEL, and bytes outside a well-formed sequence.
      default: appendHexEscape(out, hexPrefix, static_cast<unsigned char>(c));
    }
    ++i;
  }
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size()) {
    return 0;
  }
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) {
    return 1;
  }
  // The second byte's range depends on the lead byte; it excludes overlong
  // forms, the surrogates (ED A0 to ED BF) and code points beyond U+10FFFF.
  unsigned char secondLowest = 0x80;
  unsigned char secondHighest = 0xbf;
  std::size_t length = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    secondLowest = lead == 0xe0 ? 0xa0 : 0x80;
    secondHighest = lead == 0xed ? 0x9f : 0xbf;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    secondLowest = lead == 0xf0 ? 0x90 : 0x80;
    secondHighest = lead == 0xf4 ? 0x8f : 0xbf;
  } else {
    return 0;
  }
  if (!inRange(bytes, at + 1, secondLowest, secondHighest)) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (!inRange(bytes, at + i, 0x80, 0xbf)) {
      return 0;
    }
  }
  return length;
}

bool isQuotedWhole(std::string_view text) {
  return text.size() <= kLongestQuotedText;
}

void appendQuotedForPeople(std::string& out, std::string_view text) {
  const bool shortened = !isQuotedWhole(text);
  out.push_back('"');
  appendEscaped(out, shortened ? headOf(text, kShortenedTextLength) : text, Escapes::kForPeople);
  if (!shortened) {
    out.push_back('"');
    return;
  }
  out.append("...\" (");
  appendDecimal(out, text.size());
  out.append(" bytes)");
}

void appendJsonString(std::string& out, std::string_view text) {
  out.push_back('"');
  appendEscaped(out, text, Escapes::kJson);
  out.push_back('"');
}

}  // namespace marlint

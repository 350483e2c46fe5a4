// The point file as bytes: its lines, their fields for display, and edits
// made in place, so that a saved file differs from the original only where a
// suggestion was applied (line ends, encoding and trailing text stay).
'use strict';

// No row shows more than this many bytes of its line: a file with CR-only
// line ends is one huge line, and the grid must still draw at once.
var DISPLAY_BYTES_PER_LINE = 4096;

function PointText(bytes, lineStarts) {
  this.bytes = bytes;
  this.lineStarts = lineStarts;
  this.lineCount = Math.max(0, lineStarts.length - 1);
  // The empty line that ends the rows; the lines from it on are shown but
  // never read by the check. 0 when the rows run to the end.
  this.firstEmptyLine = 0;
}

// Byte offsets of line `line` (from 1), its line feed and a CR before it left out.
PointText.prototype.lineRange = function (line) {
  var start = this.lineStarts[line - 1];
  var end = Math.min(this.lineStarts[line] - 1, this.bytes.length);
  if (end > start && this.bytes[end - 1] === 13 && end < this.bytes.length) {
    end -= 1;
  }
  return { start: start, end: end };
};

// The fields of a line for display, split at every comma like the check does.
PointText.prototype.displayFields = function (line) {
  var range = this.lineRange(line);
  var cut = range.end - range.start > DISPLAY_BYTES_PER_LINE;
  var end = cut ? range.start + cutBefore(this.bytes.subarray(range.start, range.end), DISPLAY_BYTES_PER_LINE) : range.end;
  var fields = [];
  var fieldStart = range.start;
  for (var position = range.start; position <= end; ++position) {
    if (position === end || this.bytes[position] === 44) {
      fields.push(shownText(this.bytes.subarray(fieldStart, position)));
      fieldStart = position + 1;
    }
  }
  if (cut) {
    fields[fields.length - 1] += '…';
  }
  return fields;
};

// The bytes of field `field` of a line (from 0), or of the whole line for
// -1, at most DISPLAY_BYTES_PER_LINE of them; null for a missing field.
PointText.prototype.shownBytes = function (line, field) {
  var range = this.lineRange(line);
  var start = range.start;
  var end = range.end;
  for (var skipped = 0; field >= 0 && skipped < field; ++skipped) {
    var comma = this.bytes.subarray(start, range.end).indexOf(44);
    if (comma < 0) {
      return null;
    }
    start += comma + 1;
  }
  if (field >= 0) {
    var next = this.bytes.subarray(start, range.end).indexOf(44);
    end = next < 0 ? range.end : start + next;
  }
  var bytes = this.bytes.subarray(start, end);
  var shown = cutBefore(bytes, DISPLAY_BYTES_PER_LINE);
  return { bytes: bytes.subarray(0, shown), cut: shown < bytes.length };
};

// The bytes of a fault's message: its offending text as the file holds it,
// then the rest. The report's JSON reads a byte that is not UTF-8 as the
// character of the same value, which the message alone cannot tell from
// that character written as UTF-8.
PointText.prototype.messageBytes = function (fault) {
  var message = fault.message;
  var rest = message;
  var head = new Uint8Array(0);
  if (typeof fault.text === 'string' && fault.text !== '' && message.indexOf(fault.text) === 0) {
    var length = this.faultTextLength(fault);
    if (length >= 0) {
      var start = this.lineRange(fault.line).start + fault.column - 1;
      head = this.bytes.subarray(start, start + length);
      rest = message.slice(fault.text.length);
    }
  }
  var tail = utf8Encoder.encode(rest);
  var bytes = new Uint8Array(head.length + tail.length);
  bytes.set(head, 0);
  bytes.set(tail, head.length);
  return bytes;
};

// The bytes a fault's text takes in the file, starting at its byte column.
// The text comes from the JSON report, where a byte that is not well-formed
// UTF-8 reads as the code point of the same value, so both readings are
// tried. Returns the length, or -1 when the text is not found there.
PointText.prototype.faultTextLength = function (fault) {
  if (!fault.line || !fault.column || typeof fault.text !== 'string' || fault.line > this.lineCount) {
    return -1;
  }
  var range = this.lineRange(fault.line);
  var start = range.start + fault.column - 1;
  var encoded = utf8Encoder.encode(fault.text);
  if (bytesAt(this.bytes, start, encoded, range.end)) {
    return encoded.length;
  }
  var position = start;
  for (var index = 0; index < fault.text.length; ) {
    var codePoint = fault.text.codePointAt(index);
    var character = utf8Encoder.encode(String.fromCodePoint(codePoint));
    if (bytesAt(this.bytes, position, character, range.end)) {
      position += character.length;
    } else if (codePoint <= 0xff && position < range.end && this.bytes[position] === codePoint) {
      position += 1;
    } else {
      return -1;
    }
    index += codePoint > 0xffff ? 2 : 1;
  }
  return position - start;
};

function bytesAt(bytes, position, expected, limit) {
  if (position + expected.length > limit) {
    return false;
  }
  for (var i = 0; i < expected.length; ++i) {
    if (bytes[position + i] !== expected[i]) {
      return false;
    }
  }
  return true;
}

// Replaces `length` bytes at `offset` with `replacement`; returns the edit
// that undoes it.
function spliceBytes(bytes, offset, length, replacement) {
  var result = new Uint8Array(bytes.length - length + replacement.length);
  result.set(bytes.subarray(0, offset), 0);
  result.set(replacement, offset);
  result.set(bytes.subarray(offset + length), offset + replacement.length);
  return {
    bytes: result,
    undo: { offset: offset, length: replacement.length, replacement: bytes.slice(offset, offset + length) },
  };
}

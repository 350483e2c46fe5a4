// The point file as bytes: its lines, their fields for display, and edits
// made in place, so that a saved file differs from the original only where a
// suggestion was applied (line ends, encoding and trailing text stay).
'use strict';

// No row shows more than this many bytes of its line: a file with CR-only
// line ends is one huge line, and the grid must still draw at once.
var DISPLAY_BYTES_PER_LINE = 4096;

// A byte-order mark is kept as a character: it is part of the first field.
var utf8Decoder = new TextDecoder('utf-8', { fatal: false, ignoreBOM: true });
var strictUtf8Decoder = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
var windows1252Decoder = new TextDecoder('windows-1252', { ignoreBOM: true });
var utf8Encoder = new TextEncoder();

// Text as a person reads it: UTF-8, or, for bytes that are not UTF-8, the
// Windows code page spreadsheets on Windows write (so "MILLIM\xC8TRE" shows
// as MILLIMÈTRE rather than with a replacement character).
function readableText(bytes) {
  try {
    return strictUtf8Decoder.decode(bytes);
  } catch (notUtf8) {
    return windows1252Decoder.decode(bytes);
  }
}

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
  var end = cut ? range.start + DISPLAY_BYTES_PER_LINE : range.end;
  var fields = [];
  var fieldStart = range.start;
  for (var position = range.start; position <= end; ++position) {
    if (position === end || this.bytes[position] === 44) {
      fields.push(visibleText(this.bytes.subarray(fieldStart, position)));
      fieldStart = position + 1;
    }
  }
  if (cut) {
    fields[fields.length - 1] += '…';
  }
  return fields;
};

// Control characters become visible symbols (a tab as ␉, a lone CR as ␍, a
// byte-order mark as ⟨BOM⟩), so the cell shows what the check sees.
function visibleText(bytes) {
  var text = readableText(bytes);
  return text.replace(/[\u0000-\u001f\u007f\ufeff]/g, function (character) {
    var code = character.charCodeAt(0);
    if (code === 0xfeff) {
      return '⟨BOM⟩';
    }
    return String.fromCharCode(code === 127 ? 0x2421 : 0x2400 + code);
  });
}

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

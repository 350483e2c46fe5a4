// How the page shows a point file's bytes as text: UTF-8 where they are
// well-formed, and a visible marker for every byte or character that would
// otherwise show nothing, show as something it is not, or break the line.
// The bytes themselves are never changed: only what is drawn.
//
//   NUL, tab, CR, LF           ⟨NUL⟩ ⟨TAB⟩ ⟨CR⟩ ⟨LF⟩
//   another control byte       ⟨1B⟩, its value in hexadecimal
//   a byte that is not UTF-8   ⟨E9⟩, the same
//   a byte-order mark          ⟨BOM⟩
//   another invisible          ⟨U+00A0⟩ (no-break space, C1 controls,
//   character                  zero-width and direction marks, line and
//                              paragraph separators)
//
// Markers are made of letters, digits and angle brackets, which every font
// has (the Unicode control pictures are missing from many, and would show
// as the empty boxes they stand in for). The angle brackets themselves are
// marked when the file holds them, so a marker always means a marker.
'use strict';

var strictUtf8Decoder = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
var windows1252Decoder = new TextDecoder('windows-1252', { ignoreBOM: true });
var utf8Encoder = new TextEncoder();

var MARKED_CHARACTERS =
  /[\u0000-\u001f\u007f-\u00a0\u00ad\u200b-\u200f\u2028-\u202e\u2060-\u2064\u27e8\u27e9\ufeff]/g;
var CONTROL_NAMES = { 0: 'NUL', 9: 'TAB', 10: 'LF', 13: 'CR' };

// A file that is not text at all (a program, an image, an archive): of its
// first 64 KiB, at least 32 and more than one in 20 are control bytes other
// than tab, LF and CR. A stray NUL or two in a short text is no sign, and
// UTF-16 text, a NUL beside every character, is text in another encoding,
// which the report names itself.
var TEXT_SAMPLE_BYTES = 64 * 1024;
var NOT_TEXT_LEAST_CONTROLS = 32;
var UTF16_WINDOW = 512;
var UTF16_LEAST_BYTES = 8;

function hexOf(value, digits) {
  var text = value.toString(16).toUpperCase();
  while (text.length < digits) {
    text = '0' + text;
  }
  return text;
}

function markOf(character) {
  var code = character.charCodeAt(0);
  if (code < 0x20 || code === 0x7f) {
    return '⟨' + (CONTROL_NAMES[code] || hexOf(code, 2)) + '⟩';
  }
  if (code === 0xfeff) {
    return '⟨BOM⟩';
  }
  return '⟨U+' + hexOf(code, 4) + '⟩';
}

// What a marker stands for, for its tooltip.
function markTitle(mark) {
  var names = {
    '⟨NUL⟩': 'a NUL byte',
    '⟨TAB⟩': 'a tab',
    '⟨CR⟩': 'a CR (carriage return), which ends a line only right before an LF',
    '⟨LF⟩': 'a line feed',
    '⟨BOM⟩': 'a byte-order mark (EF BB BF), which shows nothing',
  };
  if (names[mark]) {
    return names[mark];
  }
  if (mark.indexOf('⟨U+') === 0) {
    return 'the character ' + mark.slice(1, -1) + ', which shows nothing or looks like another';
  }
  var value = parseInt(mark.slice(1, -1), 16);
  return 'byte ' + mark.slice(1, -1) + (value < 0x80 ? ', a control byte' : ', which is not part of UTF-8 text');
}

// The length of the well-formed UTF-8 sequence at `bytes[at]`, or 0 when
// none starts there: a stray continuation byte, a truncated, overlong or
// surrogate sequence, or one beyond U+10FFFF.
function utf8SequenceLength(bytes, at) {
  var lead = bytes[at];
  if (lead < 0x80) {
    return 1;
  }
  var length = 0;
  var low = 0x80;
  var high = 0xbf;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    low = lead === 0xe0 ? 0xa0 : 0x80;
    high = lead === 0xed ? 0x9f : 0xbf;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    low = lead === 0xf0 ? 0x90 : 0x80;
    high = lead === 0xf4 ? 0x8f : 0xbf;
  } else {
    return 0;
  }
  if (at + length > bytes.length || bytes[at + 1] < low || bytes[at + 1] > high) {
    return 0;
  }
  for (var i = 2; i < length; ++i) {
    if (bytes[at + i] < 0x80 || bytes[at + i] > 0xbf) {
      return 0;
    }
  }
  return length;
}

// Appends well-formed text to `parts`, split into plain text (even places)
// and markers (odd places).
function appendMarkedText(parts, text) {
  var from = 0;
  MARKED_CHARACTERS.lastIndex = 0;
  for (var found = MARKED_CHARACTERS.exec(text); found; found = MARKED_CHARACTERS.exec(text)) {
    parts[parts.length - 1] += text.slice(from, found.index);
    parts.push(markOf(found[0]), '');
    from = found.index + 1;
  }
  parts[parts.length - 1] += text.slice(from);
}

// `bytes` as alternating plain text and markers, starting and ending with
// plain text (perhaps empty).
function shownParts(bytes) {
  var parts = [''];
  var runStart = 0;
  for (var at = 0; at < bytes.length; ) {
    if (bytes[at] < 0x80) {
      ++at;
      continue;
    }
    var length = utf8SequenceLength(bytes, at);
    if (length > 0) {
      at += length;
      continue;
    }
    appendMarkedText(parts, strictUtf8Decoder.decode(bytes.subarray(runStart, at)));
    parts.push('⟨' + hexOf(bytes[at], 2) + '⟩', '');
    runStart = ++at;
  }
  appendMarkedText(parts, strictUtf8Decoder.decode(bytes.subarray(runStart)));
  return parts;
}

// `bytes` as the page draws them in a cell: one string, markers included.
function shownText(bytes) {
  return shownParts(bytes).join('');
}

// `bytes` drawn into `element`, each marker in a span of its own that says
// what it stands for.
function appendShownBytes(element, bytes) {
  var parts = shownParts(bytes);
  for (var i = 0; i < parts.length; ++i) {
    if (i % 2 === 0) {
      if (parts[i] !== '') {
        element.appendChild(document.createTextNode(parts[i]));
      }
    } else {
      element.appendChild(markElement(parts[i], markTitle(parts[i])));
    }
  }
}

function markElement(text, title) {
  var mark = document.createElement('span');
  mark.className = 'visible-mark';
  mark.textContent = text;
  mark.title = title;
  return mark;
}

function isWellFormedUtf8(bytes) {
  try {
    strictUtf8Decoder.decode(bytes);
    return true;
  } catch (notUtf8) {
    return false;
  }
}

// Bytes that are not UTF-8 as the Windows code page that spreadsheets on
// Windows write, so that "MILLIM⟨C8⟩TRE" can also be read as MILLIMÈTRE.
function windows1252Text(bytes) {
  var parts = [''];
  appendMarkedText(parts, windows1252Decoder.decode(bytes));
  return parts.join('');
}

// The end of the first `limit` bytes, moved back so that it does not cut a
// UTF-8 sequence in two.
function cutBefore(bytes, limit) {
  if (limit >= bytes.length) {
    return bytes.length;
  }
  var end = limit;
  while (end > 0 && limit - end < 3 && (bytes[end] & 0xc0) === 0x80) {
    --end;
  }
  return end + utf8SequenceLength(bytes, end) > limit ? end : limit;
}

// Every other byte NUL in the first 512: ASCII text written as UTF-16, in
// either byte order; or a UTF-16 byte-order mark.
function looksLikeUtf16(bytes) {
  if (bytes.length >= 2 && ((bytes[0] === 0xff && bytes[1] === 0xfe) || (bytes[0] === 0xfe && bytes[1] === 0xff))) {
    return true;
  }
  var size = Math.min(bytes.length, UTF16_WINDOW) & ~1;
  if (size < UTF16_LEAST_BYTES) {
    return false;
  }
  var nuls = [0, 0];
  for (var i = 0; i < size; ++i) {
    nuls[i % 2] += bytes[i] === 0 ? 1 : 0;
  }
  var half = size / 2;
  var mostly = function (count) {
    return 10 * count >= 9 * half;
  };
  var hardly = function (count) {
    return 10 * count <= half;
  };
  return (mostly(nuls[0]) && hardly(nuls[1])) || (mostly(nuls[1]) && hardly(nuls[0]));
}

// How many of the first 64 KiB are control bytes, for a file that is not
// text; null for a text file.
function notTextEvidence(bytes) {
  var size = Math.min(bytes.length, TEXT_SAMPLE_BYTES);
  var controls = 0;
  for (var i = 0; i < size; ++i) {
    var byte = bytes[i];
    if ((byte < 0x20 && byte !== 9 && byte !== 10 && byte !== 13) || byte === 0x7f) {
      ++controls;
    }
  }
  if (controls < NOT_TEXT_LEAST_CONTROLS || 20 * controls <= size || looksLikeUtf16(bytes)) {
    return null;
  }
  return { controls: controls, sample: size };
}

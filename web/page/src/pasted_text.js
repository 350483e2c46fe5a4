// The text in the paste area as it was pasted. A text area turns every CR LF
// and every lone CR into LF, so its value alone would check a file whose
// lines end in CR alone as many lines, or CR CR LF as CR LF. The pasted text
// is read from the clipboard and kept here, beside the area's value; edits
// made in the area are carried over to it.
'use strict';

function withLineFeeds(text) {
  return text.replace(/\r\n?/g, '\n');
}

// The offset in `raw` of the character at `offset` in withLineFeeds(raw).
function rawOffset(raw, offset) {
  if (raw.indexOf('\r') < 0) {
    return offset;
  }
  var at = 0;
  for (var shown = 0; shown < offset && at < raw.length; ++shown) {
    at += raw.charCodeAt(at) === 13 && raw.charCodeAt(at + 1) === 10 ? 2 : 1;
  }
  return at;
}

// Whether `bytes` hold a CR that ends no line (one not right before an LF).
function holdsLoneCr(bytes) {
  for (var at = bytes.indexOf(13); at >= 0; at = bytes.indexOf(13, at + 1)) {
    if (bytes[at + 1] !== 10) {
      return true;
    }
  }
  return false;
}

function PastedText(area) {
  this.area = area;
  this.raw = area.value;
  // The area's value when `raw` was last brought in step with it.
  this.seen = area.value;
  // Set when a CR the area was given could not be kept.
  this.lineEndsChanged = false;
  // The text as pasted, until the area has taken it in.
  this.pending = null;
  var pasted = this;
  area.addEventListener('paste', function (event) {
    pasted.onPaste(event);
  });
  area.addEventListener('drop', function (event) {
    // Dropped text goes in where the pointer is, as the area decides.
    var text = event.dataTransfer ? event.dataTransfer.getData('text/plain') : '';
    pasted.lineEndsChanged = pasted.lineEndsChanged || text.indexOf('\r') >= 0;
  });
  area.addEventListener('input', function () {
    pasted.catchUp();
  });
}

// The text to check: as pasted, with the edits made since.
PastedText.prototype.text = function () {
  this.catchUp();
  return this.raw;
};

// Replaces the whole text with the same text edited, as after a
// suggestion was applied to it.
PastedText.prototype.set = function (raw) {
  this.area.value = raw;
  this.raw = raw;
  this.seen = this.area.value;
};

// The area inserts the pasted text itself (quickly, and so that its own
// undo takes it back); the text as pasted is kept for the input that follows.
PastedText.prototype.onPaste = function (event) {
  var pasted = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
  if (pasted.indexOf('\r') < 0) {
    return;
  }
  this.catchUp();
  var area = this.area;
  var start = area.selectionStart;
  var end = area.selectionEnd;
  if (start === 0 && end === area.value.length) {
    this.lineEndsChanged = false;
  }
  this.pending = this.raw.slice(0, rawOffset(this.raw, start)) + pasted + this.raw.slice(rawOffset(this.raw, end));
};

// Carries an edit of the area over to the pasted text: what lies between
// the part before and the part after that stayed the same was replaced.
PastedText.prototype.catchUp = function () {
  var value = this.area.value;
  var before = this.seen;
  if (value === before) {
    return;
  }
  var pending = this.pending;
  this.pending = null;
  if (pending !== null && withLineFeeds(pending) === value) {
    this.raw = pending;
    this.seen = value;
    return;
  }
  var prefix = 0;
  while (prefix < before.length && prefix < value.length && before[prefix] === value[prefix]) {
    ++prefix;
  }
  var suffix = 0;
  while (
    suffix < before.length - prefix &&
    suffix < value.length - prefix &&
    before[before.length - 1 - suffix] === value[value.length - 1 - suffix]
  ) {
    ++suffix;
  }
  if (prefix === 0 && suffix === 0) {
    // All of it replaced: nothing lost before counts any more.
    this.lineEndsChanged = false;
  }
  if (pending !== null) {
    // The area took a paste otherwise than expected: its CRs are lost.
    this.lineEndsChanged = true;
  }
  var raw =
    this.raw.slice(0, rawOffset(this.raw, prefix)) +
    value.slice(prefix, value.length - suffix) +
    this.raw.slice(rawOffset(this.raw, before.length - suffix));
  this.take(raw);
};

// Keeps `raw` when the area shows it; otherwise (a CR met a typed LF and
// the two became one line end) the area's own text, and says so.
PastedText.prototype.take = function (raw) {
  var value = this.area.value;
  if (withLineFeeds(raw) === value) {
    this.raw = raw;
  } else {
    this.lineEndsChanged = true;
    this.raw = value;
  }
  this.seen = value;
};

// Suggestions and certain fixes applied to the file's own bytes, undone, and
// the bytes saved: the saved file differs from the original only where a
// suggestion or a fix went.
'use strict';

function applySuggestion(record, suggestion) {
  // Places in a record are places in the bytes the grid shows; once those
  // bytes have changed, the record waits for the check of the new ones.
  if (!state.text || state.text.bytes !== state.bytes) {
    return;
  }
  var length = state.text.faultTextLength(record);
  if (length < 0) {
    return;
  }
  var offset = state.text.lineRange(record.line).start + record.column - 1;
  showFixSummary('');
  applyEdit(offset, length, utf8Encoder.encode(suggestion));
  state.pendingSelection = { line: grid.active.line, column: grid.active.column };
  page.byId('grid').focus({ preventScroll: true });
  sendCheck();
}

// Every certain fix at once, as the worker found them with the library's
// fixes after the check: one change, which one Undo takes back whole.
function fixAll() {
  var fixable = state.fixable;
  if (!fixable || !state.text || state.text.bytes !== state.bytes) {
    return;
  }
  state.fixable = null;
  page.byId('fix-all').hidden = true;
  applyEdit(0, state.bytes.length, fixable.bytes);
  showFixSummary(
    'Fixed ' + plural(fixable.applied, 'fault') + ' with certain fixes; ' +
      (fixable.left === 0 ? 'none remain' : fixable.left.toLocaleString('en') + ' remain') +
      ' for you. Undo change takes the fixes back.'
  );
  state.pendingSelection = { line: grid.active.line, column: grid.active.column };
  sendCheck();
}

function showFixSummary(text) {
  var summary = page.byId('fix-summary');
  summary.textContent = text;
  summary.hidden = text === '';
}

// Every state of the bytes gets its own version, so that undoing back to
// the bytes last saved (or as chosen) shows them as unchanged again.
var lastVersion = 0;

function applyEdit(offset, length, replacement) {
  var edit = spliceBytes(state.bytes, offset, length, replacement);
  state.bytes = edit.bytes;
  edit.undo.version = state.version;
  state.undoStack.push(edit.undo);
  lastVersion += 1;
  state.version = lastVersion;
  syncPastedText();
}

function undoEdit() {
  if (state.bytes === null) {
    return;
  }
  var undo = state.undoStack.pop();
  if (!undo) {
    return;
  }
  state.bytes = spliceBytes(state.bytes, undo.offset, undo.length, undo.replacement).bytes;
  state.version = undo.version;
  showFixSummary('');
  syncPastedText();
  state.pendingSelection = { line: grid.active.line, column: grid.active.column };
  sendCheck();
}

var pastedDecoder = new TextDecoder('utf-8', { ignoreBOM: true });

// Pasted text stays in step with the edits made to it.
function syncPastedText() {
  if (state.fromPaste) {
    pastedText.set(pastedDecoder.decode(state.bytes));
  }
}

// Whether the bytes on the page differ from the file as chosen or last saved.
function showEditState() {
  page.byId('undo').disabled = state.undoStack.length === 0;
  var text = '';
  if (state.version !== state.savedVersion) {
    text = 'Changed, not saved yet';
  } else if (state.savedVersion > 0) {
    text = 'Saved';
  }
  page.byId('edit-state').textContent = text;
}

function download(bytes, fileName) {
  var link = document.createElement('a');
  var url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.href = url;
  link.download = fileName;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(function () {
    URL.revokeObjectURL(url);
  }, 60000);
}

function saveFile() {
  if (state.bytes === null) {
    return;
  }
  download(state.bytes, state.fileName);
  state.savedVersion = state.version;
  showEditState();
}

// The result file the command writes for these bytes: the result text, no
// line end.
function saveResultText() {
  if (state.resultBytes) {
    download(state.resultBytes, 'result');
  }
}


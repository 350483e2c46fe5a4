// The page: reads a point file (chosen, dropped or pasted), has the worker
// check it, shows the result text and status as the command line gives them,
// the file as a grid with each fault in place, the lists of faults and notes,
// and applies suggestions to the bytes and saves them.
'use strict';

// Whole fault records are kept for this many faults of a check; past it the
// grid still marks every fault, from where it is and its rule.
var KEPT_FAULTS = 20000;
// The lists draw at most this many entries; F8 and the buttons reach the rest.
var LISTED_FAULTS = 1000;

var page = {
  byId: function (id) {
    return document.getElementById(id);
  },
};

var state = {
  fileName: 'points.csv',
  bytes: new Uint8Array(0),
  text: null,
  faults: null,
  requestId: 0,
  undoStack: [],
  edited: false,
  selectedFault: -1,
  pendingSelection: null,
  readTime: null,
};

// --- the worker ------------------------------------------------------------

// The worker runs from a Blob URL of the inlined script, which works from
// file:// and any static host; a browser that refuses it (a strict content
// security policy) runs the same script on the page instead.
var checkerSource = page.byId('checker-source').textContent;
var worker = null;

function startWorker() {
  try {
    var url = URL.createObjectURL(new Blob([checkerSource], { type: 'text/javascript' }));
    worker = new Worker(url);
    worker.onmessage = function (event) {
      onWorkerMessage(event.data);
    };
    worker.onerror = function (event) {
      event.preventDefault();
      startInPage();
    };
    worker.postMessage({ id: 0, warmUp: true });
  } catch (error) {
    startInPage();
  }
}

// The fallback: the worker's script run on the page, with a stand-in for the
// worker's global scope. The check that was under way is sent again.
function startInPage() {
  if (worker && worker.inPage) {
    return;
  }
  state.workerBusy = false;
  var scope = {
    postMessage: function (message) {
      setTimeout(function () {
        onWorkerMessage(message);
      }, 0);
    },
  };
  new Function('self', checkerSource)(scope);
  worker = {
    inPage: true,
    postMessage: function (message) {
      scope.onmessage({ data: message });
    },
  };
  if (state.requestId > 0) {
    sendCheck(state.bytes === null ? state.file : undefined);
  }
}

// Sends the bytes on the page for checking, or a chosen file, which the
// worker then reads itself while the page reads its own copy for the grid.
function sendCheck(file) {
  if (state.workerBusy && !worker.inPage) {
    // A check still looking for every fault of a large file is not waited
    // for: the worker is replaced.
    worker.terminate();
    startWorker();
  }
  state.checkStarted = performance.now();
  state.requestId += 1;
  state.store = new FaultStore(KEPT_FAULTS);
  state.everyStore = null;
  state.workerBusy = true;
  state.waitingForBytes = [];
  if (file) {
    worker.postMessage({ id: state.requestId, file: file, keepCount: KEPT_FAULTS });
    return;
  }
  var copy = state.bytes.slice();
  showProgress('Checking…', null);
  worker.postMessage({ id: state.requestId, buffer: copy.buffer, keepCount: KEPT_FAULTS }, [copy.buffer]);
}

function onWorkerMessage(message) {
  if (message.id !== state.requestId) {
    return;
  }
  if (state.bytes === null && message.type !== 'failed') {
    state.waitingForBytes.push(message);
    return;
  }
  if (message.type === 'faults') {
    if (message.pass === 1) {
      state.store.addPage(message);
    } else {
      state.everyStore.addPage(message);
      showProgress('Finding every fault… ' + plural(state.everyStore.count, 'found') + ' so far', null);
    }
  } else if (message.type === 'result') {
    state.store.finish();
    state.checkTime = performance.now() - state.checkStarted;
    showResult(message);
    if (message.everyPass) {
      state.everyStore = new FaultStore(KEPT_FAULTS);
      showProgress('Finding every fault…', null);
    } else {
      state.workerBusy = false;
    }
  } else if (message.type === 'complete') {
    state.workerBusy = false;
    hideProgress();
    state.everyStore.finish();
    state.everyTime = performance.now() - state.checkStarted;
    showFaults(state.everyStore, true);
  } else if (message.type === 'failed') {
    state.workerBusy = false;
    hideProgress();
    showFailure(message.message);
  }
}

// --- reading input -----------------------------------------------------------

function showProgress(label, fraction) {
  page.byId('progress').hidden = false;
  page.byId('progress-label').textContent = label;
  var bar = page.byId('progress-bar');
  if (fraction === null) {
    bar.removeAttribute('value');
  } else {
    bar.value = fraction;
  }
}

function hideProgress() {
  page.byId('progress').hidden = true;
}

function readFile(file) {
  resetFile(file.name, null);
  state.file = file;
  sendCheck(file);
  var reader = new FileReader();
  showProgress('Reading ' + file.name + '…', 0);
  reader.onprogress = function (event) {
    if (event.lengthComputable && state.bytes === null) {
      showProgress('Reading ' + file.name + '…', event.loaded / event.total);
    }
  };
  var requestId = state.requestId;
  reader.onload = function () {
    if (requestId !== state.requestId) {
      return;
    }
    state.readTime = performance.now() - state.checkStarted;
    state.bytes = new Uint8Array(reader.result);
    showProgress('Checking…', null);
    var waiting = state.waitingForBytes;
    state.waitingForBytes = [];
    waiting.forEach(onWorkerMessage);
  };
  reader.onerror = function () {
    hideProgress();
    showFailure('cannot read ' + file.name + ': ' + (reader.error ? reader.error.message : 'unknown error'));
  };
  reader.readAsArrayBuffer(file);
}

function resetFile(fileName, bytes) {
  state.keepActive = false;
  state.fileName = fileName;
  state.bytes = bytes;
  state.undoStack = [];
  state.edited = false;
  state.selectedFault = -1;
  state.pendingSelection = null;
  state.readTime = null;
}

// --- showing the result ----------------------------------------------------------

function showResult(message) {
  hideProgress();
  state.text = new PointText(state.bytes, message.lineStarts);
  state.text.firstEmptyLine = message.firstEmptyLine;
  state.resultText = message.resultText;
  state.status = message.status;
  state.everyTime = null;

  page.byId('outcome').hidden = false;
  page.byId('workspace').hidden = false;
  page.byId('lists').hidden = false;
  page.byId('file-name').textContent = state.fileName;
  var resultText = page.byId('result-text');
  resultText.textContent = message.resultText;
  resultText.className = 'result-text ' + (message.status === 0 ? 'ok' : 'failed');
  page.byId('status').textContent = String(message.status);
  showEditState();
  showFaults(state.store, !message.everyPass);
}

// Shows the faults of a pass: the first fault at once, then every fault
// when the second pass is done; the active cell stays where it is.
function showFaults(store, complete) {
  state.faults = store;
  state.faultsComplete = complete;
  var errorCount = store.count - store.noteCount;
  page.byId('summary').textContent =
    (state.status === 0 ? 'The file is acceptable. ' : '') +
    plural(state.text.lineCount, 'line') +
    ', ' +
    (complete ? plural(errorCount, 'fault') : 'looking for every fault after the first') +
    (store.noteCount ? ', ' + plural(store.noteCount, 'note') : '') +
    '. ' +
    (state.readTime !== null ? 'Read in ' + milliseconds(state.readTime) + '; result' : 'Result') +
    ' in ' +
    milliseconds(state.checkTime) +
    (state.everyTime !== null ? ', every fault in ' + milliseconds(state.everyTime) : '') +
    '.';
  page.byId('next-fault').disabled = store.count === 0;
  page.byId('previous-fault').disabled = store.count === 0;
  fillLists(store);
  grid.setContent(state.text, store);

  var selection = state.pendingSelection;
  if (complete) {
    state.pendingSelection = null;
    state.readTime = null;
  }
  if (selection) {
    grid.select(selection.line, selection.column, true);
  } else if (state.keepActive) {
    grid.select(grid.active.line, grid.active.column, false);
  } else if (store.count > 0 && store.lines[store.order[0]] > 0) {
    selectFault(store.order[0], false);
  } else {
    grid.select(1, 1, false);
  }
  state.keepActive = !complete;
}

function showFailure(text) {
  page.byId('outcome').hidden = false;
  page.byId('summary').textContent = 'The check did not finish: ' + text;
}

function milliseconds(time) {
  return Math.round(time).toLocaleString('en') + ' ms';
}

function plural(count, noun) {
  return count.toLocaleString('en') + ' ' + noun + (count === 1 ? '' : 's');
}

function place(record) {
  return record.line ? 'line ' + record.line + ', column ' + record.column : 'whole file';
}

function fillLists(store) {
  var lists = { error: page.byId('fault-list'), note: page.byId('note-list') };
  lists.error.textContent = '';
  lists.note.textContent = '';
  var shown = { error: 0, note: 0 };
  var total = { error: store.count - store.noteCount, note: store.noteCount };
  for (var at = 0; at < store.count; ++at) {
    var index = store.order[at];
    var kind = store.isNote(index) ? 'note' : 'error';
    var record = store.record(index);
    if (!record || shown[kind] >= LISTED_FAULTS) {
      continue;
    }
    shown[kind] += 1;
    var item = document.createElement('li');
    var button = document.createElement('button');
    button.type = 'button';
    button.dataset.testid = kind === 'note' ? 'note' : 'fault';
    button.dataset.index = String(index);
    button.dataset.line = String(record.line || 0);
    button.dataset.column = String(record.column || 0);
    button.dataset.field = String(record.field === null || record.field === undefined ? -1 : record.field);
    button.dataset.rule = record.rule;
    var where = document.createElement('span');
    where.className = 'place';
    where.textContent = (kind === 'note' ? 'ℹ ' : '✖ ') + place(record) + ' · ' + record.columnName;
    var rule = document.createElement('span');
    rule.className = 'rule';
    rule.textContent = ' [' + record.rule + ']';
    var detail = document.createElement('div');
    detail.textContent = record.detail;
    button.append(where, rule, detail);
    item.appendChild(button);
    lists[kind].appendChild(item);
  }
  page.byId('faults-title').textContent = 'Faults (' + total.error.toLocaleString('en') + ')';
  page.byId('notes-title').textContent = 'Notes (' + total.note.toLocaleString('en') + ')';
  page.byId('notes-box').hidden = total.note === 0;
  page.byId('faults-more').textContent =
    total.error === 0 ? 'No faults.' : shown.error < total.error ? moreText(shown.error, total.error) : '';
  page.byId('notes-more').textContent = shown.note < total.note ? moreText(shown.note, total.note) : '';
}

function moreText(shown, total) {
  return 'The first ' + shown.toLocaleString('en') + ' of ' + total.toLocaleString('en') +
    ' are listed; the grid marks them all, and Next fault (F8) steps through them.';
}

// --- choosing faults and cells -------------------------------------------------

function columnOfFault(index) {
  var field = state.faults.fields[index];
  return field < 0 ? 0 : Math.min(field, 13) + 1;
}

function selectFault(index, focusGrid) {
  state.selectedFault = index;
  var line = state.faults.lines[index];
  if (line > 0) {
    grid.select(line, columnOfFault(index), true);
  } else {
    showDetail(0, 0);
  }
  if (focusGrid) {
    page.byId('grid').focus({ preventScroll: true });
  }
}

function stepFault(forward) {
  var store = state.faults;
  if (!store || store.count === 0) {
    return;
  }
  var index = store.step(grid.active.line, grid.active.column - 1, forward);
  selectFault(index, true);
}

function markCurrentInList() {
  var buttons = document.querySelectorAll('.fault-list button[aria-current]');
  for (var i = 0; i < buttons.length; ++i) {
    buttons[i].removeAttribute('aria-current');
  }
}

// The detail panel: the cell's text and every fault and note on it, each
// with its suggestions.
function showDetail(line, column) {
  var body = page.byId('detail-body');
  body.textContent = '';
  markCurrentInList();
  var store = state.faults;
  var found = [];
  if (store) {
    var onLine = line > 0 ? store.onLine(line) : [];
    for (var i = 0; i < onLine.length; ++i) {
      if (columnOfFault(onLine[i]) === column || (column === 0 && store.fields[onLine[i]] < 0)) {
        found.push(onLine[i]);
      }
    }
    if (line === 0) {
      for (var j = 0; j < store.count && store.lines[store.order[j]] === 0; ++j) {
        found.push(store.order[j]);
      }
    }
  }
  if (line > 0) {
    page.byId('detail-title').textContent =
      'Line ' + line + (column > 0 ? ' · ' + fieldName(line, column - 1) : '');
    var fields = state.text.displayFields(line);
    var shownText = column === 0 ? fields.join(',') : fields[column - 1];
    var where = document.createElement('p');
    where.className = 'where';
    where.textContent = shownText === undefined ? 'This field is missing from the line.' : 'Text:';
    body.appendChild(where);
    if (shownText !== undefined) {
      var cellText = document.createElement('div');
      cellText.className = 'cell-text';
      cellText.textContent = shownText === '' ? '(empty)' : shownText;
      body.appendChild(cellText);
    }
  } else {
    page.byId('detail-title').textContent = 'Whole file';
  }
  if (found.length === 0) {
    var none = document.createElement('p');
    none.className = 'muted';
    none.textContent = line > 0 ? 'No fault in this cell.' : '';
    body.appendChild(none);
  }
  for (var k = 0; k < found.length; ++k) {
    body.appendChild(findingElement(found[k]));
    var listed = document.querySelector('.fault-list button[data-index="' + found[k] + '"]');
    if (listed) {
      listed.setAttribute('aria-current', 'true');
      scrollIntoList(listed);
    }
  }
}

function fieldName(line, field) {
  if (line === 1) {
    return (HEADER_LINE_TITLES[field] || 'beyond the header line') + ' (field ' + field + ')';
  }
  return COLUMN_TITLES[field + 1][1].replace(/^\d+: /, '') + ' (field ' + field + ')';
}

function scrollIntoList(button) {
  var list = button.closest('.fault-list');
  var top = button.offsetTop - list.offsetTop;
  if (top < list.scrollTop || top + button.offsetHeight > list.scrollTop + list.clientHeight) {
    list.scrollTop = top - list.clientHeight / 3;
  }
}

function findingElement(index) {
  var store = state.faults;
  var note = store.isNote(index);
  var record = store.record(index);
  var box = document.createElement('div');
  box.className = 'finding' + (note ? ' note' : '');
  box.dataset.testid = 'finding';
  var head = document.createElement('p');
  var severity = document.createElement('span');
  severity.className = 'severity ' + (note ? 'note' : 'error');
  severity.textContent = note ? 'ℹ Note' : '✖ Fault';
  head.append(severity, ' [' + store.ruleNames[store.rules[index]] + ']' +
    (store.lines[index] ? ' at byte column ' + store.columns[index] : ''));
  box.appendChild(head);
  if (!record) {
    var lost = document.createElement('p');
    lost.textContent = 'The page keeps the whole record, with its detail and suggestions, of the first ' +
      KEPT_FAULTS.toLocaleString('en') + ' faults of a check only; this one is marked by its place and rule.';
    box.appendChild(lost);
    return box;
  }
  var detail = document.createElement('p');
  detail.textContent = record.detail;
  box.appendChild(detail);
  if (record.message) {
    var message = document.createElement('p');
    message.className = 'muted';
    message.textContent = 'Result text when first: ' + record.message;
    box.appendChild(message);
  }
  var suggestions = record.suggestions || [];
  var length = state.text.faultTextLength(record);
  if (suggestions.length > 0) {
    var row = document.createElement('div');
    row.className = 'suggestions';
    for (var i = 0; i < suggestions.length; ++i) {
      var button = document.createElement('button');
      button.type = 'button';
      button.dataset.testid = 'apply-suggestion';
      button.textContent = 'Use “' + suggestions[i] + '”';
      button.disabled = length < 0;
      button.addEventListener('click', applySuggestion.bind(null, record, suggestions[i]));
      row.appendChild(button);
    }
    box.appendChild(row);
  }
  return box;
}

// --- editing and saving ----------------------------------------------------------

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
  applyEdit(offset, length, utf8Encoder.encode(suggestion));
  state.pendingSelection = { line: grid.active.line, column: grid.active.column };
  page.byId('grid').focus({ preventScroll: true });
  sendCheck();
}

function applyEdit(offset, length, replacement) {
  var edit = spliceBytes(state.bytes, offset, length, replacement);
  state.bytes = edit.bytes;
  state.undoStack.push(edit.undo);
  state.edited = true;
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
  state.edited = state.undoStack.length > 0;
  syncPastedText();
  state.pendingSelection = { line: grid.active.line, column: grid.active.column };
  sendCheck();
}

// Pasted text stays in step with the edits made to it.
function syncPastedText() {
  if (state.fromPaste) {
    page.byId('paste-text').value = utf8Decoder.decode(state.bytes);
  }
}

function showEditState() {
  page.byId('undo').disabled = state.undoStack.length === 0;
  page.byId('edit-state').textContent = state.edited
    ? plural(state.undoStack.length, 'change') + ' not saved yet'
    : '';
}

function saveFile() {
  if (state.bytes === null) {
    return;
  }
  var link = document.createElement('a');
  var url = URL.createObjectURL(new Blob([state.bytes], { type: 'application/octet-stream' }));
  link.href = url;
  link.download = state.fileName;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(function () {
    URL.revokeObjectURL(url);
  }, 60000);
}

// --- wiring ------------------------------------------------------------------------

var grid = new PointGrid(page.byId('grid'), page.byId('grid-body'), page.byId('grid-head'), {
  onSelect: function (line, column) {
    showDetail(line, column);
  },
  onOpen: function () {
    var target = page.byId('detail').querySelector('button') || page.byId('detail');
    target.focus();
  },
  onStep: stepFault,
});

page.byId('file-input').addEventListener('change', function (event) {
  var file = event.target.files[0];
  if (file) {
    state.fromPaste = false;
    readFile(file);
  }
});
// Choosing the same file again, after changing it elsewhere, checks it again.
page.byId('file-input').addEventListener('click', function (event) {
  event.target.value = '';
});

function checkPasted() {
  state.fromPaste = true;
  resetFile('points.csv', utf8Encoder.encode(page.byId('paste-text').value));
  sendCheck();
}

page.byId('check-text').addEventListener('click', checkPasted);
page.byId('paste-text').addEventListener('keydown', function (event) {
  if (event.key === 'Enter' && (event.ctrlKey || event.metaKey)) {
    event.preventDefault();
    checkPasted();
  }
});
page.byId('paste-text').addEventListener('paste', function () {
  setTimeout(checkPasted, 0);
});

page.byId('detail').addEventListener('keydown', function (event) {
  if (event.key === 'Escape') {
    page.byId('grid').focus({ preventScroll: true });
  }
});

page.byId('fault-list').addEventListener('click', onListClick);
page.byId('note-list').addEventListener('click', onListClick);

function onListClick(event) {
  var button = event.target.closest('button[data-index]');
  if (button) {
    selectFault(Number(button.dataset.index), true);
  }
}

page.byId('next-fault').addEventListener('click', function () {
  stepFault(true);
});
page.byId('previous-fault').addEventListener('click', function () {
  stepFault(false);
});
page.byId('undo').addEventListener('click', undoEdit);
page.byId('save').addEventListener('click', saveFile);

var dropZone = page.byId('drop-zone');
document.addEventListener('dragover', function (event) {
  event.preventDefault();
  dropZone.classList.add('dragging');
});
document.addEventListener('dragleave', function (event) {
  if (!event.relatedTarget) {
    dropZone.classList.remove('dragging');
  }
});
document.addEventListener('drop', function (event) {
  event.preventDefault();
  dropZone.classList.remove('dragging');
  var file = event.dataTransfer && event.dataTransfer.files[0];
  if (file) {
    state.fromPaste = false;
    readFile(file);
  }
});

startWorker();

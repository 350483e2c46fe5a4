// The page: reads a point file (chosen, dropped or pasted), has the worker
// check it, and wires the controls to the grid (point_grid.js), the views of
// the faults (fault_views.js) and the edits (edits.js).
'use strict';

// Whole fault records are kept for this many faults of a check; past it the
// grid still marks every fault, from where it is and its rule.
var KEPT_FAULTS = 20000;
// The page shows at most this many bytes of a result text, and of the
// result text of a file that is not text only a few.
var RESULT_TEXT_SHOWN = 2000;
var NOT_TEXT_RESULT_SHOWN = 32;
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
  version: 0,
  savedVersion: 0,
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
// worker then reads and, with the result, hands to the page for the grid.
function sendCheck(file) {
  if (state.workerBusy && !worker.inPage) {
    // A check still looking for every fault of a large file is not waited
    // for: the worker is replaced.
    worker.terminate();
    startWorker();
  }
  state.checkStarted = performance.now();
  state.requestId += 1;
  // The worker checks once: `store` takes the fault the result text names,
  // `everyStore` every fault and note as they are found.
  state.store = new FaultStore(KEPT_FAULTS);
  state.everyStore = new FaultStore(KEPT_FAULTS);
  state.resultShown = false;
  state.workerBusy = true;
  state.fixable = null;
  page.byId('fix-all').hidden = true;
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
  if (message.fileBytes) {
    state.bytes = new Uint8Array(message.fileBytes);
    state.readTime = message.readTime;
    var waiting = state.waitingForBytes;
    state.waitingForBytes = [];
    waiting.forEach(onWorkerMessage);
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
      if (state.resultShown) {
        showProgress('Finding every fault… ' + plural(state.everyStore.count, 'found') + ' so far', null);
      }
    }
  } else if (message.type === 'result') {
    state.store.finish();
    state.checkTime = performance.now() - state.checkStarted;
    state.resultShown = true;
    showResult(message);
    if (message.everyPass) {
      showProgress('Finding every fault…', null);
    } else {
      state.workerBusy = false;
    }
  } else if (message.type === 'complete') {
    state.workerBusy = Boolean(message.fixing);
    hideProgress();
    state.everyStore.finish();
    state.everyTime = performance.now() - state.checkStarted;
    showFaults(state.everyStore, true);
  } else if (message.type === 'fixable') {
    state.workerBusy = false;
    state.fixable = message.applied > 0 ? message : null;
    page.byId('fix-all').hidden = !state.fixable;
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

// A chosen file is read once, by the worker, which hands its bytes to the
// page with the result.
function readFile(file) {
  resetFile(file.name, null);
  state.file = file;
  sendCheck(file);
  showProgress('Reading and checking ' + file.name + '…', null);
}

function resetFile(fileName, bytes) {
  grid.resetView();
  state.keepActive = false;
  state.fileName = fileName;
  state.bytes = bytes;
  state.undoStack = [];
  state.version = 0;
  state.savedVersion = 0;
  state.pendingSelection = null;
  state.readTime = null;
  showFixSummary('');
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

// Pasted text is checked as pasted, with its own line ends; Save file
// offers it under this name.
var pastedText = new PastedText(page.byId('paste-text'));

function checkPasted() {
  state.fromPaste = true;
  resetFile('pasted.csv', utf8Encoder.encode(pastedText.text()));
  state.lineEndsChanged = pastedText.lineEndsChanged;
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
page.byId('fault-list').addEventListener('keydown', onListKey);
page.byId('note-list').addEventListener('keydown', onListKey);

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
page.byId('fix-all').addEventListener('click', fixAll);
// Ctrl+Z takes back the last suggestion applied, except in a text field,
// which has its own undo.
document.addEventListener('keydown', function (event) {
  var inTextField = event.target.closest && event.target.closest('textarea, input:not([type=file]), [contenteditable]');
  if ((event.ctrlKey || event.metaKey) && !event.shiftKey && !event.altKey && event.key.toLowerCase() === 'z' && !inTextField) {
    event.preventDefault();
    undoEdit();
  }
});
page.byId('save').addEventListener('click', saveFile);
page.byId('save-result').addEventListener('click', saveResultText);

var dropZone = page.byId('drop-zone');
// A file dropped anywhere on the page is checked; dragged text still drops
// into the paste area as usual.
function carriesFiles(event) {
  return Boolean(event.dataTransfer) && Array.prototype.indexOf.call(event.dataTransfer.types, 'Files') >= 0;
}

document.addEventListener('dragover', function (event) {
  if (carriesFiles(event)) {
    event.preventDefault();
    dropZone.classList.add('dragging');
  }
});
document.addEventListener('dragleave', function (event) {
  if (!event.relatedTarget) {
    dropZone.classList.remove('dragging');
  }
});
document.addEventListener('drop', function (event) {
  dropZone.classList.remove('dragging');
  var file = carriesFiles(event) && event.dataTransfer.files[0];
  if (file) {
    event.preventDefault();
    state.fromPaste = false;
    readFile(file);
  }
});

startWorker();

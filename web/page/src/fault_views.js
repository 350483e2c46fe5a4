// What a check shows: the result text and status, the summary, the lists of
// faults and notes, and the detail panel of the chosen cell with each fault's
// suggestions.
'use strict';

function showResult(message) {
  hideProgress();
  state.text = new PointText(state.bytes, message.lineStarts);
  state.text.firstEmptyLine = message.firstEmptyLine;
  state.status = message.status;
  state.everyTime = null;

  page.byId('outcome').hidden = false;
  page.byId('workspace').hidden = false;
  page.byId('lists').hidden = false;
  page.byId('file-name').textContent = state.fromPaste ? 'the pasted text' : state.fileName;
  state.notText = notTextEvidence(state.bytes);
  showResultText(message.resultBytes, message.status);
  showNotice();
  state.resultBytes = message.resultBytes;
  page.byId('status').textContent = String(message.status);
  showEditState();
  showFaults(state.store, !message.everyPass);
}

// The result text as the command writes it, with every byte that shows
// nothing or is not UTF-8 marked. A whole line is the result text of a line
// with the wrong number of fields, and a file with CR-only line ends is one
// line: the page shows its start, and Save the result text gives every
// byte. Of a file that is not text it shows only a few bytes.
function showResultText(resultBytes, status) {
  var box = page.byId('result-text');
  var limit = state.notText ? NOT_TEXT_RESULT_SHOWN : RESULT_TEXT_SHOWN;
  var shown = cutBefore(resultBytes, limit);
  var cut = shown < resultBytes.length;
  box.textContent = '';
  appendShownBytes(box, resultBytes.subarray(0, shown));
  var marked = box.querySelector('.visible-mark') !== null;
  if (cut) {
    box.appendChild(markElement('…', 'cut here: Save the result text gives every byte'));
  }
  box.dataset.cut = cut ? 'true' : 'false';
  box.className = 'result-text ' + (status === 0 ? 'ok' : 'failed');
  var note = page.byId('result-cut');
  var sentences = [];
  if (marked) {
    sentences.push('Marks such as ⟨BOM⟩, ⟨CR⟩, ⟨NUL⟩ and ⟨E9⟩ stand for bytes that show nothing or are not UTF-8.');
  }
  if (cut) {
    sentences.push('The result text shown stops after ' + shown.toLocaleString('en') + ' of its ' +
      resultBytes.length.toLocaleString('en') + ' bytes.');
  }
  if (marked || cut) {
    sentences.push('Save the result text gives its bytes as they are.');
  }
  note.textContent = sentences.join(' ');
  note.hidden = sentences.length === 0;
}

// What the page must say about the input besides the result: a file that
// is not text, or pasted text whose line ends could not be kept.
function showNotice() {
  var notice = page.byId('notice');
  notice.textContent = '';
  var evidence = state.notText;
  if (evidence) {
    notice.append(
      'This file is not text: ' + Math.round((100 * evidence.controls) / evidence.sample) + '% of its first ' +
        evidence.sample.toLocaleString('en') + ' bytes are control bytes such as NUL, which text does not hold. ' +
        'A point file is a text file: choose the point file itself.'
    );
  } else if (state.fromPaste && state.lineEndsChanged) {
    notice.append(
      'The line ends of the pasted text were turned into LF while it was in the text area, so this check may ' +
        'differ from that of the file. '
    );
    var choose = document.createElement('button');
    choose.type = 'button';
    choose.textContent = 'Choose the file instead';
    choose.addEventListener('click', function () {
      page.byId('file-input').click();
    });
    notice.appendChild(choose);
  } else if (state.fromPaste && holdsLoneCr(state.bytes)) {
    notice.append(
      'The text area shows every CR as a line end, but the pasted text is checked as pasted, as the command ' +
        'reads a file: a CR ends a line only right before an LF.'
    );
  }
  notice.hidden = notice.childNodes.length === 0;
}

// Shows the faults of a pass: the first fault at once, then every fault
// when the second pass is done; the active cell stays where it is.
function showFaults(store, complete) {
  state.faults = store;
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
  } else if (store.count > 0) {
    selectFault(store.order[0], false);
  } else {
    grid.select(1, 1, false);
  }
  state.keepActive = !complete;
}

function showFailure(text) {
  page.byId('outcome').hidden = false;
  page.byId('result-text').textContent = '';
  page.byId('result-text').className = 'result-text';
  page.byId('status').textContent = '';
  page.byId('summary').textContent = 'The check did not finish: ' + text;
}

// Bytes drawn with their markers; a whole line can be megabytes long, so
// only its start is.
function appendShownStart(element, bytes) {
  var shown = cutBefore(bytes, RESULT_TEXT_SHOWN);
  appendShownBytes(element, bytes.subarray(0, shown));
  if (shown < bytes.length) {
    element.appendChild(markElement('…', 'cut here'));
  }
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
    button.append(where, rule);
    if (kind === 'error' && isResultFault(record)) {
      var badge = document.createElement('span');
      badge.className = 'result-badge';
      badge.textContent = 'the result text';
      button.append(' ', badge);
    }
    button.append(detail);
    // Each list is one stop for Tab; the arrow keys move inside it.
    button.tabIndex = shown[kind] === 1 ? 0 : -1;
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

// The fault the result text names: the first one the check meets, which
// for a repeated name comes after every row although the list is in line
// order.
function isResultFault(record) {
  var first = state.store.record(0);
  return Boolean(first) && first.line === record.line && first.column === record.column && first.rule === record.rule;
}

function moreText(shown, total) {
  return 'The first ' + shown.toLocaleString('en') + ' of ' + total.toLocaleString('en') +
    ' are listed; the grid marks them all, and Next fault (F8) steps through them.';
}

// A fault's cell: its field's, the whole line's cell for a fault of the
// line, the line number for a note on the line.
function columnOfFault(index) {
  var field = state.faults.fields[index];
  if (field < 0) {
    return state.faults.isNote(index) ? 0 : 1;
  }
  return Math.min(field, 13) + 1;
}

function selectFault(index, focusGrid) {
  var line = state.faults.lines[index];
  if (line > 0) {
    grid.select(line, columnOfFault(index), true);
  } else {
    showDetail(0, 0);
  }
  if (focusGrid) {
    page.byId('grid').focus({ preventScroll: true });
    bringGridIntoView();
  }
}

// A fault chosen in the lists below the grid scrolls the page back up to
// the grid and its detail (or to the grid alone when both do not fit).
function bringGridIntoView() {
  var workspace = page.byId('workspace');
  var target = workspace.offsetHeight <= window.innerHeight ? workspace : workspace.querySelector('.grid-area');
  target.scrollIntoView({ block: 'nearest' });
}

function stepFault(forward) {
  var store = state.faults;
  if (!store || store.count === 0) {
    return;
  }
  var index = store.step(grid.active.line, grid.active.column - 1, forward);
  selectFault(index, true);
}

function makeTabStop(button) {
  var buttons = button.closest('.fault-list').querySelectorAll('button');
  for (var i = 0; i < buttons.length; ++i) {
    buttons[i].tabIndex = buttons[i] === button ? 0 : -1;
  }
}

// Up and down (Home and End) move through a list of faults or notes.
function onListKey(event) {
  var button = event.target.closest('button[data-index]');
  if (!button) {
    return;
  }
  var item = button.parentElement;
  var target = null;
  if (event.key === 'ArrowDown') {
    target = item.nextElementSibling;
  } else if (event.key === 'ArrowUp') {
    target = item.previousElementSibling;
  } else if (event.key === 'Home') {
    target = item.parentElement.firstElementChild;
  } else if (event.key === 'End') {
    target = item.parentElement.lastElementChild;
  }
  if (target) {
    event.preventDefault();
    var next = target.querySelector('button');
    makeTabStop(next);
    next.focus();
  }
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
  var wholeLine = line > 0 && column > 0 && grid.spansLine(line);
  if (store) {
    var onLine = line > 0 ? store.onLine(line) : [];
    for (var i = 0; i < onLine.length; ++i) {
      if (wholeLine || columnOfFault(onLine[i]) === column || (column === 0 && store.fields[onLine[i]] < 0)) {
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
      'Line ' + line + (wholeLine ? ' · the whole line' : column > 0 ? ' · ' + fieldName(line, column - 1) : '');
    var shown = state.text.shownBytes(line, wholeLine || column === 0 ? -1 : column - 1);
    var where = document.createElement('p');
    where.className = 'where';
    where.textContent = shown === null ? 'This field is missing from the line.' : 'Text:';
    body.appendChild(where);
    if (shown !== null) {
      body.appendChild(cellTextElement(shown));
    }
    if (shown !== null && !isWellFormedUtf8(shown.bytes)) {
      var legacy = document.createElement('p');
      legacy.className = 'where';
      legacy.dataset.testid = 'windows-1252';
      legacy.textContent = 'Bytes marked ⟨hex⟩ are not UTF-8; read as Windows-1252 the text is: ' + windows1252Text(shown.bytes);
      body.appendChild(legacy);
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
      makeTabStop(listed);
      scrollIntoList(listed);
    }
  }
}

function cellTextElement(shown) {
  var cellText = document.createElement('div');
  cellText.className = 'cell-text';
  cellText.dataset.testid = 'cell-text';
  if (shown.bytes.length === 0) {
    cellText.textContent = '(empty)';
  } else {
    appendShownBytes(cellText, shown.bytes);
  }
  if (shown.cut) {
    cellText.appendChild(markElement('…', 'the rest of the line is not shown'));
  }
  return cellText;
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
  var suggestions = record.suggestions || [];
  if (suggestions.length > 0) {
    var length = state.text.faultTextLength(record);
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
  // Each change that removes the fault, and whether it is the one right
  // change, which Fix every certain fault makes, or a person's choice.
  var fixes = record.fixes || [];
  for (var f = 0; f < fixes.length; ++f) {
    var fix = document.createElement('p');
    fix.className = 'fix';
    fix.dataset.testid = 'fix';
    var sureness = document.createElement('span');
    sureness.className = 'fix-' + fixes[f].applicability;
    sureness.textContent = fixes[f].applicability === 'certain' ? 'Fix, certain: ' : 'Fix, maybe: ';
    fix.append(sureness, fixes[f].description);
    box.appendChild(fix);
  }
  if (record.message) {
    var message = document.createElement('p');
    message.className = 'muted';
    message.append('Result text when first: ');
    appendShownStart(message, state.text.messageBytes(record));
    box.appendChild(message);
  }
  return box;
}


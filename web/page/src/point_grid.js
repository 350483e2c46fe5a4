// The point file as a grid: a line number and the 14 columns per row. Only
// the rows in view exist as elements (a pool reused while scrolling), so a
// million rows draw as fast as ten. Past a few million pixels browsers stop
// growing an element, so a long file scrolls on a scaled track.
'use strict';

var COLUMN_TITLES = [
  ['line', 'line number'],
  ['kind', '0: point kind'],
  ['name', '1: point name'],
  ['type', '2: point type'],
  ['constant', '3: constant value'],
  ['cycle', '4: cycle'],
  ['unit', '5: unit'],
  ['XML loc.', '6: XML location'],
  ['data path', '7: data path'],
  ['data type', '8: data type'],
  ['return', '9: return type'],
  ['access', '10: access type'],
  ['address', '11: address type'],
  ['start', '12: start address'],
  ['bit', '13: bit position'],
];
var HEADER_LINE_TITLES = ['PMC path count', 'CNC path count', 'DCS ladder'];
var FIELD_COLUMNS = 14;
var MAX_TRACK_PIXELS = 8000000;
var ACTIVE_CELL_ID = 'grid-active-cell';

function PointGrid(scrollElement, bodyElement, headElement, callbacks) {
  this.scroll = scrollElement;
  this.body = bodyElement;
  this.head = headElement;
  this.callbacks = callbacks;
  this.text = null;
  this.faults = null;
  this.rowPool = [];
  this.active = { line: 1, column: 1 };
  this.frameRequested = false;
  this.rowHeight = 26;
  this.buildHead();
  var grid = this;
  this.scroll.addEventListener('scroll', function () {
    grid.requestDraw();
  });
  window.addEventListener('resize', function () {
    grid.requestDraw();
  });
  this.scroll.addEventListener('keydown', function (event) {
    grid.onKey(event);
  });
  this.body.addEventListener('click', function (event) {
    var cell = event.target.closest('[data-col]');
    var row = event.target.closest('[data-line]');
    if (cell && row) {
      grid.select(Number(row.dataset.line), Number(cell.dataset.col), false);
      grid.scroll.focus({ preventScroll: true });
    }
  });
}

PointGrid.prototype.buildHead = function () {
  for (var column = 0; column < COLUMN_TITLES.length; ++column) {
    var cell = document.createElement('div');
    cell.setAttribute('role', 'columnheader');
    cell.textContent = COLUMN_TITLES[column][0];
    cell.title = COLUMN_TITLES[column][1];
    if (column === 0) {
      cell.className = 'line-number';
    }
    this.head.appendChild(cell);
  }
};

PointGrid.prototype.setContent = function (pointText, faultStore) {
  this.text = pointText;
  this.faults = faultStore;
  this.scroll.setAttribute('aria-rowcount', String(pointText.lineCount + 1));
  this.active.line = Math.min(Math.max(1, this.active.line), Math.max(1, pointText.lineCount));
  this.layout();
  this.draw();
};

PointGrid.prototype.layout = function () {
  var measured = parseFloat(getComputedStyle(this.scroll).getPropertyValue('--row-height'));
  this.rowHeight = measured > 0 ? measured : 26;
  var lineCount = this.text ? this.text.lineCount : 0;
  this.trackHeight = Math.min(lineCount * this.rowHeight, MAX_TRACK_PIXELS);
  this.body.style.height = this.trackHeight + 'px';
  var digits = String(Math.max(1, lineCount)).length;
  this.scroll.style.setProperty('--line-number-width', (Math.max(3, digits) * 0.5 + 1.2).toFixed(1) + 'rem');
  // A short file gets a short grid; a long one fills most of the window,
  // and no more than is left below the grid's top, so that grid and detail
  // are in view together.
  var scrollbar = this.scroll.offsetHeight - this.scroll.clientHeight;
  var fullHeight = this.head.offsetHeight + lineCount * this.rowHeight + scrollbar;
  var room = Math.max(12 * this.rowHeight, window.innerHeight - (this.scroll.getBoundingClientRect().top + window.scrollY) - 24);
  this.scroll.style.height = 'min(60vh, 34rem, ' + fullHeight + 'px, ' + Math.round(room) + 'px)';
  // The detail beside the grid keeps to the same room.
  document.documentElement.style.setProperty('--grid-room', Math.round(room) + 'px');
};

// The view: the first row drawn (fractional) and how many rows fit.
PointGrid.prototype.view = function () {
  var lineCount = this.text ? this.text.lineCount : 0;
  var viewHeight = Math.max(this.rowHeight, this.scroll.clientHeight - this.head.offsetHeight);
  var rowsInView = viewHeight / this.rowHeight;
  var maxScroll = Math.max(0, this.trackHeight - viewHeight);
  var maxFirst = Math.max(0, lineCount - rowsInView);
  var first = maxScroll > 0 ? (Math.min(this.scroll.scrollTop, maxScroll) / maxScroll) * maxFirst : 0;
  return { first: first, rowsInView: rowsInView, maxScroll: maxScroll, maxFirst: maxFirst };
};

PointGrid.prototype.requestDraw = function () {
  if (this.frameRequested) {
    return;
  }
  this.frameRequested = true;
  var grid = this;
  requestAnimationFrame(function () {
    grid.frameRequested = false;
    grid.draw();
  });
};

PointGrid.prototype.makeRow = function () {
  var row = document.createElement('div');
  row.className = 'grid-row';
  row.setAttribute('role', 'row');
  for (var column = 0; column <= FIELD_COLUMNS; ++column) {
    var cell = document.createElement('div');
    cell.dataset.col = String(column);
    if (column === 0) {
      cell.setAttribute('role', 'rowheader');
    } else {
      cell.setAttribute('role', 'gridcell');
      cell.dataset.testid = 'cell';
      cell.dataset.field = String(column - 1);
    }
    row.appendChild(cell);
  }
  this.body.appendChild(row);
  return row;
};

PointGrid.prototype.draw = function () {
  if (!this.text) {
    return;
  }
  var view = this.view();
  var firstLine = Math.floor(view.first) + 1;
  var rowCount = Math.min(Math.ceil(view.rowsInView) + 2, Math.max(0, this.text.lineCount - firstLine + 1));
  while (this.rowPool.length < rowCount) {
    this.rowPool.push(this.makeRow());
  }
  var scrollTop = Math.min(this.scroll.scrollTop, view.maxScroll);
  for (var i = 0; i < this.rowPool.length; ++i) {
    var row = this.rowPool[i];
    if (i >= rowCount) {
      row.hidden = true;
      continue;
    }
    row.hidden = false;
    var line = firstLine + i;
    row.style.top = scrollTop + (line - 1 - view.first) * this.rowHeight + 'px';
    this.fillRow(row, line);
  }
  if (document.getElementById(ACTIVE_CELL_ID)) {
    this.scroll.setAttribute('aria-activedescendant', ACTIVE_CELL_ID);
  } else {
    this.scroll.removeAttribute('aria-activedescendant');
  }
};

PointGrid.prototype.fillRow = function (row, line) {
  var fields = this.text.displayFields(line);
  var lineText = fields.join(',');
  if (fields.length > FIELD_COLUMNS) {
    fields[FIELD_COLUMNS - 1] = fields.slice(FIELD_COLUMNS - 1).join(',');
  }
  var notRead = this.text.firstEmptyLine !== 0 && line >= this.text.firstEmptyLine;
  row.dataset.line = String(line);
  row.setAttribute('aria-rowindex', String(line + 1));
  var marks = this.marksOf(line);
  var wholeLine = isWholeLineFault(marks.row);
  row.className =
    'grid-row' + (line === 1 ? ' header-line' : '') + (notRead ? ' not-read' : '') + (marks.row ? (marks.row.note ? ' row-note' : ' row-fault') : '');
  var cells = row.children;
  for (var column = 0; column <= FIELD_COLUMNS; ++column) {
    var cell = cells[column];
    var mark = column === 0 ? marks.row : marks.fields[column - 1];
    var text;
    var title;
    // A fault of the whole line (the wrong number of fields) is drawn over
    // the whole row, the line in one cell, rather than in its first field.
    var spans = wholeLine && column === 1;
    cell.hidden = wholeLine && column > 1;
    if (cell.hidden) {
      if (cell.id) {
        cell.removeAttribute('id');
      }
      continue;
    }
    if (spans) {
      cell.setAttribute('aria-colspan', String(FIELD_COLUMNS));
      mark = marks.row;
    } else {
      cell.removeAttribute('aria-colspan');
    }
    if (column === 0) {
      text = String(line);
      title = notRead ? 'not read: the point rows end at the empty line ' + this.text.firstEmptyLine : '';
    } else if (spans) {
      text = lineText;
      title = 'the whole line';
    } else {
      var field = fields[column - 1];
      text = field === undefined ? '' : field;
      title = line === 1 ? HEADER_LINE_TITLES[column - 1] || 'not part of the header line' : COLUMN_TITLES[column][1];
      if (field === undefined) {
        title += ' (missing)';
      }
    }
    if (mark) {
      title = (mark.note ? 'Note: ' : 'Fault: ') + mark.detail;
    }
    cell.textContent = text;
    cell.title = title;
    var active = line === this.active.line && (column === this.active.column || (spans && this.active.column > 0));
    cell.className =
      (column === 0 ? 'line-number' : '') +
      (spans ? ' whole-line' : '') +
      (mark ? (mark.note ? ' cell-note' : ' cell-fault') : '') +
      (active ? ' cell-active' : '');
    if (mark && !mark.note) {
      cell.setAttribute('aria-invalid', 'true');
    } else {
      cell.removeAttribute('aria-invalid');
    }
    cell.setAttribute('aria-selected', active ? 'true' : 'false');
    if (active) {
      cell.id = ACTIVE_CELL_ID;
    } else if (cell.id) {
      cell.removeAttribute('id');
    }
  }
};

function isWholeLineFault(rowMark) {
  return Boolean(rowMark) && !rowMark.note;
}

// Whether line `line` is drawn as one cell after its line number.
PointGrid.prototype.spansLine = function (line) {
  return isWholeLineFault(this.marksOf(line).row);
};

// What each cell of a line is marked with: a fault outranks a note.
PointGrid.prototype.marksOf = function (line) {
  var marks = { row: null, fields: [] };
  if (!this.faults) {
    return marks;
  }
  var found = this.faults.onLine(line);
  for (var i = 0; i < found.length; ++i) {
    var index = found[i];
    var record = this.faults.record(index);
    var mark = {
      note: this.faults.isNote(index),
      detail: record ? record.detail : this.faults.ruleNames[this.faults.rules[index]],
    };
    var field = this.faults.fields[index];
    var slot = field < 0 ? 'row' : field;
    var previous = slot === 'row' ? marks.row : marks.fields[slot];
    if (previous && !previous.note) {
      continue;
    }
    if (slot === 'row') {
      marks.row = mark;
    } else {
      marks.fields[Math.min(field, FIELD_COLUMNS - 1)] = mark;
    }
  }
  return marks;
};

// A new file starts at its first cell, scrolled to the top left.
PointGrid.prototype.resetView = function () {
  this.active = { line: 1, column: 1 };
  this.scroll.scrollTop = 0;
  this.scroll.scrollLeft = 0;
};

// Makes line/column the active cell and scrolls it into view.
PointGrid.prototype.select = function (line, column, center) {
  if (!this.text || this.text.lineCount === 0) {
    return;
  }
  line = Math.min(Math.max(1, line), this.text.lineCount);
  column = Math.min(Math.max(0, column), FIELD_COLUMNS);
  if (column > 1 && this.spansLine(line)) {
    column = 1;
  }
  this.active = { line: line, column: column };
  var view = this.view();
  var row = line - 1;
  var visible = row >= Math.ceil(view.first) && row + 1 <= view.first + Math.floor(view.rowsInView);
  if (!visible && view.maxFirst > 0) {
    var targetFirst = center ? row - Math.floor(view.rowsInView / 2) : row < view.first ? row : row - Math.floor(view.rowsInView) + 1;
    targetFirst = Math.min(Math.max(0, targetFirst), view.maxFirst);
    this.scroll.scrollTop = (targetFirst / view.maxFirst) * view.maxScroll;
  }
  this.draw();
  this.revealColumn(column);
  this.callbacks.onSelect(line, column);
};

PointGrid.prototype.revealColumn = function (column) {
  var cell = document.getElementById(ACTIVE_CELL_ID);
  if (!cell || column === 0) {
    return;
  }
  var stickyWidth = this.head.firstChild.offsetWidth;
  var left = cell.offsetLeft;
  var right = left + cell.offsetWidth;
  // A cell wider than the view (a whole line) shows its start.
  if (left - stickyWidth < this.scroll.scrollLeft || right - left > this.scroll.clientWidth - stickyWidth) {
    this.scroll.scrollLeft = left - stickyWidth;
  } else if (right > this.scroll.scrollLeft + this.scroll.clientWidth) {
    this.scroll.scrollLeft = right - this.scroll.clientWidth;
  }
};

PointGrid.prototype.onKey = function (event) {
  if (!this.text || event.altKey || event.metaKey) {
    return;
  }
  var line = this.active.line;
  var column = this.active.column;
  var page = Math.max(1, Math.floor(this.view().rowsInView) - 1);
  switch (event.key) {
    case 'ArrowUp': line -= 1; break;
    case 'ArrowDown': line += 1; break;
    case 'ArrowLeft': column -= 1; break;
    case 'ArrowRight': column += 1; break;
    case 'PageUp': line -= page; break;
    case 'PageDown': line += page; break;
    case 'Home': if (event.ctrlKey) { line = 1; } else { column = 0; } break;
    case 'End': if (event.ctrlKey) { line = this.text.lineCount; } else { column = FIELD_COLUMNS; } break;
    case 'Enter':
    case ' ':
      event.preventDefault();
      this.callbacks.onOpen(line, column);
      return;
    case 'F8':
    case 'n':
    case 'p':
      event.preventDefault();
      this.callbacks.onStep(event.key === 'p' || (event.key === 'F8' && event.shiftKey) ? false : true);
      return;
    default:
      return;
  }
  event.preventDefault();
  this.select(line, column, false);
};

// Every fault and note of one check, as the worker sends them: where each is
// in typed arrays, the whole record for the first `keepCount`. The grid asks
// it for the faults of the rows it draws; the lists and the detail panel read
// the kept records.
'use strict';

function FaultStore(keepCount) {
  this.keepCount = keepCount;
  this.count = 0;
  this.lines = new Int32Array(1024);
  this.columns = new Int32Array(1024);
  this.fields = new Int16Array(1024);
  this.notes = new Uint8Array(1024);
  this.rules = new Uint16Array(1024);
  this.ruleNames = [];
  this.kept = [];
  this.noteCount = 0;
  this.order = null;
}

function grownCopy(array, size) {
  var grown = new array.constructor(size);
  grown.set(array);
  return grown;
}

FaultStore.prototype.addPage = function (page) {
  var count = page.lines.length;
  if (this.count + count > this.lines.length) {
    var size = Math.max(this.lines.length * 2, this.count + count);
    this.lines = grownCopy(this.lines, size);
    this.columns = grownCopy(this.columns, size);
    this.fields = grownCopy(this.fields, size);
    this.notes = grownCopy(this.notes, size);
    this.rules = grownCopy(this.rules, size);
  }
  this.lines.set(page.lines, this.count);
  this.columns.set(page.columns, this.count);
  this.fields.set(page.fields, this.count);
  this.notes.set(page.notes, this.count);
  this.rules.set(page.rules, this.count);
  for (var i = 0; i < count; ++i) {
    this.noteCount += page.notes[i];
  }
  Array.prototype.push.apply(this.ruleNames, page.newRules);
  for (var k = 0; k < page.kept.length; ++k) {
    this.kept.push(page.kept[k]);
  }
  this.count += count;
};

// Faults come in line order, except those without a line; the grid looks
// rows up by line, so it gets an order sorted by line (and by column).
FaultStore.prototype.finish = function () {
  var order = new Uint32Array(this.count);
  for (var i = 0; i < this.count; ++i) {
    order[i] = i;
  }
  var lines = this.lines;
  var columns = this.columns;
  var sorted = true;
  for (var j = 1; j < this.count && sorted; ++j) {
    sorted = lines[j - 1] < lines[j] || (lines[j - 1] === lines[j] && columns[j - 1] <= columns[j]);
  }
  if (!sorted) {
    order.sort(function (a, b) {
      return lines[a] - lines[b] || columns[a] - columns[b] || a - b;
    });
  }
  this.order = order;
};

// Position in `order` of the first fault on `line` or after it.
FaultStore.prototype.lowerBound = function (line) {
  var low = 0;
  var high = this.count;
  while (low < high) {
    var middle = (low + high) >>> 1;
    if (this.lines[this.order[middle]] < line) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
};

// Indexes of the faults on one line, in column order.
FaultStore.prototype.onLine = function (line) {
  var found = [];
  for (var at = this.lowerBound(line); at < this.count && this.lines[this.order[at]] === line; ++at) {
    found.push(this.order[at]);
  }
  return found;
};

// The next fault (or note) after line/field, or before it; wraps around.
FaultStore.prototype.step = function (line, field, forward) {
  if (this.count === 0) {
    return -1;
  }
  var key = function (store, index) {
    return store.lines[index] * 64 + store.fields[index] + 1;
  };
  var here = line * 64 + field + 1;
  var at = this.lowerBound(line);
  if (forward) {
    while (at < this.count && key(this, this.order[at]) <= here) {
      ++at;
    }
    return this.order[at < this.count ? at : 0];
  }
  at = this.lowerBound(line + 1) - 1;
  while (at >= 0 && key(this, this.order[at]) >= here) {
    --at;
  }
  return this.order[at >= 0 ? at : this.count - 1];
};

FaultStore.prototype.record = function (index) {
  return index < this.kept.length ? this.kept[index] : null;
};

FaultStore.prototype.isNote = function (index) {
  return this.notes[index] === 1;
};

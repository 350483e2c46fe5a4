// The page's checks run here, in a Web Worker, so that a file of a million
// rows never blocks the page. It runs after marlint-core.js and checker.js in
// the same script, and answers each request with the result text, the status,
// the faults in compact pages and the start of every line, from one check,
// then with the file as every certain fix leaves it.
'use strict';

var FAULT_PAGE_SIZE = 4096;

var checkerReady = null;

function loadChecker() {
  if (!checkerReady) {
    checkerReady = Promise.resolve().then(function () {
      var checker = createMarlintChecker(createMarlintModule);
      return Promise.resolve(checker.ready ? checker.ready() : undefined).then(function () {
        return checker;
      });
    });
  }
  return checkerReady;
}

// Faults travel in typed arrays: the grid needs only where each fault is, so
// a million of them cost a few megabytes. The whole record is sent only for
// the first `keepCount` faults of a check.
function FaultPageBuilder(requestId, keepCount, pass) {
  this.requestId = requestId;
  this.pass = pass;
  this.keepCount = keepCount;
  this.sent = 0;
  this.ruleIndex = new Map();
}

FaultPageBuilder.prototype.internRule = function (rule, newRules) {
  var index = this.ruleIndex.get(rule);
  if (index === undefined) {
    index = this.ruleIndex.size;
    this.ruleIndex.set(rule, index);
    newRules.push(rule);
  }
  return index;
};

FaultPageBuilder.prototype.send = function (faults) {
  var count = faults.length;
  var lines = new Int32Array(count);
  var columns = new Int32Array(count);
  var fields = new Int16Array(count);
  var notes = new Uint8Array(count);
  var rules = new Uint16Array(count);
  var newRules = [];
  var kept = [];
  for (var i = 0; i < count; ++i) {
    var fault = faults[i];
    lines[i] = fault.line || 0;
    columns[i] = fault.column || 0;
    fields[i] = fault.field === null || fault.field === undefined ? -1 : fault.field;
    notes[i] = fault.severity === 'note' ? 1 : 0;
    rules[i] = this.internRule(String(fault.rule), newRules);
    if (this.sent + i < this.keepCount) {
      kept.push(fault);
    }
  }
  self.postMessage(
    {
      type: 'faults',
      id: this.requestId,
      pass: this.pass,
      first: this.sent,
      lines: lines,
      columns: columns,
      fields: fields,
      notes: notes,
      rules: rules,
      newRules: newRules,
      kept: kept,
    },
    [lines.buffer, columns.buffer, fields.buffer, notes.buffer, rules.buffer]
  );
  this.sent += count;
};

// The start of every line, and one entry past the last line so that line i
// (from 0) ends where entry i + 1 starts, less its line feed. memchr-speed
// indexOf keeps this to a small part of the check's own time.
function indexLines(bytes) {
  var starts = new Uint32Array(1024);
  var count = 0;
  var position = 0;
  var length = bytes.length;
  while (position < length) {
    if (count + 2 > starts.length) {
      var grown = new Uint32Array(starts.length * 2);
      grown.set(starts);
      starts = grown;
    }
    starts[count++] = position;
    var lineFeed = bytes.indexOf(10, position);
    position = lineFeed < 0 ? length + 1 : lineFeed + 1;
  }
  if (count + 1 > starts.length) {
    var last = new Uint32Array(count + 1);
    last.set(starts);
    starts = last;
  }
  starts[count] = count === 0 ? 0 : position;
  return starts.slice(0, count + 1);
}

// Rows end at the first empty line after the header line (a lone CR counts
// as empty); 0 when there is none.
function firstEmptyLine(bytes, lineStarts) {
  var lineCount = lineStarts.length - 1;
  for (var line = 1; line < lineCount; ++line) {
    var start = lineStarts[line];
    var length = lineStarts[line + 1] - 1 - start;
    if (length === 0 || (length === 1 && bytes[start] === 13 && start + 1 < bytes.length)) {
      return line + 1;
    }
  }
  return 0;
}

var strictUtf8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });

// The result text copies bytes from the file: bytes that are not UTF-8 are
// read as Windows-1252, as the grid shows them.
function resultTextOf(result) {
  try {
    return strictUtf8.decode(result.resultBytes);
  } catch (notUtf8) {
    return new TextDecoder('windows-1252', { ignoreBOM: true }).decode(result.resultBytes);
  }
}

// The fault the result text names, found among every fault as they come:
// the first fault of any rule but a repeated name, since a faulty row wins
// over repeated names; failing that, the repeat of the name whose first
// occurrence comes first, at that name's first repeat.
function ResultFaultFinder() {
  this.record = null;
  this.isFinal = false;
}

ResultFaultFinder.prototype.look = function (faults) {
  for (var i = 0; i < faults.length && !this.isFinal; ++i) {
    var fault = faults[i];
    if (fault.severity !== 'error') {
      continue;
    }
    if (fault.rule !== 'duplicate-name') {
      this.record = fault;
      this.isFinal = true;
    } else if (
      !this.record ||
      fault.firstLine < this.record.firstLine ||
      (fault.firstLine === this.record.firstLine && fault.line < this.record.line)
    ) {
      this.record = fault;
    }
  }
};

var messageEncoder = new TextEncoder();

// The result text's bytes from the fault's message, when they are certain:
// the report writes bytes that are not UTF-8 as \u0080 to \u00ff, so a
// message with a character there may stand for other bytes.
function certainResultBytes(message) {
  return /[\u0080-\u00ff]/.test(message) ? null : messageEncoder.encode(message);
}

// One pass finds every fault and note (`--all --json`), with the result
// text the command line gives. The result shows as soon as it is certain:
// at a faulty row's first fault, which the result text names whatever
// follows, or else when the check ends; the faults found after it go on
// arriving while the page is in use. The lines are indexed first, so that
// the result can show the file.
function runCheck(checker, request, buffer) {
  var bytes = new Uint8Array(buffer);
  var checkDone = false;
  self.postMessage({ type: 'checking', id: request.id });
  var lineStarts = indexLines(bytes);
  var emptyLine = firstEmptyLine(bytes, lineStarts);
  var resultFault = new ResultFaultFinder();
  var resultSent = false;
  var pages = new FaultPageBuilder(request.id, request.keepCount, 2);

  var sendResult = function (resultText, resultBytes, status, everyPass) {
    // The fault of the result text, alone, as a pass of its own: the lists
    // mark it among every fault.
    new FaultPageBuilder(request.id, 1, 1).send(resultFault.record ? [resultFault.record] : []);
    var message = {
      type: 'result',
      id: request.id,
      resultText: resultText,
      resultBytes: resultBytes,
      status: status,
      lineStarts: lineStarts,
      firstEmptyLine: emptyLine,
      everyPass: everyPass,
    };
    var transfer = [lineStarts.buffer];
    if (request.file) {
      // The page shows the chosen file from these bytes: once the check is
      // done with them they move there, before that a copy goes.
      message.fileBytes = checkDone ? buffer : buffer.slice(0);
      message.readTime = request.readTime;
      transfer.push(message.fileBytes);
    }
    self.postMessage(message, transfer);
    resultSent = true;
  };

  return Promise.resolve(
    checker.check(bytes, {
      every: true,
      pageSize: FAULT_PAGE_SIZE,
      onPage: function (faults) {
        resultFault.look(faults);
        pages.send(faults);
        var resultBytes = !resultSent && resultFault.isFinal ? certainResultBytes(resultFault.record.message) : null;
        if (resultBytes) {
          sendResult(resultTextOf({ resultBytes: resultBytes }), resultBytes, -1, true);
        }
      },
    })
  ).then(function (result) {
    checkDone = true;
    // Without a fault or a note there is nothing more to show.
    var everyPass = resultSent || result.faultCount > 0;
    // The bytes move to the page with the result: the fix works on a copy.
    var fixing = result.status !== 0 && result.faultCount <= request.keepCount;
    var fixInput = fixing ? bytes.slice() : null;
    if (!resultSent) {
      sendResult(resultTextOf(result), result.resultBytes, result.status, everyPass);
    }
    if (everyPass) {
      self.postMessage({ type: 'complete', id: request.id, faultCount: result.faultCount, fixing: fixing });
    }
    return fixing ? runFix(checker, request, fixInput) : undefined;
  });
}

// Every certain fix applied, as `marlint --fix=OUT` applies them, found
// once the check is done: the page offers them only when there are some,
// and then applies these bytes at once.
function runFix(checker, request, bytes) {
  return Promise.resolve(checker.fix(bytes)).then(
    function (fixed) {
      var left = 0;
      for (var i = 0; i < fixed.remaining.length; ++i) {
        left += fixed.remaining[i].severity === 'error' ? 1 : 0;
      }
      self.postMessage(
        { type: 'fixable', id: request.id, bytes: fixed.bytes, applied: fixed.applied.length, left: left },
        [fixed.bytes.buffer]
      );
    },
    function () {
      // Out of memory, say: the page offers no fixes, and checks as before.
      self.postMessage({ type: 'fixable', id: request.id, applied: 0 });
    }
  );
}

// While a person still picks a file, the module is compiled and checks a
// few thousand rows of every kind a few times: the browser then runs the
// check's loops as optimised code on the first real file, which is up to
// twice as fast as the first run of a fresh module.
var WARM_UP_ROWS = [
  'SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,',
  'SAMPLE,,500,LITER / SECOND,Device,PMC path 1,5,String,R,R,200,',
  'EVENT,,800,,Device,PMC path 1,7,String,R,X,10,3',
  'EVENT,RUNNING,1000,,Controller,,,,,,,',
  'CONDITION,1000 1001 2500,1000,,Path,,,,,,,',
];

function warmUp(checker) {
  var lines = ['2,3,False'];
  for (var i = 0; i < 4000; ++i) {
    lines.push(i % 5 === 4 ? 'D,ReadMode_' + i + ',,,,,,,,,,,,' : 'C,WarmUp' + i + ',' + WARM_UP_ROWS[i % 5]);
  }
  var sample = lines.join('\n') + '\n';
  var round = function (left) {
    return left === 0 ? undefined : Promise.resolve(checker.check(sample, { every: true })).then(function () {
      return round(left - 1);
    });
  };
  return round(4);
}

// A chosen file is read here, once, while the checker loads.
function readRequest(request) {
  if (!request.file) {
    return Promise.resolve(request.buffer);
  }
  var started = performance.now();
  return request.file.arrayBuffer().then(
    function (buffer) {
      request.readTime = performance.now() - started;
      return buffer;
    },
    function (error) {
      throw new Error('cannot read ' + request.file.name + ': ' + ((error && error.message) || 'unknown error'));
    }
  );
}

self.onmessage = function (event) {
  var request = event.data;
  var reading = request.warmUp ? null : readRequest(request);
  if (reading) {
    // A failed read is reported below, once the checker has loaded.
    reading.catch(function () {});
  }
  loadChecker()
    .then(function (checker) {
      if (request.warmUp) {
        return warmUp(checker);
      }
      return reading.then(function (buffer) {
        return runCheck(checker, request, buffer);
      });
    })
    .catch(function (error) {
      self.postMessage({ type: 'failed', id: request.id, message: String((error && error.message) || error) });
    });
};

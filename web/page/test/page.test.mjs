// marlint.html in headless Chromium, opened from disk: the result text and
// status of the bundled examples by file input and by pasting, every fault in
// the list and in its cell, a suggestion applied and the file saved, every
// certain fix applied at once, and a file of a million rows.
//
//   cmake --workflow --preset web && (cd web && npm install && npm run test:page)
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import http from 'node:http';
import { mkdtemp, readFile, readdir, rm, stat, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { launchBrowser, openPage, pagePath, repositoryRoot } from './browser.mjs';
import { takeScreenshot } from './screenshot.mjs';

const EXAMPLES = path.join(repositoryRoot, 'examples');
const FAULTY = path.join(EXAMPLES, 'faulty');

let browser;
let scratch;

before(async () => {
  browser = await launchBrowser();
  scratch = await mkdtemp(path.join(os.tmpdir(), 'marlint-page-test-'));
});

after(async () => {
  await browser?.close();
  await rm(scratch, { recursive: true, force: true });
});

async function freshPage(options) {
  const opened = await openPage(browser, options);
  opened.page.setDefaultTimeout(10000);
  return opened;
}

// Waits for the check of request `previous + 1` and returns what it shows.
async function outcome(page) {
  await page.waitForFunction(() => {
    const progress = document.getElementById('progress');
    return progress.hidden && document.querySelector('[data-testid=status]').textContent !== '';
  });
  return {
    resultText: await page.textContent('[data-testid=result-text]'),
    status: await page.textContent('[data-testid=status]'),
    faults: await page.$$eval('[data-testid=fault]', (elements) =>
      elements.map((element) => ({
        line: Number(element.dataset.line),
        column: Number(element.dataset.column),
        field: Number(element.dataset.field),
        rule: element.dataset.rule,
      }))
    ),
  };
}

async function chooseFile(page, file) {
  await page.evaluate(() => {
    document.querySelector('[data-testid=status]').textContent = '';
    // As a click on the input does before the file chooser opens.
    document.querySelector('input[type=file]').value = '';
  });
  await page.setInputFiles('input[type=file]', file);
  return outcome(page);
}

// The bytes Save file gives.
async function savedBytes(page) {
  const download = page.waitForEvent('download');
  await page.click('#save');
  return readFile(await (await download).path());
}

// The result text and status native marlint gives a file, as the page shows them.
function nativeResult(native, file) {
  const run = spawnSync(native, [file]);
  return { resultText: run.stderr.toString('utf8'), status: run.status === 0 ? '0' : '-1' };
}

// Line `line` of a file (from 1) without its line end, as the check reads it.
// A CR is dropped only right before an LF: one that ends the file stays.
function lineOf(bytes, line) {
  const lines = bytes.toString('latin1').split('\n');
  const text = line < lines.length ? lines[line - 1].replace(/\r$/, '') : lines[line - 1];
  return Buffer.from(text, 'latin1');
}

// Field `field` of line `line` (both as the report counts them), and the
// byte column where it starts.
function fieldOf(bytes, line, field) {
  const fields = lineOf(bytes, line).toString('latin1').split(',');
  const column = 1 + fields.slice(0, field).reduce((sum, piece) => sum + piece.length + 1, 0);
  return { text: shownText(Buffer.from(fields[field], 'latin1')), bytes: fields[field].length, column };
}

const strictUtf8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });

// Bytes as the page draws them: well-formed UTF-8 as it is, with NUL, tab,
// CR and LF as ⟨NUL⟩, ⟨TAB⟩, ⟨CR⟩, ⟨LF⟩, other control bytes and bytes
// outside UTF-8 as their value (⟨1B⟩, ⟨E9⟩), a byte-order mark as ⟨BOM⟩,
// and C1 controls and the no-break space as ⟨U+0085⟩.
function shownText(bytes) {
  let text = '';
  for (let at = 0; at < bytes.length; ) {
    let length = 1;
    let character = null;
    for (; length <= 4 && at + length <= bytes.length && character === null; ++length) {
      try {
        character = strictUtf8.decode(bytes.subarray(at, at + length));
      } catch {
        // not a whole character yet
      }
    }
    if (character === null) {
      text += `⟨${bytes[at].toString(16).toUpperCase().padStart(2, '0')}⟩`;
      at += 1;
      continue;
    }
    at += length - 1;
    const code = character.codePointAt(0);
    if (code < 0x20 || code === 0x7f) {
      const names = { 0: 'NUL', 9: 'TAB', 10: 'LF', 13: 'CR' };
      text += `⟨${names[code] || code.toString(16).toUpperCase().padStart(2, '0')}⟩`;
    } else if (code === 0xfeff) {
      text += '⟨BOM⟩';
    } else if (code >= 0x80 && code <= 0xa0) {
      text += `⟨U+00${code.toString(16).toUpperCase()}⟩`;
    } else {
      text += character;
    }
  }
  return text;
}

// Chooses each listed fault and checks that the grid's active cell is the
// fault's cell, marked as faulty, holding the file's text there.
async function assertFaultsInPlace(page, bytes, faults) {
  for (const fault of faults) {
    await page.click(`[data-testid=fault][data-line="${fault.line}"][data-column="${fault.column}"]`);
    if (fault.line === 0) {
      // A fault without a line (an empty file) has no cell: the detail says it.
      assert.match(await page.textContent('#detail'), /Fault/, `${fault.rule}: its detail`);
      continue;
    }
    const cell = await page.$eval('#grid-active-cell', (element) => ({
      line: Number(element.closest('[data-line]').dataset.line),
      field: element.dataset.field === undefined ? -1 : Number(element.dataset.field),
      columnSpan: element.getAttribute('aria-colspan'),
      text: element.textContent,
      invalid: element.getAttribute('aria-invalid'),
      marked: /cell-fault/.test(element.className),
    }));
    const where = `${fault.rule} at ${fault.line}:${fault.column}`;
    assert.equal(cell.line, fault.line, where);
    assert.ok(cell.marked, `${where}: the cell is marked`);
    assert.equal(cell.invalid, 'true', where);
    if (fault.field >= 0) {
      const expected = fieldOf(bytes, fault.line, fault.field);
      assert.equal(cell.field, fault.field, where);
      assert.equal(cell.columnSpan, null, where);
      assert.equal(cell.text, expected.text, where);
      // A CONDITION code starts inside its field; every other fault at the field.
      assert.ok(fault.column >= expected.column && fault.column <= expected.column + expected.bytes, where);
    } else {
      // A fault of the whole line is one cell across the row, holding the line.
      assert.equal(cell.columnSpan, '14', where);
      assert.equal(cell.text, shownText(lineOf(bytes, fault.line)), where);
    }
    const detail = await page.textContent('#detail');
    assert.match(detail, /Fault/, where);
  }
}

describe('marlint.html', () => {
  test('is one file within 336 KiB that works from disk and from a web server, without network', async () => {
    assert.ok((await stat(pagePath)).size <= 336 * 1024);
    const html = await readFile(pagePath);
    const server = http.createServer((request, response) => {
      response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
      response.end(html);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    try {
      for (const url of [undefined, `http://127.0.0.1:${server.address().port}/marlint.html`]) {
        const { context, page, errors } = await freshPage({ url });
        const shown = await chooseFile(page, path.join(FAULTY, 'cycle.csv'));
        assert.equal(shown.resultText, '99 is illegal cycle.', url);
        assert.deepEqual(errors, [], url);
        await context.close();
      }
    } finally {
      server.close();
    }
  });

  test('the valid example by the file input: OK, status 0, no fault', async () => {
    const { context, page, errors } = await freshPage();
    const shown = await chooseFile(page, path.join(EXAMPLES, 'points.csv'));
    assert.equal(shown.resultText, 'OK');
    assert.equal(shown.status, '0');
    assert.deepEqual(shown.faults, []);
    const lines = (await readFile(path.join(EXAMPLES, 'points.csv'), 'latin1')).split('\n').filter(Boolean).length;
    assert.equal(await page.$$eval('.grid-body .grid-row:not([hidden])', (rows) => rows.length), lines);
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('every faulty example by the file input: its result text, and each fault in its cell', async () => {
    const { context, page, errors } = await freshPage();
    const names = (await readdir(FAULTY)).filter((name) => name.endsWith('.csv')).sort();
    assert.ok(names.length >= 10);
    for (const name of names) {
      const file = path.join(FAULTY, name);
      const expected = shownText(await readFile(file.replace(/\.csv$/, '.expected')));
      const shown = await chooseFile(page, file);
      // A file that is not text is named as such, as the report names it,
      // and only the start of its result text is shown.
      const notText = (await readFile(file.replace(/\.csv$/, '.all.jsonl'), 'utf8').catch(() => '')).includes(
        'the file is not text',
      );
      if (notText) {
        assert.ok(!(await page.isHidden('#notice')), name);
        assert.match(await page.textContent('#notice'), /not text/, name);
        assert.ok(shown.resultText.endsWith('…'), name);
        assert.ok(expected.startsWith(shown.resultText.slice(0, -1)), name);
      } else {
        assert.equal(shown.resultText, expected, name);
        // Text, in UTF-8, Windows-1252 or UTF-16: no word of a file that is not.
        assert.ok(await page.isHidden('#notice'), name);
      }
      // A file whose faults all lie after an empty line is accepted, with a note.
      const accepted = expected === 'OK';
      assert.equal(shown.status, accepted ? '0' : '-1', name);
      assert.ok(accepted || shown.faults.length >= 1, `${name}: faults listed`);
      await assertFaultsInPlace(page, await readFile(file), shown.faults);
    }
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('a dropped file is checked, also where Workers are refused', async () => {
    for (const refuseWorkers of [false, true]) {
      const { context, page, errors } = await freshPage();
      if (refuseWorkers) {
        await page.addInitScript(() => {
          window.Worker = function () {
            throw new Error('Workers are refused here');
          };
        });
        await page.reload();
      }
      const bytes = await readFile(path.join(FAULTY, 'xml-location.csv'));
      const dataTransfer = await page.evaluateHandle((text) => {
        const transfer = new DataTransfer();
        transfer.items.add(new File([text], 'dropped.csv', { type: 'text/csv' }));
        return transfer;
      }, bytes.toString('utf8'));
      await page.dispatchEvent('#drop-zone', 'drop', { dataTransfer });
      const shown = await outcome(page);
      assert.equal(shown.resultText, 'Path1 is illegal XML location.');
      assert.equal(await page.textContent('#file-name'), 'dropped.csv');
      await assertFaultsInPlace(page, bytes, shown.faults);
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('pasted text is checked like the same file', async () => {
    const { context, page, errors } = await freshPage();
    for (const name of ['cycle.csv', 'duplicate-name.csv', 'header-field-count.csv', 'constant-value.csv']) {
      const file = path.join(FAULTY, name);
      const bytes = await readFile(file);
      const expected = shownText(await readFile(file.replace(/\.csv$/, '.expected')));
      await page.fill('#paste-text', '');
      await page.focus('#paste-text');
      await page.evaluate(() => {
        document.querySelector('[data-testid=status]').textContent = '';
      });
      await page.keyboard.insertText(bytes.toString('utf8'));
      await page.keyboard.press('Control+Enter');
      const shown = await outcome(page);
      assert.equal(shown.resultText, expected, name);
      assert.equal(shown.status, '-1', name);
      // The text area keeps LF line ends; the columns are the same.
      await assertFaultsInPlace(page, Buffer.from(bytes.toString('utf8').replace(/\r\n/g, '\n')), shown.faults);
    }

    // A repeated name is found after every row: the result text names the
    // unit on line 4, though the list, in line order, starts with line 3.
    await page.fill('#paste-text', '2,3,False\nD,ReadMode_1,,,,,,,,,,,,\nD,ReadMode_1,,,,,,,,,,,,\n' +
      'C,Temp1,SAMPLE,,500,CELSIUS_,Path,,1,String,R,,100,\n');
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.click('#check-text');
    const shown = await outcome(page);
    assert.equal(shown.resultText, 'CELSIUS_ is illegal unit.');
    assert.deepEqual(shown.faults.map((fault) => fault.line), [3, 4]);
    // The list is one Tab stop; Down and Enter choose the next fault's cell.
    await page.focus('[data-testid=fault][tabindex="0"]');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    assert.equal(await page.$eval('#grid-active-cell', (cell) => cell.closest('[data-line]').dataset.line), '4');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'grid');
    assert.equal(await page.$eval('.result-badge', (badge) => badge.closest('[data-testid=fault]').dataset.line), '4');
    assert.equal(await page.$$eval('.result-badge', (badges) => badges.length), 1);
    assert.deepEqual(errors, []);
    await context.close();
  });

  // Each row: a file, its result text as shown, and cells with their text
  // in the grid and in the detail (and read as Windows-1252 when not UTF-8).
  const SHOWN_BYTES = [
    {
      name: 'a byte that is not UTF-8',
      bytes: Buffer.concat([Buffer.from('2,3,False\r\nC,Temp1,SAMPLE,,500,MILLIM'), Buffer.from([0xc8]), Buffer.from('TRE,Path,,1,String,R,,100,\r\n')]),
      resultText: 'MILLIM⟨C8⟩TRE is illegal unit.',
      cells: [{ line: 2, field: 5, text: 'MILLIM⟨C8⟩TRE', windows1252: 'MILLIMÈTRE' }],
    },
    {
      name: 'a byte that is not UTF-8 beside the same letter in UTF-8',
      bytes: Buffer.concat([
        Buffer.from('2,3,False\nC,Temp'),
        Buffer.from([0xe9]),
        Buffer.from('1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,\nC,Tempé2,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,\n'),
      ]),
      resultText: 'Illegal point name.',
      cells: [
        { line: 2, field: 1, text: 'Temp⟨E9⟩1', windows1252: 'Tempé1' },
        { line: 3, field: 1, text: 'Tempé2', windows1252: null },
      ],
    },
    {
      // The mark stays in the result text, as the command writes it.
      name: 'a byte-order mark',
      bytes: Buffer.from('\ufeff2,3,False\n'),
      resultText: '⟨BOM⟩2,3,False is illegal PMC path num.',
      cells: [{ line: 1, field: 0, text: '⟨BOM⟩2', windows1252: null }],
    },
    {
      name: 'a NUL, and a CR that ends no line',
      bytes: Buffer.from('2,3,Fa\0lse\r\r\n'),
      resultText: '2,3,Fa⟨NUL⟩lse⟨CR⟩ is illegal DCS Ladder.',
      cells: [{ line: 1, field: 2, text: 'Fa⟨NUL⟩lse⟨CR⟩', windows1252: null }],
    },
  ];

  test('bytes that show nothing or are not UTF-8 are marked in the result text, the grid and the detail', async () => {
    const { context, page, errors } = await freshPage();
    for (const row of SHOWN_BYTES) {
      const file = path.join(scratch, 'Shown.csv');
      await writeFile(file, row.bytes);
      const shown = await chooseFile(page, file);
      assert.equal(shown.resultText, row.resultText, row.name);
      // A NUL or a byte that is not UTF-8 makes no file "not text".
      assert.ok(await page.isHidden('#notice'), row.name);
      const legend = /stand for bytes/.test(await page.textContent('#result-cut'));
      assert.equal(legend, row.resultText.includes('⟨'), row.name);
      for (const cell of row.cells) {
        const where = `${row.name}, line ${cell.line}`;
        await page.click(`[data-testid=fault][data-line="${cell.line}"]`);
        assert.equal(await page.textContent('#grid-active-cell'), cell.text, where);
        assert.equal(await page.textContent('[data-testid=cell-text]'), cell.text, where);
        const legacy = await page.$('[data-testid=windows-1252]');
        assert.equal(legacy && (await legacy.textContent()).replace(/.*: /, ''), cell.windows1252, where);
      }
    }
    // Plain text gets no word about marks.
    await chooseFile(page, path.join(FAULTY, 'cycle.csv'));
    assert.ok(await page.isHidden('#result-cut'));
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('a file with CR-only line ends is one line: its result text shown cut, saved whole', async () => {
    const row = 'C,Temp1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,';
    const text = '2,3,False\r' + Array.from({ length: 20000 }, () => row).join('\r');
    const file = path.join(scratch, 'CarriageReturns.csv');
    await writeFile(file, text);
    const { context, page, errors } = await freshPage();
    const shown = await chooseFile(page, file);
    assert.equal(shown.resultText, text.slice(0, 2000).replace(/\r/g, '⟨CR⟩') + '…');
    assert.deepEqual(shown.faults, [{ line: 1, column: 1, field: -1, rule: 'header-field-count' }]);
    const resultFile = page.waitForEvent('download');
    await page.click('#save-result');
    assert.equal(await readFile(await (await resultFile).path(), 'latin1'), text + ' is illegal format.');
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('a suggestion applied and the file saved: only the fault\'s bytes change', async () => {
    // CR LF line ends, a byte that is not UTF-8 and text after the rows, with
    // no line end at the end: all must come back as they were.
    const original = Buffer.concat([
      Buffer.from('2,3,False\r\nC,Speed1,SAMPLE,,500,MILLIMETER/SECOND,Path,,1,String,R,,100,\r\n'),
      Buffer.from('D,ReadMode_1,,,,,,,,,,,,\r\n\r\nnot read: caf'),
      Buffer.from([0xe9]),
    ]);
    const file = path.join(scratch, 'Speed.csv');
    await writeFile(file, original);
    const { context, page, errors } = await freshPage();
    const shown = await chooseFile(page, file);
    assert.equal(shown.resultText, 'MILLIMETER/SECOND is illegal unit.');
    const resultFile = page.waitForEvent('download');
    await page.click('#save-result');
    assert.equal(await readFile(await (await resultFile).path(), 'latin1'), 'MILLIMETER/SECOND is illegal unit.');
    // By keyboard alone: into the grid, to the fault, into its detail, apply.
    await page.focus('#grid');
    await page.keyboard.press('Control+Home');
    await page.keyboard.press('F8');
    assert.equal(await page.$eval('#grid-active-cell', (cell) => cell.dataset.field), '5');
    await page.keyboard.press('Enter');
    assert.equal(await page.evaluate(() => document.activeElement.dataset.testid), 'apply-suggestion');
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.keyboard.press('Enter');
    const fixed = await outcome(page);
    assert.equal(fixed.resultText, 'OK');
    assert.equal(fixed.status, '0');
    assert.deepEqual(fixed.faults, []);

    assert.equal(await page.textContent('#edit-state'), 'Changed, not saved yet');
    const download = page.waitForEvent('download');
    await page.focus('#save');
    await page.keyboard.press('Enter');
    const saved = await readFile(await (await download).path());
    const at = original.indexOf('MILLIMETER/SECOND');
    const expected = Buffer.concat([
      original.subarray(0, at),
      Buffer.from('MILLIMETER / SECOND'),
      original.subarray(at + 'MILLIMETER/SECOND'.length),
    ]);
    assert.ok(saved.equals(expected), `saved bytes: ${JSON.stringify(saved.toString('latin1'))}`);
    assert.equal((await download).suggestedFilename(), 'Speed.csv');
    assert.equal(await page.textContent('#edit-state'), 'Saved');

    // Undone after the save, the bytes differ from those saved.
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.click('#undo');
    assert.equal((await outcome(page)).resultText, 'MILLIMETER/SECOND is illegal unit.');
    assert.equal(await page.textContent('#edit-state'), 'Changed, not saved yet');
    assert.deepEqual(errors, []);
    await context.close();
  });

  // The bytes the page's Fix every certain fault gives are those native
  // `marlint --fix=OUT` writes, in one change that one Undo takes back.
  test('Fix every certain fault: the bytes of marlint --fix, what remains, and one Undo back to the file', async () => {
    const native = process.env.MARLINT_NATIVE || path.join(repositoryRoot, 'build/debug/marlint');
    const rows = [
      { name: 'export-mark-quotes-crlf.csv', summary: 'Fixed 2 faults with certain fixes; none remain for you.' },
      { name: 'five-faults-one-row.csv', summary: 'Fixed 3 faults with certain fixes; 2 remain for you.' },
    ];
    const { context, page, errors } = await freshPage();
    for (const row of rows) {
      const file = path.join(FAULTY, row.name);
      const original = await readFile(file);
      const out = path.join(scratch, 'fixed-' + row.name);
      spawnSync(native, ['--fix=' + out, file]);
      const expected = await readFile(out);
      const before = await chooseFile(page, file);
      await page.waitForSelector('[data-testid=fix-all]', { state: 'visible' });
      await page.evaluate(() => {
        document.querySelector('[data-testid=status]').textContent = '';
      });
      await page.click('[data-testid=fix-all]');
      const after = await outcome(page);
      assert.deepEqual({ resultText: after.resultText, status: after.status }, nativeResult(native, out), row.name);
      assert.ok((await page.textContent('[data-testid=fix-summary]')).startsWith(row.summary), row.name);
      assert.ok(await page.isHidden('[data-testid=fix-all]'), row.name);
      assert.ok((await savedBytes(page)).equals(expected), row.name);

      await page.evaluate(() => {
        document.querySelector('[data-testid=status]').textContent = '';
      });
      await page.click('#undo');
      assert.deepEqual(await outcome(page), before, row.name);
      assert.ok(await page.isHidden('[data-testid=fix-summary]'), row.name);
      assert.ok((await savedBytes(page)).equals(original), row.name);
      assert.ok(await page.isDisabled('#undo'), row.name);
    }
    // The export is OK once fixed.
    assert.deepEqual(nativeResult(native, path.join(scratch, 'fixed-' + rows[0].name)), { resultText: 'OK', status: '0' });

    // Each fault's detail names its fixes and how sure each is.
    await chooseFile(page, path.join(FAULTY, 'unit-spelling.csv'));
    await page.click('[data-testid=fault]');
    assert.deepEqual(await page.$$eval('[data-testid=fix]', (fixes) => fixes.map((fix) => fix.textContent)), [
      'Fix, maybe: write "MILLIMETER / SECOND"',
    ]);
    await chooseFile(page, path.join(FAULTY, 'point-type.csv'));
    await page.click('[data-testid=fault]');
    assert.deepEqual(await page.$$eval('[data-testid=fix]', (fixes) => fixes.map((fix) => fix.textContent)), [
      'Fix, certain: write "EVENT"',
    ]);
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('Ctrl+Z outside a text field undoes a suggestion, and undone back to the file it is unchanged', async () => {
    const { context, page, errors } = await freshPage();
    await chooseFile(page, path.join(FAULTY, 'unit-spelling.csv'));
    await page.click('[data-testid=fault]');
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.click('[data-testid=apply-suggestion]');
    assert.equal((await outcome(page)).resultText, 'OK');
    assert.equal(await page.textContent('#edit-state'), 'Changed, not saved yet');
    // In the text area Ctrl+Z is the area's own.
    await page.focus('#paste-text');
    await page.keyboard.press('Control+z');
    assert.equal(await page.textContent('#edit-state'), 'Changed, not saved yet');
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.focus('#grid');
    await page.keyboard.press('Control+z');
    assert.equal((await outcome(page)).resultText, 'MILLIMETER/SECOND is illegal unit.');
    assert.equal(await page.textContent('#edit-state'), '');
    assert.ok(await page.isDisabled('#undo'));
    assert.deepEqual(errors, []);
    await context.close();
  });

  // Each row: text as the clipboard holds it, the result text shown, and
  // what the page says about its line ends.
  const PASTED_LINE_ENDS = [
    {
      name: 'CR alone',
      text: '2,3,False\rC,Temp1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,\r',
      resultText: '2,3,False⟨CR⟩C,Temp1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,⟨CR⟩ is illegal format.',
      notice: /checked as pasted/,
    },
    {
      name: 'CR CR LF',
      text: '2,3,False\r\r\nC,Temp1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,\r\r\n',
      resultText: '2,3,False⟨CR⟩ is illegal DCS Ladder.',
      notice: /checked as pasted/,
    },
    {
      name: 'CR LF',
      text: '2,3,False\r\nC,Temp1,SAMPLE,,500,CELSIUS_,Path,,1,String,R,,100,\r\n',
      resultText: 'CELSIUS_ is illegal unit.',
      notice: null,
    },
  ];

  test('pasted text is checked as the clipboard holds it, line ends included', async () => {
    const { context, page, errors } = await freshPage();
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    const paste = async (text) => {
      await page.evaluate((clipboardText) => navigator.clipboard.writeText(clipboardText), text);
      await page.fill('#paste-text', '');
      await page.evaluate(() => {
        document.querySelector('[data-testid=status]').textContent = '';
      });
      await page.focus('#paste-text');
      await page.keyboard.press('Control+V');
      return outcome(page);
    };
    for (const row of PASTED_LINE_ENDS) {
      const shown = await paste(row.text);
      assert.equal(shown.resultText, row.resultText, row.name);
      assert.equal(shown.status, '-1', row.name);
      assert.equal(await page.textContent('#file-name'), 'the pasted text');
      const notice = (await page.isVisible('#notice')) ? await page.textContent('#notice') : null;
      assert.ok(row.notice ? row.notice.test(notice) : notice === null, `${row.name}: ${notice}`);
      // Saved, the pasted text comes back byte for byte.
      const download = page.waitForEvent('download');
      await page.click('#save');
      assert.deepEqual(await readFile(await (await download).path()), Buffer.from(row.text), row.name);
      assert.equal((await download).suggestedFilename(), 'pasted.csv');
    }

    // A line end typed right after a pasted CR makes CR LF of it: the text
    // area's text is checked, and the page says that line ends changed.
    await paste('2,3,False\rD,ReadMode_1,,,,,,,,,,,,\r');
    await page.evaluate(() => document.getElementById('paste-text').setSelectionRange(10, 10));
    await page.keyboard.press('Enter');
    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.keyboard.press('Control+Enter');
    assert.equal((await outcome(page)).resultText, 'OK');
    assert.match(await page.textContent('#notice'), /turned into LF/);
    assert.ok(await page.isVisible('#notice button'));
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('a file that is not text: said plainly, and only the start of its result text shown', async () => {
    const { context, page, errors } = await freshPage();
    const shown = await chooseFile(page, '/bin/ls');
    assert.equal(shown.status, '-1');
    assert.match(await page.textContent('#notice'), /This file is not text: \d+% of its first [\d,]+ bytes are control bytes/);
    assert.ok(shown.resultText.length < 250, `${shown.resultText.length} characters shown`);
    assert.ok(shown.resultText.startsWith('⟨7F⟩ELF⟨02⟩'), shown.resultText);
    assert.ok(shown.resultText.endsWith('…'));
    assert.match(await page.textContent('#result-cut'), /stops after 32 of its [\d,]+ bytes/);
    assert.deepEqual(errors, []);
    await context.close();
  });

  // A point file of 42 lines whose fault (a unit) is on line 31.
  function fortyTwoLines() {
    const rows = ['2,3,False'];
    for (let i = 1; i <= 41; ++i) {
      rows.push(`C,Temp${i},SAMPLE,,500,${i === 30 ? 'MILLIMETER/SECOND' : 'CELSIUS'},Path,,1,String,R,,100,`);
    }
    return rows.join('\n') + '\n';
  }

  async function boxOf(page, selector) {
    return page.$eval(selector, (element) => {
      const box = element.getBoundingClientRect();
      return { left: box.left, top: box.top, right: box.right, bottom: box.bottom };
    });
  }

  test('the detail beside the grid and in the window at 1280x800 and 1024x768, also after a fault chosen below', async () => {
    const file = path.join(scratch, 'FortyTwo.csv');
    await writeFile(file, fortyTwoLines());
    for (const viewport of [{ width: 1280, height: 800 }, { width: 1024, height: 768 }]) {
      const size = `${viewport.width}x${viewport.height}`;
      const { context, page, errors } = await freshPage({ viewport });
      await chooseFile(page, file);
      for (const when of ['after the check', 'after choosing the fault in the list']) {
        if (when !== 'after the check') {
          await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
          await page.click('[data-testid=fault]');
        }
        const detail = await boxOf(page, '#detail');
        const grid = await boxOf(page, '#grid');
        const use = await boxOf(page, '[data-testid=apply-suggestion]');
        for (const [what, box] of [['detail', detail], ['Use button', use]]) {
          assert.ok(box.top >= 0 && box.bottom <= viewport.height && box.right <= viewport.width, `${size} ${when}: ${what} ${JSON.stringify(box)}`);
        }
        assert.ok(detail.left >= grid.right && detail.top < grid.bottom, `${size} ${when}: beside the grid`);
      }
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('at 400 px a new file starts at the top left of the grid, and long text stays inside the detail', async () => {
    const { context, page, errors } = await freshPage({ viewport: { width: 400, height: 800 } });
    const rightmost = path.join(scratch, 'BitPos.csv');
    await writeFile(rightmost, '2,3,False\nC,Door1,EVENT,,800,,Device,PMC path 1,7,String,R,X,10,9\n');
    await chooseFile(page, rightmost);
    assert.ok((await page.$eval('#grid', (grid) => grid.scrollLeft)) > 0, 'the bit position is scrolled to');

    await chooseFile(page, path.join(FAULTY, 'export-semicolons.csv'));
    assert.equal(await page.$eval('#grid', (grid) => grid.scrollLeft), 0);
    const grid = await boxOf(page, '#grid');
    const cell = await boxOf(page, '#grid-active-cell');
    assert.ok(cell.left < grid.right && cell.right > grid.left, `the faulty cell is in view: ${JSON.stringify(cell)}`);

    const long = path.join(scratch, 'LongName.csv');
    await writeFile(long, `2,3,False\nC,${'Temperature'.repeat(30)}_,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,\n`);
    await chooseFile(page, long);
    assert.ok(await page.$eval('#detail', (detail) => detail.scrollWidth <= detail.clientWidth));
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth));
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('a million rows: checked within 3 seconds, only the rows in view drawn', async () => {
    const file = path.join(scratch, 'million.csv');
    const expected = execFileSync(
      'python3',
      [
        '-c',
        'import sys; sys.path.insert(0, sys.argv[1]); import generate_points as g; ' +
          'sys.stdout.write(g.write_point_file(sys.argv[2], 1000000, duplicate_last=True))',
        path.join(repositoryRoot, 'bench'),
        file,
      ],
      { encoding: 'utf8' }
    );
    const { context, page, errors } = await freshPage();
    await page.evaluate(() => {
      // The longest the page's own thread was busy while the file was read and checked.
      window.longestGap = 0;
      let last = performance.now();
      setInterval(() => {
        const now = performance.now();
        window.longestGap = Math.max(window.longestGap, now - last);
        last = now;
      }, 10);
    });
    const started = Date.now();
    await page.setInputFiles('input[type=file]', file);
    await page.waitForFunction(() => document.querySelector('[data-testid=status]').textContent !== '');
    const elapsed = Date.now() - started;
    const shown = await outcome(page);
    const everyFault = Date.now() - started;
    const longestGap = await page.evaluate(() => window.longestGap);
    console.log(
      `1,000,000 rows: result text ${elapsed} ms after choosing the file, every fault ${everyFault} ms; ` +
        `the page's thread was busy for at most ${Math.round(longestGap)} ms at a time`
    );
    assert.equal(shown.resultText, expected);
    assert.equal(shown.status, '-1');
    assert.ok(elapsed < 3000, `took ${elapsed} ms`);
    assert.ok((await page.$$eval('.grid-body .grid-row', (rows) => rows.length)) < 100);

    // The repeated name on the last line, chosen from the list, is drawn.
    assert.equal(shown.faults.length, 1);
    assert.equal(shown.faults[0].line, 1000001);
    await assertFaultsInPlace(page, Buffer.from(''), []);
    await page.click('[data-testid=fault]');
    assert.equal(await page.$eval('#grid-active-cell', (cell) => cell.closest('[data-line]').dataset.line), '1000001');
    assert.ok(await page.isVisible('#grid-active-cell'));
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('the README screenshot can be made', async () => {
    const output = path.join(path.dirname(pagePath), 'marlint-page.png');
    await takeScreenshot(browser, output);
    assert.ok((await stat(output)).size > 10000);
  });
});

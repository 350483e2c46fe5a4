// marlint.html in headless Chromium, opened from disk: the result text and
// status of the bundled examples by file input and by pasting, every fault in
// the list and in its cell, a suggestion applied and the file saved, and a
// file of a million rows.
//
//   cmake --workflow --preset web && (cd web && npm install && npm run test:page)
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
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

// Field `field` of line `line` (both as the report counts them), and the
// byte column where it starts.
function fieldOf(bytes, line, field) {
  const text = bytes.toString('latin1').split('\n')[line - 1].replace(/\r$/, '');
  const fields = text.split(',');
  const column = 1 + fields.slice(0, field).reduce((sum, piece) => sum + piece.length + 1, 0);
  return { text: shownText(Buffer.from(fields[field], 'latin1')), bytes: fields[field].length, column, line: text };
}

// Bytes as the page shows them: UTF-8 where they are, else Windows-1252.
function decodedAsShown(bytes) {
  try {
    return new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
  } catch {
    // Node's own Windows-1252 decoder drops a leading 0xFF 0xFE; the example
    // files hold no byte from 0x80 to 0x9F, where Latin-1 differs from it.
    return Buffer.from(bytes).toString('latin1');
  }
}

// A cell's text as a person sees it: UTF-8 where the bytes are, else
// Windows-1252, with control bytes and a byte-order mark made visible.
function shownText(fieldBytes) {
  return decodedAsShown(fieldBytes).replace(/[\u0000-\u001f\u007f\ufeff]/g, (character) => {
    const code = character.charCodeAt(0);
    if (code === 0xfeff) {
      return '\u27e8BOM\u27e9';
    }
    return String.fromCharCode(code === 127 ? 0x2421 : 0x2400 + code);
  });
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
      text: element.textContent,
      invalid: element.getAttribute('aria-invalid'),
      marked: /cell-fault/.test(element.className),
    }));
    const where = `${fault.rule} at ${fault.line}:${fault.column}`;
    assert.equal(cell.line, fault.line, where);
    assert.equal(cell.field, fault.field, where);
    assert.ok(cell.marked, `${where}: the cell is marked`);
    if (fault.field >= 0) {
      const expected = fieldOf(bytes, fault.line, fault.field);
      assert.equal(cell.invalid, 'true', where);
      assert.equal(cell.text, expected.text, where);
      // A CONDITION code starts inside its field; every other fault at the field.
      assert.ok(fault.column >= expected.column && fault.column <= expected.column + expected.bytes, where);
    } else {
      assert.equal(cell.text, String(fault.line), where);
    }
    const detail = await page.textContent('#detail');
    assert.match(detail, /Fault/, where);
  }
}

describe('marlint.html', () => {
  test('is one file within 250 KB that works from disk and from a web server, without network', async () => {
    assert.ok((await stat(pagePath)).size <= 250 * 1024);
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
      const expected = decodedAsShown(await readFile(file.replace(/\.csv$/, '.expected')));
      const shown = await chooseFile(page, file);
      assert.equal(shown.resultText, expected, name);
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
      const expected = decodedAsShown(await readFile(file.replace(/\.csv$/, '.expected')));
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

  test('bytes that are not UTF-8 read as Windows-1252, and a byte-order mark kept, in the result text and the grid', async () => {
    const file = path.join(scratch, 'Latin1.csv');
    await writeFile(
      file,
      Buffer.concat([Buffer.from('2,3,False\r\nC,Temp1,SAMPLE,,500,MILLIM'), Buffer.from([0xc8]), Buffer.from('TRE,Path,,1,String,R,,100,\r\n')])
    );
    const { context, page, errors } = await freshPage();
    const shown = await chooseFile(page, file);
    assert.equal(shown.resultText, 'MILLIMÈTRE is illegal unit.');
    assert.deepEqual(shown.faults, [{ line: 2, column: 21, field: 5, rule: 'unit-name' }]);
    await page.click('[data-testid=fault]');
    assert.equal(await page.textContent('#grid-active-cell'), 'MILLIMÈTRE');

    // A byte-order mark stays in the result text, as the command writes it,
    // and shows in its cell.
    await writeFile(file, '\ufeff2,3,False\n');
    const marked = await chooseFile(page, file);
    assert.equal(marked.resultText, '\ufeff2,3,False is illegal PMC path num.');
    await page.click('[data-testid=fault]');
    assert.equal(await page.textContent('#grid-active-cell'), '⟨BOM⟩2');
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
    assert.equal(shown.resultText, text.slice(0, 2000));
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

    await page.evaluate(() => {
      document.querySelector('[data-testid=status]').textContent = '';
    });
    await page.click('#undo');
    assert.equal((await outcome(page)).resultText, 'MILLIMETER/SECOND is illegal unit.');
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

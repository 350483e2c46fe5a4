// Times marlint.html on the benchmark's file of 1,000,000 rows (the last row
// repeats a name, so every row is read) beside the native binary on the same
// file, taking turns, and prints the medians for bench/README.md.
//
//   node web/page/bench_page.mjs [RUNS] [NATIVE_BINARY]
//
// Page: from choosing the file to the result text and status on screen
// (reading, the first-fault check in the worker, drawing), in a fresh page
// each run, and again in the same page (module compiled, memory grown); then
// until every fault has been found. Native: the whole process, started and
// reaped, result text to /dev/null.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { launchBrowser, openPage, repositoryRoot } from './test/browser.mjs';

const runs = Number(process.argv[2] || 7);
const nativeBinary = process.argv[3] || path.join(repositoryRoot, 'build/release/marlint');

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function timeInPage(page, file) {
  await page.evaluate(() => {
    document.querySelector('[data-testid=status]').textContent = '';
    // As a click on the input does before the file chooser opens.
    document.querySelector('input[type=file]').value = '';
  });
  const started = performance.now();
  await page.setInputFiles('input[type=file]', file);
  await page.waitForFunction(() => document.querySelector('[data-testid=status]').textContent !== '', null, {
    timeout: 60000,
    polling: 'raf',
  });
  const resultShown = performance.now() - started;
  await page.waitForFunction(() => document.getElementById('progress').hidden, null, { timeout: 120000 });
  return { resultShown, everyFault: performance.now() - started };
}

function timeNative(file) {
  const started = performance.now();
  spawnSync(nativeBinary, [file], { stdio: 'ignore' });
  return performance.now() - started;
}

const folder = await mkdtemp(path.join(os.tmpdir(), 'marlint-page-bench-'));
const browser = await launchBrowser();
try {
  const file = path.join(folder, 'points-1000000.csv');
  execFileSync('python3', [
    '-c',
    'import sys; sys.path.insert(0, sys.argv[1]); import generate_points as g; ' +
      'g.write_point_file(sys.argv[2], 1000000, duplicate_last=True)',
    path.join(repositoryRoot, 'bench'),
    file,
  ]);
  const fresh = [];
  const warm = [];
  const every = [];
  const native = [];
  for (let run = 0; run < runs; ++run) {
    const { context, page } = await openPage(browser);
    const first = await timeInPage(page, file);
    const second = await timeInPage(page, file);
    await context.close();
    fresh.push(first.resultShown);
    warm.push(second.resultShown);
    every.push(second.everyFault);
    native.push(timeNative(file));
  }
  const format = (ms) => `${Math.round(ms)} ms`;
  console.log(`runs: ${runs}, load average: ${os.loadavg().map((load) => load.toFixed(2)).join(' ')}`);
  console.log('| page, fresh | page, same page again | page, every fault | native `marlint` | fresh / native | again / native |');
  console.log('|---:|---:|---:|---:|---:|---:|');
  console.log(
    `| ${format(median(fresh))} | ${format(median(warm))} | ${format(median(every))} | ${format(median(native))} | ` +
      `${(median(fresh) / median(native)).toFixed(1)} x | ${(median(warm) / median(native)).toFixed(1)} x |`
  );
} finally {
  await browser.close();
  await rm(folder, { recursive: true, force: true });
}

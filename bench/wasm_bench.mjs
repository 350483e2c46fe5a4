// Times the web build against the native program in one run, on the same
// files: the native program plain and with --all, the package's command
// under Node, check() in this Node process, and marlint.html in headless
// Chromium (to the result text and to every fault), with ratios to the
// native plain run; peak memory beside the times; and the sizes of the web
// build. With --old ROOT the same is timed for an older checkout built in
// ROOT (ROOT/build/release/marlint, ROOT/build/web), taking turns with this
// one, so that ratios between the two come from the same load.
//
//   node bench/wasm_bench.mjs [--runs 11] [--page-runs 5] [--old ROOT] [--no-page] [--keep-node-env]
//
// Needs the release and web presets (and, for the page, `cd web && npm ci`
// and chromium). The point files are bench/generate_points.py's, written
// into build/bench/ as run_bench.py writes them. check() is timed warm: the
// module is loaded and has checked the file twice before the timed runs;
// each timed check includes handing the bytes to the module. Processes are
// timed from start to end, output discarded; all commands take turns.

import {spawnSync} from "node:child_process";
import {existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, statSync} from "node:fs";
import {createRequire} from "node:module";
import os from "node:os";
import {dirname, join, resolve} from "node:path";
import {fileURLToPath, pathToFileURL} from "node:url";
import {gzipSync} from "node:zlib";

const repo = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(import.meta.url);

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at > 0 ? process.argv[at + 1] : fallback;
}

const runs = Number(option("--runs", "11"));
const pageRuns = Number(option("--page-runs", "5"));
const startRuns = 3 * runs;
const oldRoot = option("--old", null);
const withPage = !process.argv.includes("--no-page");

// Node reads and parses the certificates NODE_EXTRA_CA_CERTS names at every
// start, before any script runs: tens of milliseconds that belong to the
// machine's settings, not to Node or marlint. The processes timed here start
// without it unless --keep-node-env is given.
const keepNodeEnv = process.argv.includes("--keep-node-env");
const childEnv = {...process.env};
if (!keepNodeEnv) {
  delete childEnv.NODE_EXTRA_CA_CERTS;
}

// One build under test: the native binary, the web build and checker.js.
function buildAt(root, name) {
  const build = {
    name,
    native: join(root, "build/release/marlint"),
    web: join(root, "build/web"),
    checkerJs: join(root, "web/js/checker.js"),
  };
  for (const path of [build.native, join(build.web, "marlint-core.js"), join(build.web, "marlint.js")]) {
    if (!existsSync(path)) {
      throw new Error(`${path} not found: build the release and web presets in ${root}`);
    }
  }
  return build;
}

const builds = [buildAt(repo, "new"), ...(oldRoot ? [buildAt(resolve(oldRoot), "old")] : [])];

function median(samples) {
  const sorted = [...samples].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// The point files of run_bench.py, written when missing.
function pointFile(name, python) {
  const path = join(repo, "build/bench", name);
  if (!existsSync(path)) {
    mkdirSync(dirname(path), {recursive: true});
    const script = `import sys; sys.path.insert(0, "bench"); import generate_points; ${python}`;
    const written = spawnSync("/usr/bin/python3", ["-c", script.replace("PATH", JSON.stringify(path))], {cwd: repo});
    if (written.status !== 0) {
      throw new Error(`cannot write ${path}: ${written.stderr}`);
    }
  }
  return path;
}

function loadChecker(build) {
  const createMarlintModule = require(join(build.web, "marlint-core.js"));
  const source = readFileSync(build.checkerJs, "utf8");
  const createMarlintChecker = new Function(`${source}\nreturn createMarlintChecker;`)();
  return createMarlintChecker(createMarlintModule);
}

function millisecondsSince(start) {
  return Number(process.hrtime.bigint() - start) / 1e6;
}

function timeProcess(argv) {
  const start = process.hrtime.bigint();
  spawnSync(argv[0], argv.slice(1), {stdio: "ignore", env: childEnv});
  return millisecondsSince(start);
}

// Peak resident memory of a process in MiB, from GNU time; the median of three.
const scratch = mkdtempSync(join(os.tmpdir(), "marlint-wasm-bench-"));
function peakMemory(argv) {
  const report = join(scratch, "time");
  const samples = [];
  for (let i = 0; i < 3; ++i) {
    spawnSync("/usr/bin/time", ["-f", "%M", "-o", report, ...argv], {stdio: "ignore", env: childEnv});
    samples.push(Number(readFileSync(report, "utf8").trim().split("\n").pop()) / 1024);
  }
  return median(samples);
}

// A script for a Node process of its own that loads the checker, checks
// FILE once and prints how long the check took: the peak memory of check(),
// and its time in a fresh process, where the engine still compiles the hot
// code and the module's memory is new. With `pages`, the faults go to onPage
// and are dropped; with `all`, they are kept in `faults`.
const checkOnce = `
const {readFileSync} = require("node:fs");
const [core, checkerJs, file, how] = process.argv.slice(1);
const source = readFileSync(checkerJs, "utf8");
const checker = new Function(source + "\\nreturn createMarlintChecker;")()(require(core));
const options = how === "plain" ? {} : how === "pages" ? {every: true, onPage() {}} : {every: true};
const bytes = readFileSync(file);
checker.check("1,1,False\\n").then(() => {
  const start = process.hrtime.bigint();
  return checker.check(bytes, options).then((result) => {
    globalThis.kept = result;
    process.stdout.write(String(Number(process.hrtime.bigint() - start) / 1e6));
  });
});
`;

function checkOnceArgv(build, file, how) {
  return [process.execPath, "-e", checkOnce, join(build.web, "marlint-core.js"), build.checkerJs, file, how];
}

function timedFirstCheck(build, file) {
  return () => {
    const argv = checkOnceArgv(build, file, "plain");
    return Number(spawnSync(argv[0], argv.slice(1), {encoding: "utf8", env: childEnv}).stdout);
  };
}

// Times every command of `commands`, each a function returning milliseconds
// (or a promise of them), in turns; returns their medians.
async function inTurns(commands, count) {
  const samples = commands.map(() => []);
  for (let run = 0; run < count; ++run) {
    for (let i = 0; i < commands.length; ++i) {
      samples[i].push(await commands[i]());
    }
  }
  return samples.map(median);
}

function timedCheck(checker, bytes, options) {
  return async () => {
    const start = process.hrtime.bigint();
    await checker.check(bytes, options);
    return millisecondsSince(start);
  };
}

const ms = (value) => `${value.toFixed(1)} ms`;
const mib = (value) => `${value.toFixed(1)} MiB`;
const ratio = (value, base) => `${(value / base).toFixed(2)} x`;

function embeddedWasm(script) {
  const prefix = 'wasmBinaryFile="data:application/octet-stream;base64,';
  const start = script.indexOf(prefix) + prefix.length;
  const end = script.indexOf('"', start);
  return Buffer.from(script.slice(start, end), "base64");
}

function printSizes(build) {
  const kib = (size) => `${(size / 1024).toFixed(1)} KiB`;
  const core = readFileSync(join(build.web, "marlint-core.js"));
  const lines = [
    ["the checker's WebAssembly (embedded in marlint-core.js)", embeddedWasm(core.toString("latin1"))],
    ["build/web/marlint-core.js (checker, WebAssembly embedded)", core],
    ["build/web/marlint.js (the whole command for Node)", readFileSync(join(build.web, "marlint.js"))],
  ];
  if (existsSync(join(build.web, "marlint.wasm"))) {
    lines.push(["build/web/marlint.wasm (the command's WebAssembly)", readFileSync(join(build.web, "marlint.wasm"))]);
  }
  if (existsSync(join(build.web, "marlint.html"))) {
    lines.push(["build/web/marlint.html", readFileSync(join(build.web, "marlint.html"))]);
  }
  console.log(`\nSizes (${build.name}):\n\n| file | size | gzipped |\n|---|---:|---:|`);
  for (const [name, bytes] of lines) {
    console.log(`| ${name} | ${kib(bytes.length)} | ${kib(gzipSync(bytes, {level: 9}).length)} |`);
  }
}

// The page, from choosing the file to the result text and status on screen,
// and to every fault found (the progress bar gone), in a freshly opened page.
async function timePage(browser, openPage, pagePath, file) {
  const {context, page} = await openPage(browser, {url: pathToFileURL(pagePath).href});
  // Opened and idle: the worker has compiled the checker, as when a person
  // picks a file.
  await page.waitForTimeout(1000);
  const started = performance.now();
  await page.setInputFiles("input[type=file]", file);
  await page.waitForFunction(() => document.querySelector("[data-testid=status]").textContent !== "", null, {
    timeout: 120000,
    polling: "raf",
  });
  const resultShown = performance.now() - started;
  await page.waitForFunction(() => document.getElementById("progress").hidden, null, {
    timeout: 300000,
    polling: "raf",
  });
  const everyFault = performance.now() - started;
  await context.close();
  return {resultShown, everyFault};
}

async function main() {
  const load = () => os.loadavg().map((value) => value.toFixed(2)).join(" ");
  console.log(`Machine: ${os.cpus()[0].model}, ${os.cpus().length} cores, Node ${process.version}; ` +
    `load average before the run: ${load()}`);
  console.log(`Builds: ${builds.map((build) => `${build.name} ${dirname(dirname(build.web))}`).join(", ")}`);
  console.log(`${runs} timed runs each (${startRuns} for 100 rows, ${pageRuns} for the page), median`);
  if (process.env.NODE_EXTRA_CA_CERTS !== undefined) {
    console.log(keepNodeEnv
      ? "Node processes start with NODE_EXTRA_CA_CERTS as set here"
      : "Node processes start without NODE_EXTRA_CA_CERTS, which is set here (--keep-node-env keeps it)");
  }

  const rows = 1_000_000;
  const files = [
    ["acceptable", pointFile(`points_${rows}.csv`, `generate_points.write_point_file(PATH, ${rows})`)],
    ["duplicate name", pointFile(`points_${rows}_duplicate.csv`, `generate_points.write_point_file(PATH, ${rows}, True)`)],
  ];
  const small = pointFile("points_100.csv", "generate_points.write_point_file(PATH, 100)");
  const faultRows = 359_000;
  const faulty = pointFile(`points_${faultRows}_all_faulty.csv`,
    `generate_points.write_faulty_point_file(PATH, ${faultRows})`);
  const checkers = builds.map(loadChecker);

  // 1,000,000 rows: the native program, the command under Node, check().
  for (const [what, path] of files) {
    const bytes = readFileSync(path);
    for (const checker of checkers) {
      await checker.check(bytes);
      await checker.check(bytes, {every: true});
    }
    const commands = [];
    const names = [];
    builds.forEach((build, i) => {
      commands.push(() => timeProcess([build.native, path]));
      commands.push(() => timeProcess([build.native, "--all", path]));
      commands.push(() => timeProcess([process.execPath, join(build.web, "marlint.js"), path]));
      commands.push(timedCheck(checkers[i], bytes, {}));
      commands.push(timedCheck(checkers[i], bytes, {every: true}));
      commands.push(timedFirstCheck(build, path));
      names.push(...["native", "native --all", "Node command", "check()", "check({every})",
        "check(), first in a fresh process"].map((name) => `${build.name}: ${name}`));
    });
    const times = await inTurns(commands, runs);
    const memory = builds.flatMap((build) => [
      peakMemory([build.native, path]),
      peakMemory([build.native, "--all", path]),
      peakMemory([process.execPath, join(build.web, "marlint.js"), path]),
      peakMemory(checkOnceArgv(build, path, "plain")),
      peakMemory(checkOnceArgv(build, path, "every")),
      peakMemory(checkOnceArgv(build, path, "plain")),
    ]);
    console.log(`\n1,000,000 rows, ${what} (${(statSync(path).size / 1e6).toFixed(2)} MB), load ${load()}:\n`);
    console.log("| | time | / native | / old | peak memory | / native |\n|---|---:|---:|---:|---:|---:|");
    const per = names.length / builds.length;
    names.forEach((name, i) => {
      const base = Math.floor(i / per) * per;
      const old = builds.length > 1 && i < per ? ratio(times[i], times[i + per]) : "";
      console.log(`| ${name} | ${ms(times[i])} | ${ratio(times[i], times[base])} | ${old} | ` +
        `${mib(memory[i])} | ${ratio(memory[i], memory[base])} |`);
    });
  }

  // Start-up: the 100-row file, beside Node doing nothing.
  const startCommands = [() => timeProcess([process.execPath, "-e", "0"])];
  const startNames = ["node -e 0"];
  for (const build of builds) {
    startCommands.push(() => timeProcess([build.native, small]));
    startCommands.push(() => timeProcess([process.execPath, join(build.web, "marlint.js"), small]));
    startNames.push(`${build.name}: native`, `${build.name}: Node command`);
  }
  const startTimes = await inTurns(startCommands, startRuns);
  console.log(`\nStart-up, 100 rows, load ${load()}:\n\n| | time |\n|---|---:|`);
  startNames.forEach((name, i) => console.log(`| ${name} | ${ms(startTimes[i])} |`));

  // Many faults: every one handed over in pages and dropped, or kept.
  const faultyBytes = readFileSync(faulty);
  const faultCommands = [];
  const faultNames = [];
  builds.forEach((build, i) => {
    faultCommands.push(() => timeProcess([build.native, "--all", "--json", faulty]));
    faultCommands.push(timedCheck(checkers[i], faultyBytes, {every: true, onPage() {}}));
    faultCommands.push(timedCheck(checkers[i], faultyBytes, {every: true}));
    faultNames.push(...["native --all --json", "check({every, onPage})", "check({every}), faults kept"].map((name) =>
      `${build.name}: ${name}`));
  });
  const faultTimes = await inTurns(faultCommands, Math.max(3, Math.ceil(runs / 3)));
  const faultMemory = builds.flatMap((build) => [
    peakMemory([build.native, "--all", "--json", faulty]),
    peakMemory(checkOnceArgv(build, faulty, "pages")),
    peakMemory(checkOnceArgv(build, faulty, "all")),
  ]);
  console.log(`\n${faultRows.toLocaleString("en")} rows, each with a fault ` +
    `(${(statSync(faulty).size / 1e6).toFixed(2)} MB), load ${load()}; Node alone peaks at ` +
    `${mib(peakMemory([process.execPath, "-e", "0"]))}:\n`);
  console.log("| | time | / native | peak memory |\n|---|---:|---:|---:|");
  faultNames.forEach((name, i) => {
    const base = Math.floor(i / 3) * 3;
    console.log(`| ${name} | ${ms(faultTimes[i])} | ${ratio(faultTimes[i], faultTimes[base])} | ${mib(faultMemory[i])} |`);
  });

  if (withPage) {
    await benchPage(files);
  }
  builds.forEach(printSizes);
}

// The page in Chromium on the 1,000,000-row files, each build's page and
// native program taking turns.
async function benchPage(files) {
  let browserModule;
  try {
    browserModule = await import(pathToFileURL(join(repo, "web/page/test/browser.mjs")).href);
  } catch (error) {
    console.log(`\nThe page: skipped (${error.message.split("\n")[0]}; run \`cd web && npm ci\`).`);
    return;
  }
  const browser = await browserModule.launchBrowser();
  try {
    for (const [what, path] of files) {
      const samples = builds.map(() => ({result: [], every: [], native: []}));
      for (let run = 0; run < pageRuns; ++run) {
        for (let i = 0; i < builds.length; ++i) {
          const times = await timePage(browser, browserModule.openPage, join(builds[i].web, "marlint.html"), path);
          samples[i].result.push(times.resultShown);
          samples[i].every.push(times.everyFault);
          samples[i].native.push(timeProcess([builds[i].native, path]));
        }
      }
      console.log(`\nThe page, 1,000,000 rows, ${what}, load ${os.loadavg()[0].toFixed(2)}:\n`);
      console.log("| | to the result | to every fault | native | result / native | every fault / native |");
      console.log("|---|---:|---:|---:|---:|---:|");
      builds.forEach((build, i) => {
        const [result, every, native] = [median(samples[i].result), median(samples[i].every), median(samples[i].native)];
        console.log(`| ${build.name} | ${ms(result)} | ${ms(every)} | ${ms(native)} | ${ratio(result, native)} | ` +
          `${ratio(every, native)} |`);
      });
    }
  } finally {
    await browser.close();
  }
}

try {
  await main();
} finally {
  rmSync(scratch, {recursive: true, force: true});
}

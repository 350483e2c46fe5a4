// Times the WebAssembly checker (build/web/marlint-core.js with
// web/js/checker.js) in this Node process against the native binary on the
// same 1,000,000-row files, and prints the sizes of the web build.
//
//   node bench/wasm_bench.mjs [--native build/release/marlint] [--runs 11]
//
// Needs the web preset and a native build (the release preset by default).
// The point files come from bench/generate_points.py, written into
// build/bench/ as run_bench.py writes them. The checker is timed warm: the
// module is loaded and has checked the file twice before the timed runs.
// Each timed check includes copying the bytes into the module's memory. The
// native time is the whole process, started from here, output discarded;
// the two take turns.

import {spawnSync} from "node:child_process";
import {existsSync, mkdirSync, readFileSync, statSync} from "node:fs";
import {createRequire} from "node:module";
import {dirname, join, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {gzipSync} from "node:zlib";

const repo = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(import.meta.url);

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at > 0 ? process.argv[at + 1] : fallback;
}

const native = resolve(option("--native", join(repo, "build/release/marlint")));
const runs = Number(option("--runs", "11"));
const web = join(repo, "build/web");
const rows = 1_000_000;

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

function loadChecker() {
  const createMarlintModule = require(join(web, "marlint-core.js"));
  const source = readFileSync(join(repo, "web/js/checker.js"), "utf8");
  const createMarlintChecker = new Function(`${source}\nreturn createMarlintChecker;`)();
  return createMarlintChecker(createMarlintModule);
}

function millisecondsSince(start) {
  return Number(process.hrtime.bigint() - start) / 1e6;
}

// Native process and WebAssembly check take turns, so that a busy moment of
// a shared machine falls on both.
async function timedMedians(nativeArgs, checker, bytes, options) {
  const result = await checker.check(bytes, options);
  await checker.check(bytes, options);
  const nativeSamples = [];
  const wasmSamples = [];
  for (let i = 0; i < runs; ++i) {
    let start = process.hrtime.bigint();
    spawnSync(native, nativeArgs, {stdio: "ignore"});
    nativeSamples.push(millisecondsSince(start));
    start = process.hrtime.bigint();
    await checker.check(bytes, options);
    wasmSamples.push(millisecondsSince(start));
  }
  return {nativeTime: median(nativeSamples), wasmTime: median(wasmSamples), result};
}

function embeddedWasm(script) {
  const prefix = 'wasmBinaryFile="data:application/octet-stream;base64,';
  const start = script.indexOf(prefix) + prefix.length;
  const end = script.indexOf('"', start);
  return Buffer.from(script.slice(start, end), "base64");
}

function kilobytes(size) {
  return `${(size / 1024).toFixed(1)} KiB`;
}

function printSizes() {
  const core = readFileSync(join(web, "marlint-core.js"));
  const wasm = embeddedWasm(core.toString("latin1"));
  const lines = [
    ["WebAssembly of the checker (embedded)", wasm],
    ["build/web/marlint-core.js (checker, wasm embedded)", core],
    ["build/web/marlint.js (the whole command, wasm embedded)", readFileSync(join(web, "marlint.js"))],
  ];
  const version = /project\(marlint VERSION ([0-9.]+)/.exec(readFileSync(join(repo, "CMakeLists.txt"), "utf8"))[1];
  const tarball = join(web, `marlint-${version}.tgz`);
  if (existsSync(tarball)) {
    lines.push([`build/web/marlint-${version}.tgz (npm package, already gzipped)`, readFileSync(tarball)]);
  }
  if (existsSync(join(web, "marlint.html"))) {
    lines.push(["build/web/marlint.html", readFileSync(join(web, "marlint.html"))]);
  }
  console.log("| file | size | gzipped |\n|---|---:|---:|");
  for (const [name, bytes] of lines) {
    console.log(`| ${name} | ${kilobytes(bytes.length)} | ${kilobytes(gzipSync(bytes, {level: 9}).length)} |`);
  }
}

async function main() {
  printSizes();
  const checker = loadChecker();
  const files = [
    ["acceptable", pointFile(`points_${rows}.csv`, `generate_points.write_point_file(PATH, ${rows})`), {}],
    ["duplicate name", pointFile(`points_${rows}_duplicate.csv`, `generate_points.write_point_file(PATH, ${rows}, True)`), {}],
    ["every row faulty, --all", pointFile(`points_${rows}_all_faulty.csv`, `generate_points.write_faulty_point_file(PATH, ${rows})`), {every: true, onPage() {}}],
  ];
  console.log(`\n${runs} timed runs each, median; native: ${native}\n`);
  console.log("| 1,000,000 rows | file size | native marlint | wasm check() in Node, warm | wasm / native |");
  console.log("|---|---:|---:|---:|---:|");
  for (const [what, path, options] of files) {
    const bytes = readFileSync(path);
    const nativeArgs = options.every ? ["--all", "--json", path] : [path];
    const {nativeTime, wasmTime, result} = await timedMedians(nativeArgs, checker, bytes, options);
    console.log(
      `| ${what} (${result.resultText.slice(0, 40)}) | ${(statSync(path).size / 1e6).toFixed(2)} MB | ` +
        `${nativeTime.toFixed(1)} ms | ${wasmTime.toFixed(1)} ms | ${(wasmTime / nativeTime).toFixed(2)} x |`);
  }
}

await main();

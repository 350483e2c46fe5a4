// The npm package against the native program: the packed tarball is
// installed into an empty folder, and its check() and its marlint command
// must give the native result bytes, status and `--all --json` report on the
// bundled examples, the fuzz corpus and a few thousand generated files; its
// fix() and `marlint --fix=OUT` the bytes native `--fix=OUT` writes.
//
//   node --test web/test/
//
// Needs the native build (cmake --workflow --preset test) and the web build
// (cmake --workflow --preset web). MARLINT_NATIVE, MARLINT_GENERATOR and
// MARLINT_TARBALL name other builds; MARLINT_GENERATED_ROUNDS sets how many
// rounds of generated files (one valid file and one per fault kind each).

import assert from "node:assert/strict";
import {execFileSync, spawn, spawnSync} from "node:child_process";
import {existsSync, mkdtempSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync} from "node:fs";
import {tmpdir} from "node:os";
import {dirname, join, resolve} from "node:path";
import {after, before, describe, test} from "node:test";
import {fileURLToPath, pathToFileURL} from "node:url";
import {isDeepStrictEqual} from "node:util";

const repo = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
const version = /project\(marlint VERSION ([0-9.]+)/.exec(readFileSync(join(repo, "CMakeLists.txt"), "utf8"))[1];
const native = process.env.MARLINT_NATIVE || join(repo, "build/debug/marlint");
const generator = process.env.MARLINT_GENERATOR || join(repo, "build/debug/tools/generate_point_files");
const tarball = process.env.MARLINT_TARBALL || join(repo, `build/web/marlint-${version}.tgz`);
const generatedRounds = Number(process.env.MARLINT_GENERATED_ROUNDS || 100);
// The command starts Node and the module for every run; every this-many-th
// generated file is enough to show it is the same program.
const commandEveryNth = 16;

let scratch;
let installed;
let check;
let fix;
let command;
let generatedFiles;

function csvFilesIn(folder) {
  return readdirSync(folder)
    .sort()
    .map((name) => join(folder, name))
    .filter((path) => !path.endsWith(".expected"));
}

// stdout, stderr and exit status of one run, like `spawnSync`, but without
// blocking, so that two runs can share the two cores.
function run(program, args, {input, cwd} = {}) {
  return new Promise((resolvePromise, reject) => {
    const child = spawn(program, args, {cwd, stdio: [input === undefined ? "ignore" : "pipe", "pipe", "pipe"]});
    const stdout = [];
    const stderr = [];
    child.stdout.on("data", (chunk) => stdout.push(chunk));
    child.stderr.on("data", (chunk) => stderr.push(chunk));
    child.on("error", reject);
    child.on("close", (status) =>
      resolvePromise({stdout: Buffer.concat(stdout), stderr: Buffer.concat(stderr), status}));
    if (input !== undefined) {
      child.stdin.end(input);
    }
  });
}

async function inPairs(items, work) {
  let next = 0;
  const worker = async () => {
    while (next < items.length) {
      await work(items[next++]);
    }
  };
  await Promise.all([worker(), worker()]);
}

function nativeReport(path) {
  const completed = spawnSync(native, ["--all", "--json", path], {maxBuffer: 1 << 30});
  return {
    resultBytes: completed.stderr,
    status: completed.status,
    faults: completed.stdout.toString("utf8").split("\n").filter(Boolean).map((line) => JSON.parse(line)),
  };
}

before(() => {
  for (const [what, path] of [["native marlint", native], ["generator", generator], ["npm tarball", tarball]]) {
    assert.ok(existsSync(path), `${what} not found at ${path}: build the test and web presets first`);
  }
  scratch = mkdtempSync(join(tmpdir(), "marlint-npm-"));

  // Installed as a user would: an empty project, npm install of the tarball.
  installed = join(scratch, "project");
  mkdirSync(installed);
  writeFileSync(join(installed, "package.json"), JSON.stringify({name: "uses-marlint", private: true}));
  execFileSync("npm", ["install", "--no-audit", "--no-fund", "--offline", "--loglevel=error", tarball], {
    cwd: installed,
    stdio: ["ignore", "ignore", "inherit"],
  });
  writeFileSync(join(installed, "uses.mjs"), 'export {check, fix} from "marlint";\n');
  command = join(installed, "node_modules/.bin/marlint");

  const generated = join(scratch, "generated");
  mkdirSync(generated);
  execFileSync(generator, [generated, String(generatedRounds), "17"]);
  generatedFiles = csvFilesIn(generated);
});

before(async () => {
  ({check, fix} = await import(pathToFileURL(join(installed, "uses.mjs")).href));
});

after(() => {
  if (scratch) {
    rmSync(scratch, {recursive: true, force: true});
  }
});

function examples() {
  return [join(repo, "examples/points.csv"), ...csvFilesIn(join(repo, "examples/faulty"))];
}

function fuzzCorpus() {
  return csvFilesIn(join(repo, "fuzz/corpus"));
}

describe("check() from the installed package", () => {
  async function compareWithNative(paths) {
    for (const path of paths) {
      const expected = nativeReport(path);
      const bytes = readFileSync(path);
      const every = await check(bytes, {every: true, fileName: path});
      assert.deepEqual(Buffer.from(every.resultBytes), expected.resultBytes, path);
      assert.equal(every.status, expected.status === 0 ? 0 : -1, path);
      assert.equal(every.faultCount, expected.faults.length, path);
      assert.deepEqual(every.faults, expected.faults, path);

      const first = await check(bytes);
      assert.deepEqual(first.resultBytes, every.resultBytes, path);
      // The first fault alone, then perhaps a note, as with --json.
      const errors = first.faults.filter((fault) => fault.severity === "error");
      assert.equal(errors.length, every.status === 0 ? 0 : 1, path);
      // One reading of the bytes for both, whatever bytes the file holds.
      assert.equal(first.resultText, errors.length > 0 ? errors[0].message : "OK", path);
      if (errors.length > 0) {
        // Named "<stdin>" by default; otherwise one of the faults of --all.
        const named = {...errors[0], file: path};
        assert.equal(errors[0].file, "<stdin>", path);
        assert.ok(every.faults.some((fault) => isDeepStrictEqual(fault, named)), path);
      }
    }
  }

  test("the examples", () => compareWithNative(examples()));
  test("the fuzz corpus", () => compareWithNative(fuzzCorpus()));
  test("generated files", async () => {
    assert.ok(generatedFiles.length >= 21 * generatedRounds);
    await compareWithNative(generatedFiles);
  });

  test("a name is suggested only when no row past the first block read uses it", async () => {
    // The rows after the method point fill more than the 64 KiB the module
    // reads at a time, so the look ahead reads on and sets the place back.
    const rows = Array.from({length: 1500}, (_, i) => `C,Temp${i},SAMPLE,,100,CELSIUS,Path,CNC path 1,1,String,R,,100,`);
    const withoutLater = ["1,1,False", "D,ReadMode1,,,,,,,,,,,,", ...rows, "D,ReadModes,,,,,,,,,,,,"].join("\n");
    const withLater = withoutLater.replace("D,ReadModes,", "D,ReadMode,");
    const paths = [["suggested", withoutLater], ["used later", withLater]].map(([name, text]) => {
      const path = join(scratch, `look-ahead-${name.replace(" ", "-")}.csv`);
      writeFileSync(path, text);
      return path;
    });
    await compareWithNative(paths);
    const suggested = await check(readFileSync(paths[0]), {every: true});
    const usedLater = await check(readFileSync(paths[1]), {every: true});
    assert.deepEqual(suggested.faults[0].suggestions, ["ReadMode"]);
    assert.deepEqual(usedLater.faults[0].suggestions, []);
  });

  test("a string is checked as its UTF-8 bytes", async () => {
    const text = "1,1,False\nC,Größe_1,SAMPLE,,500,MILLIMETER,Path,PMC path 1,6,String,R,D,100,\n";
    const fromText = await check(text, {every: true});
    const fromBytes = await check(new TextEncoder().encode(text), {every: true});
    assert.deepEqual(fromText, fromBytes);
    assert.equal(fromText.status, -1);
  });

  test("faults in pages are the faults all at once", async () => {
    const rows = Array.from({length: 2500}, (_, i) => `C,Bad name ${i},SAMPLE,,500,NONE,Path,PMC path 1,6,String,R,D,100,`);
    const text = ["1,1,False", ...rows].join("\n");
    const whole = await check(text, {every: true});
    const pages = [];
    const paged = await check(text, {every: true, pageSize: 1000, onPage: (page) => pages.push(page)});
    assert.equal(whole.faultCount, 2500);
    assert.equal(paged.faultCount, 2500);
    assert.equal(paged.faults, undefined);
    assert.deepEqual(pages.map((page) => page.length), [1000, 1000, 500]);
    assert.deepEqual(pages.flat(), whole.faults);
    assert.deepEqual(paged.resultBytes, whole.resultBytes);
  });

  test("a check after one that stopped in the middle runs in a fresh module", async () => {
    const text = "1,1,False\nC,x\nC,y\n";
    await assert.rejects(
      check(text, {every: true, pageSize: 1, onPage: () => {
        throw new Error("receiver failed");
      }}),
      /receiver failed/);
    const after = await check(text, {every: true});
    assert.equal(after.faultCount, 2);
    assert.equal(after.resultText, "C,x is illegal format.");
  });

  test("wrong arguments are refused before the check", async () => {
    await assert.rejects(check(42), TypeError);
    await assert.rejects(check("", {pageSize: 0}), RangeError);
    await assert.rejects(check("", {onPage: "no"}), TypeError);
  });
});

describe("fix() from the installed package", () => {
  test("gives the bytes --fix=OUT writes and the faults it reports", async () => {
    const out = join(scratch, "fixed.csv");
    const sample = generatedFiles.filter((_, i) => i % commandEveryNth === 0);
    for (const path of [...examples(), ...sample]) {
      rmSync(out, {force: true});
      const completed = spawnSync(native, ["--json", `--fix=${out}`, path], {maxBuffer: 1 << 30});
      // The report names the fixed faults by the point file, the rest by OUT.
      const report = completed.stdout.toString("utf8").split("\n").filter(Boolean)
        .map((line) => ({...JSON.parse(line), file: path}));
      const fixed = await fix(readFileSync(path), {fileName: path});
      assert.deepEqual(Buffer.from(fixed.bytes), readFileSync(out), path);
      assert.deepEqual([...fixed.applied, ...fixed.remaining], report, path);
      assert.ok(fixed.applied.every((fault) => fault.severity === "fixed"), path);
      const again = await fix(fixed.bytes);
      assert.deepEqual(again.bytes, fixed.bytes, path);
      assert.deepEqual(again.applied, [], path);
    }
  });

  test("wrong arguments are refused", async () => {
    await assert.rejects(fix(42), TypeError);
  });
});

describe("the marlint command from the installed package", () => {
  // Runs native marlint and the package's command the same way; the bytes on
  // both streams, the result file and the exit status must agree.
  async function compareRuns(args, {input, resultFile} = {}) {
    const outcomes = [];
    for (const program of [native, command]) {
      if (resultFile) {
        rmSync(resultFile, {force: true});
      }
      const outcome = await run(program, args, {input, cwd: scratch});
      if (resultFile) {
        outcome.resultFile = existsSync(resultFile) ? readFileSync(resultFile) : null;
      }
      outcomes.push(outcome);
    }
    assert.deepEqual(outcomes[1], outcomes[0], `marlint ${args.join(" ")}`);
  }

  async function compareFile(path) {
    await compareRuns([path]);
    await compareRuns(["--all", "--json", path]);
  }

  test("the examples, by name, from standard input and with a result file", async () => {
    const resultFile = join(scratch, "result");
    await inPairs(examples(), compareFile);
    for (const path of examples()) {
      await compareRuns(["-"], {input: readFileSync(path)});
      await compareRuns(["--all", "-"], {input: readFileSync(path)});
      await compareRuns([path, resultFile], {resultFile});
    }
  });

  test("--fix=OUT and --diff, by name and from standard input", async () => {
    const out = join(scratch, "fixed.csv");
    for (const path of examples()) {
      await compareRuns([`--fix=${out}`, path], {resultFile: out});
      await compareRuns(["--json", `--fix=${out}`, path], {resultFile: out});
      await compareRuns([`--fix=${out}`, "-"], {input: readFileSync(path), resultFile: out});
      await compareRuns(["--diff", path]);
    }
    // OUT that is the point file itself, or that cannot be written.
    const valid = join(repo, "examples/points.csv");
    await compareRuns([`--fix=${valid}`, valid]);
    await compareRuns([`--fix=${join(scratch, "no/such/folder/fixed.csv")}`, valid]);
  });

  test("generated files and the fuzz corpus", async () => {
    const sample = generatedFiles.filter((_, i) => i % commandEveryNth === 0);
    await inPairs([...sample, ...fuzzCorpus().filter((_, i) => i % commandEveryNth === 0)], compareFile);
  });

  test("usage, options, and files that do not open", async () => {
    const valid = join(repo, "examples/points.csv");
    for (const args of [
      [],
      ["a", "b", "c"],
      ["--help"],
      ["--version"],
      ["--no-such-option", valid],
      [join(scratch, "missing.csv")],
      ["--all", "--json", join(scratch, "missing.csv")],
      ["--all", repo],
      [valid, join(scratch, "no/such/folder/result")],
      [valid, scratch],
    ]) {
      await compareRuns(args);
    }
  });

  test("npx runs the installed command", () => {
    const completed = spawnSync("npx", ["--no-install", "marlint", join(repo, "examples/faulty/unit-spelling.csv")], {
      cwd: installed,
    });
    assert.equal(completed.status, 255);
    assert.equal(completed.stderr.toString(), "MILLIMETER/SECOND is illegal unit.");
  });
});

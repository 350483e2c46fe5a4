// checker.js over a module that may use only 64 MiB: a line too long to
// hold, and a file whose names fill the memory in the middle of the check,
// are reported as running out of memory, and the next check still works.
// The file itself is read in blocks and never held whole.
//
//   node --test web/test/   (after cmake --workflow --preset web)

import assert from "node:assert/strict";
import {existsSync, readFileSync} from "node:fs";
import {createRequire} from "node:module";
import {dirname, join, resolve} from "node:path";
import {test} from "node:test";
import {fileURLToPath} from "node:url";

const repo = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
const smallCore = join(repo, "build/web/test/marlint-core-64mib.js");

function smallChecker() {
  assert.ok(existsSync(smallCore), `${smallCore} not found: build the web preset first`);
  const createMarlintModule = createRequire(import.meta.url)(smallCore);
  const source = readFileSync(join(repo, "web/js/checker.js"), "utf8");
  return new Function(`${source}\nreturn createMarlintChecker;`)()(createMarlintModule);
}

const outOfMemory = {message: /^marlint: not enough memory to check \d+ bytes/};

test("running out of memory is an error, and the next check runs", async () => {
  const checker = smallChecker();

  await assert.rejects(checker.check(new Uint8Array(80 << 20)), outOfMemory);
  assert.equal((await checker.check("1,1,False\n")).resultText, "OK");

  // 72 MiB of rows with distinct names of a kilobyte each ("D" names have
  // no length limit): every line fits, the names do not.
  const suffix = "x".repeat(1024);
  const rows = ["1,1,False"];
  for (let i = 0; rows.length < 72 * 1024; ++i) {
    rows.push(`D,ReadMode_${i}${suffix},,,,,,,,,,,,`);
  }
  await assert.rejects(checker.check(rows.join("\n")), outOfMemory);
  const after = await checker.check("1,1,False\nC,x\n");
  assert.equal(after.resultText, "C,x is illegal format.");
  assert.equal(after.status, -1);
});

test("a host without WebAssembly SIMD is told so", async () => {
  const source = readFileSync(join(repo, "web/js/checker.js"), "utf8");
  const withoutSimd = {validate: () => false};
  const checker = new Function("WebAssembly", `${source}\nreturn createMarlintChecker;`)(withoutSimd)(() => {
    throw new Error("the module must not be loaded");
  });
  await assert.rejects(checker.check("1,1,False\n"), {message: /^marlint: this browser or Node has no WebAssembly SIMD/});
});

// index.d.ts under TypeScript's own compiler in strict mode: the examples in
// the READMEs compile as written, and the types say what check() gives,
// with and without onPage, and what fix() gives (each @ts-expect-error line
// must be an error).
//
//   node --test web/test/types.test.mjs   (after cd web && npm ci)

import assert from "node:assert/strict";
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from "node:fs";
import {createRequire} from "node:module";
import {tmpdir} from "node:os";
import {dirname, join, resolve} from "node:path";
import {test} from "node:test";
import {fileURLToPath} from "node:url";

const repo = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
const ts = createRequire(import.meta.url)("typescript");

// The README code that uses the package: each ```js block importing "marlint".
function readmeExamples() {
  const examples = [];
  for (const readme of ["README.md", "web/npm/README.md"]) {
    const text = readFileSync(join(repo, readme), "utf8");
    for (const [, code] of text.matchAll(/```js\n([\s\S]*?)```/g)) {
      if (code.includes('from "marlint"')) {
        examples.push({name: readme, code});
      }
    }
  }
  return examples;
}

const TYPED_USES = `
import {check, fix, type CheckOptions, type Fault} from "marlint";

const bytes = new Uint8Array(0);

const whole = await check(bytes, {every: true});
const faults: Fault[] = whole.faults;
const causes: string[] = faults[0].causes;
const text: string = whole.resultText;
const status: 0 | -1 = whole.status;
const first = await check("1,1,False\\n");
first.faults.length;

const paged = await check(bytes, {every: true, onPage: (page) => page.map((fault) => fault.rule)});
const none: undefined = paged.faults;
// @ts-expect-error: with onPage the faults went to onPage
paged.faults.length;

declare const options: CheckOptions;
const either = await check(bytes, options);
// @ts-expect-error: without knowing whether onPage is given, faults may be undefined
either.faults.length;

// @ts-expect-error: a number is no point file
await check(42);
// @ts-expect-error: onPage takes a function
await check(bytes, {onPage: "no"});

const fixed = await fix(bytes, {fileName: "points.csv"});
const fixedBytes: Uint8Array = fixed.bytes;
const left: Fault[] = fixed.remaining;
const sure: "certain" | "maybe" = fixed.applied[0].fixes[0].applicability;
const offset: number = fixed.applied[0].fixes[0].edits[0].offset;
// @ts-expect-error: a fault is fixed, an error or a note, nothing else
const severity: "error" | "note" = fixed.applied[0].severity;
// @ts-expect-error: fix() hands over every fault at once
await fix(bytes, {onPage: () => {}});

export {faults, causes, text, status, none, fixedBytes, left, sure, offset, severity};
`;

// Just enough of Node's types for the examples, which read a file and log.
const NODE_TYPES = `
declare const console: {log(...data: unknown[]): void};
declare module "node:fs/promises" {
  export function readFile(path: string): Promise<Uint8Array>;
  export function writeFile(path: string, data: Uint8Array): Promise<void>;
}
`;

test("index.d.ts in strict mode: the README examples and what check() resolves to", () => {
  const examples = readmeExamples();
  assert.ok(examples.length >= 2, "the READMEs show check() in use");
  const folder = mkdtempSync(join(tmpdir(), "marlint-types-"));
  try {
    const files = [join(folder, "node.d.ts"), join(folder, "uses.ts")];
    writeFileSync(files[0], NODE_TYPES);
    writeFileSync(files[1], TYPED_USES);
    examples.forEach((example, i) => {
      const file = join(folder, `example${i}.ts`);
      writeFileSync(file, `// from ${example.name}\n${example.code}\nexport {};\n`);
      files.push(file);
    });
    const program = ts.createProgram(files, {
      strict: true,
      noEmit: true,
      target: ts.ScriptTarget.ES2022,
      module: ts.ModuleKind.ES2022,
      moduleResolution: ts.ModuleResolutionKind.Bundler,
      lib: ["lib.es2022.d.ts"],
      types: [],
      baseUrl: folder,
      paths: {marlint: [join(repo, "web/npm/index.d.ts")]},
    });
    const diagnostics = ts.getPreEmitDiagnostics(program).map((diagnostic) => {
      const where = diagnostic.file
        ? `${diagnostic.file.fileName}:${diagnostic.file.getLineAndCharacterOfPosition(diagnostic.start).line + 1}: `
        : "";
      return where + ts.flattenDiagnosticMessageText(diagnostic.messageText, "\n");
    });
    assert.deepEqual(diagnostics, []);
  } finally {
    rmSync(folder, {recursive: true, force: true});
  }
});

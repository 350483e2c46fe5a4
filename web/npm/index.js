// marlint for Node: checks point file bytes or text in this process with the
// checker of the command line, compiled to WebAssembly. The result text, the
// status and the fault objects are those of `marlint` and `marlint --json`.
//
//   import {check, fix} from "marlint";
//   const {resultText, status, faults} = await check(bytes, {every: true});
//   const {bytes: fixedBytes, applied, remaining} = await fix(bytes);

import {createRequire} from "node:module";

const require = createRequire(import.meta.url);
const createMarlintModule = require("./marlint-core.cjs");
const {createMarlintChecker} = require("./checker.cjs");

const checker = createMarlintChecker(createMarlintModule);

// Checks `input`, a Uint8Array (a Buffer is one) or a string encoded as
// UTF-8. Options: `every` goes on after the first fault, as --all does;
// `fileName` is the "file" of each fault (default "<stdin>"); `onPage`
// receives the faults in arrays of `pageSize` (default 1000) as they are
// found, and `faults` is then undefined.
export function check(input, options = {}) {
  return checker.check(input, options);
}

// Applies every certain fix to `input`, as `marlint --fix=OUT` does, and
// resolves to {bytes, applied, remaining}: the fixed bytes, the faults the
// fixes removed and every fault and note left in the fixed bytes. Option:
// `fileName`, the "file" of each fault (default "<stdin>").
export function fix(input, options = {}) {
  return checker.fix(input, options);
}

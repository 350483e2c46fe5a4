// Runs before the `marlint` command's emscripten script under Node: hands it
// its WebAssembly, the file of the same name beside the script. Left to
// itself, this emscripten would fetch() the file, which Node's fetch cannot.
Module["wasmBinary"] = require("fs").readFileSync(
  require("path").join(__dirname, require("path").basename(__filename).replace(/\.c?js$/, ".wasm")));

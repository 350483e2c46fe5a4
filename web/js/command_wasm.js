// Runs before the `marlint` command's emscripten script under Node: hands it
// its WebAssembly, the file of the same name beside the script. Left to
// itself, this emscripten would fetch() the file, which Node's fetch cannot.
Module["wasmBinary"] = require("fs").readFileSync(
  require("path").join(__dirname, require("path").basename(__filename).replace(/\.c?js$/, ".wasm")));

// The run needs a few random bytes to seed its name hash. Node's global
// `crypto` loads its Web Crypto layer on first use, a few milliseconds of a
// run on a small file; /dev/urandom gives the bytes at once. Where there is
// none (Windows), Node's crypto module fills them.
var crypto = {
  getRandomValues(array) {
    const fs = require("fs");
    try {
      const device = fs.openSync("/dev/urandom", "r");
      try {
        if (fs.readSync(device, array, 0, array.length, null) === array.length) {
          return array;
        }
      } finally {
        fs.closeSync(device);
      }
    } catch (error) {
      // no /dev/urandom: fall through
    }
    return require("crypto").randomFillSync(array);
  },
};

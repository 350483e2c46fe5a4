// The marlint checker over its WebAssembly module (build/web/marlint-core.js).
// A plain script without import or export, so that the page, a Worker and the
// npm package can each take it in as they load scripts.
//
//   const checker = createMarlintChecker(createMarlintModule);
//   const result = await checker.check(fileBytes, {every: true});
//   // result.resultText: "OK" or the message the command line gives
//   // result.status: 0 or -1; result.faults: the `marlint --json` objects
//
// check(input, options) takes a Uint8Array, or a string that it encodes as
// UTF-8, and resolves to
//   {resultText, resultBytes, status, faultCount, faults}
// where resultBytes is the result text byte for byte and resultText the
// same read as the JSON report reads it: UTF-8, and each byte outside
// well-formed UTF-8 as the character of the same value (U+0080 to U+00FF),
// so resultText is the message of the first fault, character for character.
// with options
//   every     go on after the first fault, as --all does (default false)
//   fileName  the "file" of each fault object (default "<stdin>", the name
//             the command line gives standard input)
//   pageSize  faults per page (default 1000)
//   onPage    when given, receives the faults as they are found, an array of
//             at most pageSize objects at a time, and `faults` is undefined:
//             a file with a million faults is then never held at once.
//
// fix(input, options) applies every certain fix, as `marlint --fix=OUT`
// does, and resolves to {bytes, applied, remaining}: the fixed bytes, the
// faults the fixes removed (severity "fixed", each with the fix applied, at
// its place in the input) and every fault and note of the fixed bytes, all
// as `--json` objects; its one option is fileName.
//
// Checks and fixes run one after another; each is synchronous inside the
// module.
//
// When the module stops (it ran out of memory, or onPage threw), check or
// fix rejects with an Error saying so, and the next one runs in a fresh
// module.

function createMarlintChecker(createModule) {
  "use strict";

  const encoder = new TextEncoder();
  const jsonDecoder = new TextDecoder("utf-8", {fatal: true});
  // A byte-order mark is part of the text, as in the report.
  const strictDecoder = new TextDecoder("utf-8", {fatal: true, ignoreBOM: true});
  const defaultPageSize = 1000;
  const largestPageSize = 0x7fffffff;

  let loading = null;

  // The module uses 128-bit WebAssembly SIMD, which every current browser
  // and Node has; this module of one SIMD function tells whether this one
  // does, so that an old browser gets a sentence rather than a compile error.
  const simdProbe = new Uint8Array([
    0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11,
  ]);

  function load() {
    if (!WebAssembly.validate(simdProbe)) {
      return Promise.reject(new Error(
        "marlint: this browser or Node has no WebAssembly SIMD, which the checker needs " +
        "(Chrome and Edge 91, Firefox 89, Safari 16.4 and Node 16.4 have it)"));
    }
    // The module's own messages (such as "Aborted()") stay off the console:
    // the error check rejects with says what happened.
    loading = createModule({print() {}, printErr() {}});
    // A failed load is reported by the check that waited for it; the next
    // check tries again.
    loading.catch(() => {
      loading = null;
    });
    return loading;
  }

  function pageSizeOf(options) {
    const pageSize = options.pageSize === undefined ? defaultPageSize : options.pageSize;
    if (!Number.isInteger(pageSize) || pageSize < 1 || pageSize > largestPageSize) {
      throw new RangeError("marlint: pageSize must be a whole number from 1 up");
    }
    return pageSize;
  }

  function bytesOf(input) {
    if (typeof input === "string") {
      return encoder.encode(input);
    }
    // Also a Uint8Array made in another window, Worker or Node context.
    if (ArrayBuffer.isView(input) && input[Symbol.toStringTag] === "Uint8Array") {
      return input;
    }
    throw new TypeError("marlint: check takes a Uint8Array or a string");
  }

  // The length of the well-formed UTF-8 sequence at `bytes[at]`, or 0: a
  // stray continuation byte, a truncated, overlong or surrogate sequence,
  // or one beyond U+10FFFF.
  function sequenceLength(bytes, at) {
    const lead = bytes[at];
    if (lead < 0x80) {
      return 1;
    }
    let length = 0;
    let low = 0x80;
    let high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
      length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
      length = 3;
      low = lead === 0xe0 ? 0xa0 : 0x80;
      high = lead === 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
      length = 4;
      low = lead === 0xf0 ? 0x90 : 0x80;
      high = lead === 0xf4 ? 0x8f : 0xbf;
    } else {
      return 0;
    }
    if (at + length > bytes.length || bytes[at + 1] < low || bytes[at + 1] > high) {
      return 0;
    }
    for (let i = 2; i < length; ++i) {
      if (bytes[at + i] < 0x80 || bytes[at + i] > 0xbf) {
        return 0;
      }
    }
    return length;
  }

  // Bytes as the report's JSON strings hold them: UTF-8 where well-formed,
  // any other byte as the character of its value.
  function textOf(bytes) {
    try {
      return strictDecoder.decode(bytes);
    } catch (notUtf8) {
      const parts = [];
      let runStart = 0;
      for (let at = 0; at < bytes.length;) {
        const length = sequenceLength(bytes, at);
        if (length > 0) {
          at += length;
          continue;
        }
        parts.push(strictDecoder.decode(bytes.subarray(runStart, at)), String.fromCharCode(bytes[at]));
        runStart = ++at;
      }
      parts.push(strictDecoder.decode(bytes.subarray(runStart)));
      return parts.join("");
    }
  }

  // A piece of a page: one JSON array of the `--json` objects.
  function parseFaults(module, address, size) {
    return JSON.parse(jsonDecoder.decode(module.HEAPU8.subarray(address, address + size)));
  }

  // Copies `bytes` into the module's memory, NUL-terminated; 0 when the
  // memory cannot grow that far (the module itself is still sound then).
  function copyIn(module, bytes) {
    const address = module._malloc(bytes.length + 1);
    if (address !== 0) {
      module.HEAPU8.set(bytes, address);
      module.HEAPU8[address + bytes.length] = 0;
    }
    return address;
  }

  // The module reads the point file in blocks, as the command line reads a
  // file, so its memory never holds the whole file beside the caller's copy.
  // It may set the place back, as after looking ahead at the later rows.
  function blockReader(module, bytes) {
    let offset = 0;
    return {
      read(address, size) {
        const count = Math.min(size, bytes.length - offset);
        // HEAPU8 is looked up each time: it is replaced when the memory grows.
        module.HEAPU8.set(bytes.subarray(offset, offset + count), address);
        offset += count;
        return count;
      },
      // `whence` as for fseek: 0 from the start, 1 from here, 2 from the end.
      seek(to, whence) {
        const place = to + (whence === 0 ? 0 : whence === 1 ? offset : bytes.length);
        if (!(place >= 0 && place <= bytes.length)) {
          return -1;
        }
        offset = place;
        return place;
      },
    };
  }

  function outOfMemory(size) {
    return new Error(
      "marlint: not enough memory to check " + size + " bytes in this browser or Node process");
  }

  // The error for a module that stopped in the middle of a check: the
  // binding says when it was for memory it could not get.
  function stoppedError(module, cause, size) {
    const error = module.marlintOutOfMemory
      ? outOfMemory(size)
      : new Error("marlint: the checker stopped: " + (cause instanceof Error ? cause.message : cause));
    error.cause = cause;
    return error;
  }

  // Runs `call(module, nameAddress)` on the module, one run at a time, with
  // `bytes` to read and each page of faults handed to `onPage`; resolves to
  // what `call` returns.
  async function run(bytes, options, onPage, call) {
    const fileName = encoder.encode(options.fileName === undefined ? "<stdin>" : String(options.fileName));
    const module = await (loading || load());
    let nameAddress = 0;
    let stopped = false;
    let receiverFailed = false;
    module.marlintOutOfMemory = false;
    let page = [];
    module.marlintFaults = (address, size, endsPage) => {
      if (size > 0) {
        for (const fault of parseFaults(module, address, size)) {
          page.push(fault);
        }
      }
      if (endsPage) {
        const full = page;
        page = [];
        try {
          onPage(full);
        } catch (error) {
          receiverFailed = true;
          throw error;
        }
      }
    };
    const reader = blockReader(module, bytes);
    module.marlintRead = reader.read;
    module.marlintSeek = reader.seek;
    try {
      nameAddress = copyIn(module, fileName);
      if (nameAddress === 0) {
        throw outOfMemory(bytes.length);
      }
      try {
        return call(module, nameAddress);
      } catch (cause) {
        stopped = true;
        throw cause;
      }
    } catch (error) {
      if (stopped) {
        // The stack and heap of a stopped module are not to be trusted:
        // the next run loads a fresh one.
        load();
        // An error of onPage's own goes back to its caller as it is.
        if (!receiverFailed) {
          throw stoppedError(module, error, bytes.length);
        }
      }
      throw error;
    } finally {
      module.marlintFaults = undefined;
      module.marlintRead = undefined;
      module.marlintSeek = undefined;
      if (!stopped) {
        module._free(nameAddress);
      }
    }
  }

  async function check(input, options = {}) {
    const bytes = bytesOf(input);
    const every = Boolean(options.every);
    const pageSize = pageSizeOf(options);
    const onPage = options.onPage;
    if (onPage !== undefined && typeof onPage !== "function") {
      throw new TypeError("marlint: onPage must be a function");
    }
    const faults = onPage ? undefined : [];
    const receive = onPage || ((page) => {
      for (const fault of page) {
        faults.push(fault);
      }
    });
    return run(bytes, options, receive, (module, nameAddress) => {
      const status = module._marlintCheck(every ? 1 : 0, pageSize, nameAddress);
      const resultAddress = module._marlintResultData();
      const resultBytes = module.HEAPU8.slice(resultAddress, resultAddress + module._marlintResultSize());
      return {
        resultText: textOf(resultBytes),
        resultBytes,
        status,
        faultCount: module._marlintFaultCount() >>> 0,
        faults,
      };
    });
  }

  // Every certain fix applied, as `marlint --fix=OUT` applies them: the fixed
  // bytes, the faults the fixes removed (severity "fixed", each with the fix
  // applied, where it stands in the input) and every fault and note left in
  // the fixed bytes.
  async function fix(input, options = {}) {
    const bytes = bytesOf(input);
    const faults = [];
    const receive = (page) => {
      for (const fault of page) {
        faults.push(fault);
      }
    };
    return run(bytes, options, receive, (module, nameAddress) => {
      const appliedCount = module._marlintFix(defaultPageSize, nameAddress) >>> 0;
      const fixedAddress = module._marlintFixedData();
      return {
        bytes: module.HEAPU8.slice(fixedAddress, fixedAddress + module._marlintFixedSize()),
        applied: faults.slice(0, appliedCount),
        remaining: faults.slice(appliedCount),
      };
    });
  }

  return {check, fix};
}

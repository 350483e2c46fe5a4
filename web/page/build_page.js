#!/usr/bin/env node
// Assembles marlint.html: one file with the style, the page's script and the
// checker (the WebAssembly core, embedded, and the worker that runs it)
// inlined, so that it opens from disk or any static host with no network.
// The scripts go in without their comments.
//
//   node build_page.js --core marlint-core.js --checker checker.js \
//     --version 1.2.0 --out marlint.html
'use strict';

const fs = require('fs');
const path = require('path');

// A budget for the one file, WebAssembly included, that no change passes
// unnoticed: 324 KiB with the SIMD build, the markers of invisible bytes,
// the causes proved by undoing them and the fixes, whole-file ones included.
const SIZE_LIMIT = 336 * 1024;
const SOURCE = path.join(__dirname, 'src');
const PAGE_SCRIPTS = [
  'shown_bytes.js',
  'point_text.js',
  'pasted_text.js',
  'fault_store.js',
  'point_grid.js',
  'fault_views.js',
  'edits.js',
  'page.js',
];

function parseArguments(argv) {
  const options = {};
  for (let i = 0; i < argv.length; i += 2) {
    if (!argv[i].startsWith('--') || i + 1 >= argv.length) {
      throw new Error(`unexpected argument ${argv[i]}`);
    }
    options[argv[i].slice(2)] = argv[i + 1];
  }
  for (const name of ['core', 'checker', 'version', 'out']) {
    if (!options[name]) {
      throw new Error(`missing --${name}`);
    }
  }
  return options;
}

function read(file) {
  return fs.readFileSync(file, 'utf8');
}

// Acorn comes with emscripten, whose optimiser uses it.
function loadAcorn() {
  try {
    return require('acorn');
  } catch (notOnPath) {
    return require('/usr/share/nodejs/acorn');
  }
}

// The page's own scripts without their comments and indentation: each gap
// between two tokens becomes one line feed where it held one (so that no
// statement runs into the next) and one blank where it held anything else.
function withoutComments(text) {
  const acorn = loadAcorn();
  const parts = [];
  let last = 0;
  for (const token of acorn.tokenizer(text, { ecmaVersion: 2020 })) {
    const gap = text.slice(last, token.start);
    parts.push(gap.includes('\n') ? '\n' : gap === '' ? '' : ' ', text.slice(token.start, token.end));
    last = token.end;
  }
  return parts.join('');
}

// A script's text may not end its <script> element early: "</script" is
// written as "<\/script", which reads the same inside a JavaScript string,
// and "<!--" (which would change how the element is parsed) is refused.
function scriptText(text, name) {
  if (text.includes('<!--')) {
    throw new Error(`${name} holds "<!--", which cannot be inlined in a <script> element`);
  }
  return text.replace(/<\/(script)/gi, '<\\/$1');
}

function styleText(text) {
  if (/<\/style/i.test(text)) {
    throw new Error('the style holds "</style"');
  }
  return text;
}

function fill(template, placeholder, text) {
  const at = template.indexOf(placeholder);
  if (at < 0 || template.indexOf(placeholder, at + 1) >= 0) {
    throw new Error(`the template must hold ${placeholder} exactly once`);
  }
  return template.slice(0, at) + text + template.slice(at + placeholder.length);
}

function build(options) {
  const workerScript = [
    read(options.core),
    withoutComments(read(options.checker)),
    withoutComments(read(path.join(SOURCE, 'check_worker.js'))),
  ].join('\n;\n');
  const pageScript = withoutComments(
    "(function () {\n'use strict';\n" + PAGE_SCRIPTS.map((name) => read(path.join(SOURCE, name))).join('\n') + '\n})();'
  );
  let html = read(path.join(SOURCE, 'marlint.html'));
  html = fill(html, '/*@INLINE_CSS@*/', styleText(read(path.join(SOURCE, 'marlint.css'))));
  html = fill(html, '/*@INLINE_WORKER@*/', scriptText(workerScript, 'the checker'));
  html = fill(html, '/*@INLINE_PAGE@*/', scriptText(pageScript, 'the page script'));
  html = html.split('@MARLINT_VERSION@').join(options.version);
  const size = Buffer.byteLength(html);
  if (size > SIZE_LIMIT) {
    throw new Error(`marlint.html would be ${size} bytes, more than the ${SIZE_LIMIT} allowed`);
  }
  fs.mkdirSync(path.dirname(options.out), { recursive: true });
  const temporary = options.out + '.part';
  fs.writeFileSync(temporary, html);
  fs.renameSync(temporary, options.out);
  return size;
}

try {
  const options = parseArguments(process.argv.slice(2));
  const size = build(options);
  console.log(`${options.out}: ${size} bytes`);
} catch (error) {
  console.error(`build_page.js: ${error.message}`);
  process.exit(1);
}

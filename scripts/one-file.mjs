// The page as one HTML file that works from file:// (a double click, a share,
// a mail attachment): the style sheet, the page's ES modules turned into one
// classic script, the core as a classic script with its WebAssembly
// gzipped as base64 (web/packed-core.js unpacks it), and the
// automatic design's worker as text the page starts from a Blob URL.
//   node scripts/one-file.mjs WEB_DIR CORE_JS OUT_HTML
// CORE_JS is the core's classic script; its .wasm lies beside it.
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { constants, gzipSync } from 'node:zlib';

const [webDir, coreJs, out] = process.argv.slice(2);
const read = (name) => readFileSync(join(webDir, name), 'utf8');

// An inline script ends at the first "</script": never inside one.
const inline = (js) => js.replace(/<\/(script)/gi, '<\\/$1');

// One ES module as a function of the modules it imports: its imports become
// reads of their exports, its exports the object it returns. The page's
// modules import only named bindings of each other and the core's default.
function moduleBody(name, source) {
  const exported = [];
  let body = source.replace(/^import\s+createDiaspring\s+from\s+'\.\/diaspring\.mjs';\n/m, '');
  body = body.replace(/^import\s*\{([^}]*)\}\s*from\s*'\.\/([\w-]+\.js)';$/gm,
    (_, names, from) => `const {${names.replace(/\s+as\s+/g, ': ')}} = modules['${from}'];`);
  body = body.replace(/^export\s+((?:async\s+)?function\*?|const|let|class)\s+([\w$]+)/gm, (_, kind, id) => {
    exported.push(id);
    return `${kind} ${id}`;
  });
  if (/^\s*(import|export)\b/m.test(body)) throw new Error(`${name}: an import or export this tool does not turn into a script`);
  return `modules['${name}'] = await (async () => {\n${body}\nreturn { ${exported.join(', ')} };\n})();\n`;
}

// The modules in the order they import each other: main.js last.
const PAGE = ['chart.js', 'fit.js', 'yield.js', 'picture.js', 'form.js', 'sheet.js', 'material.js', 'compare.js', 'design-pool.js',
  'packed-core.js', 'auto-design.js', 'analysis.js', 'files.js', 'main.js'];
const page = `(async () => {\n'use strict';\nconst modules = {};\n${PAGE.map((m) => moduleBody(m, read(m))).join('\n')}})()` +
  '.catch((err) => window.diaspringFailed?.(err));\n';
// The worker's core takes the module's bytes from the page's first message
// (startWorker in packed-core.js).
const worker = `const packedCore = new Promise((ok) => { self.onmessage = (e) => ok(e.data.wasmBinary); });
const createCore = createDiaspring;
createDiaspring = async () => createCore({ wasmBinary: await packedCore });
` + moduleBody('design-worker.js', read('design-worker.js')).replace(/^modules\['design-worker\.js'\] = /, '');
const wasm = gzipSync(readFileSync(coreJs.replace(/\.js$/, '.wasm')), { level: constants.Z_BEST_COMPRESSION });

let html = read('index.html');
const replaceOnce = (pattern, text) => {
  if (!pattern.test(html)) throw new Error(`index.html: ${pattern} not found`);
  html = html.replace(pattern, () => text);
};
replaceOnce(/<link rel="stylesheet" href="style\.css">/, `<style>\n${read('style.css')}</style>`);
replaceOnce(/<link rel="modulepreload" href="diaspring\.mjs">\n/, '');
replaceOnce(/<script type="module" src="main\.js"><\/script>/,
  `<script id="diaspring-wasm" type="application/octet-stream">\n${wasm.toString('base64')}\n</script>\n` +
  `<script id="diaspring-core">\n${inline(readFileSync(coreJs, 'utf8'))}</script>\n` +
  `<script id="diaspring-worker" type="text/plain">\n${inline(`(async () => {\n${worker}})();\n`)}</script>\n` +
  `<script>\n${inline(page)}</script>`);

const tmp = `${out}.part`;
writeFileSync(tmp, html);
renameSync(tmp, out);
console.log(`${out}: ${Math.round(html.length / 1024)} kB`);

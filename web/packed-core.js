// The core's WebAssembly as the one-file page holds it: gzipped, as base64,
// in <script id="diaspring-wasm">. The page unpacks it with the browser's
// own gzip (DecompressionStream) and hands the bytes to the core, and to each
// worker of the automatic design. The served site has no such element: its
// core fetches diaspring.wasm itself.

let bytes = null;

// The options for createDiaspring(): the unpacked module, or none.
export async function coreOptions() {
  const packed = document.getElementById('diaspring-wasm');
  if (!packed) return {};
  if (typeof DecompressionStream !== 'function') {
    throw new Error('此浏览器不能解压网页中的计算程序（缺少 DecompressionStream）。' +
      '请用较新的 Chromium、Edge、Chrome 或 Firefox 打开此文件。');
  }
  const text = atob(packed.textContent.trim());
  const gz = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) gz[i] = text.charCodeAt(i);
  const stream = new Blob([gz]).stream().pipeThrough(new DecompressionStream('gzip'));
  bytes = new Uint8Array(await new Response(stream).arrayBuffer());
  return { wasmBinary: bytes };
}

// A worker of the one-file page waits for the module's bytes as its first
// message (see scripts/one-file.mjs); the site's workers fetch it.
export function startWorker(worker) {
  if (bytes) worker.postMessage({ wasmBinary: bytes });
  return worker;
}

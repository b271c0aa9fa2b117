// Keeps the page working offline: the first visit stores every file the
// page needs (the automatic design's worker included, which the page asks
// for only when it runs); afterwards every request goes to the network first
// and its answer is kept, and without a network the kept copy answers.
// Nothing but the site's own files passes through here.
const CACHE = 'diaspring-site';
const FILES = ['./', 'index.html', 'style.css', 'main.js', 'chart.js', 'fit.js', 'yield.js', 'picture.js', 'form.js', 'sheet.js', 'material.js', 'compare.js', 'design-pool.js', 'packed-core.js', 'design-worker.js',
  'auto-design.js', 'analysis.js', 'files.js', 'diaspring.mjs', 'diaspring.wasm', 'sw.js'];

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    await cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    try {
      const response = await fetch(request);
      if (response.ok) await cache.put(request, response.clone());
      return response;
    } catch (err) {
      const kept = await cache.match(request, { ignoreSearch: true });
      if (kept) return kept;
      throw err;
    }
  })());
});

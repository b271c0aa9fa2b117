// Keeps the page working offline once loaded: every request goes to the
// network first and its answer is kept; without a network the kept copy
// answers. Nothing but the site's own files passes through here.
const CACHE = 'diaspring-site';

self.addEventListener('install', () => self.skipWaiting());
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

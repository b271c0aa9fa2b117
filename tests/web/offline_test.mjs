// The served site offline: after one visit the service worker holds every
// file of the site; with the server gone and the browser's own cache
// cleared, a reload shows the window and the automatic design runs (its
// worker from the kept copy), started by clicks.
//   node tests/web/offline_test.mjs SITE_DIR
import assert from 'node:assert/strict';
import { readdirSync } from 'node:fs';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const site = process.argv[2];
const { page, server, load, close, errors } = await openPage(site);
const { check, finish } = checker();
try {
  await load();
  const kept = await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    const cache = await caches.open('diaspring-site');
    return (await cache.keys()).map((r) => new URL(r.url).pathname.slice(1));
  });
  await check('every file kept on the first visit', () => {
    const missing = readdirSync(site).filter((f) => !kept.includes(f));
    assert.deepEqual(missing, []);
    assert.ok(kept.includes(''), 'the folder address itself');
  });

  server.closeAllConnections();
  await new Promise((ok) => server.close(ok));
  const cdp = await page.createCDPSession();
  await cdp.send('Network.clearBrowserCache');
  await check('the server is gone', async () => {
    const status = await page.evaluate(() => fetch('/nosuchfile', { cache: 'no-store' }).then((r) => r.status, () => 'failed'));
    assert.notEqual(status, 200);
  });
  await page.reload();
  await page.waitForFunction(() => window.diaspring?.ready, { timeout: 30000 });
  await page.click('#autoDesign');
  // The window's clutch has no spring at the default least yield; the old search's front is the larger test.
  await page.evaluate(() => { document.getElementById('designMinYield').value = '0'; });
  await page.click('#designStart');
  await page.waitForFunction(() => !document.getElementById('designStart').disabled, { timeout: 600000 });
  await check('the automatic design runs offline', async () => {
    const r = await page.evaluate(() => ({
      status: document.getElementById('designStatus').textContent,
      rows: document.querySelectorAll('#designTable tr').length,
    }));
    assert.match(r.status, /^找到 \d+ 个互不占优的设计/);
    assert.ok(r.rows > 10, JSON.stringify(r));
  });
  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
finish('offline: all passed');

// The one-file page from file://, as a colleague opens it from a mail or a
// share: under 2 MB, asks for nothing but itself (no server, no network),
// opens and saves a design file through the browser's own dialogs, runs the
// automatic design by clicks, and says so where the browser forbids local
// storage or cannot unpack the core.
//   node tests/web/one_file_test.mjs build/web/diaspring.html CLI
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [file, cli] = process.argv.slice(2);
const { check, finish } = checker();
await check('under 2 MB', () => assert.ok(statSync(file).size < 2e6, `${statSync(file).size} bytes`));

const dir = mkdtempSync(join(tmpdir(), 'diaspring-one-file-'));
const { page, load, close, errors, downloads } = await openPage(file);
const requests = [];
page.on('request', (r) => requests.push(r.url()));
try {
  await load();
  await check('nothing asked of a server or the network', () =>
    assert.deepEqual(requests.filter((u) => !/^(file|data|blob):/.test(u)), []));

  // 打开… through the file dialog, then 保存 as a download.
  const saved = join(dir, 'clutch-430.diaspring');
  execFileSync(cli, ['--set', 'h=2.45', '--set', 'F=5000', '--save', saved]);
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#openFile')]);
  await chooser.accept([saved]);
  await page.waitForFunction(() => document.getElementById('Text4').value === '2.45');
  await page.click('#saveFile');
  const written = await (async () => {
    for (let i = 0; i < 100; ++i) {
      const done = (() => { try { return readdirSync(downloads).filter((f) => f.endsWith('.diaspring')); } catch { return []; } })();
      if (done.length) return join(downloads, done[0]);
      await new Promise((ok) => setTimeout(ok, 100));
    }
    return null;
  })();
  await check('保存 writes the opened design', () => {
    assert.ok(written, 'no file downloaded');
    const back = JSON.parse(readFileSync(written, 'utf8'));
    assert.equal(back.inputs.h, '2.45');
    assert.equal(back.inputs.F, '5000');
  });

  // The automatic design in its worker from a Blob URL.
  await page.click('#autoDesign');
  // The window's clutch has no spring at the default least yield: the search without it.
  await page.evaluate(() => { document.getElementById('designMinYield').value = '0'; });
  await page.click('#designStart');
  await page.waitForFunction(() => !document.getElementById('designStart').disabled, { timeout: 600000 });
  await check('automatic design', async () => {
    const status = await page.evaluate(() => document.getElementById('designStatus').textContent);
    assert.match(status, /^找到 \d+ 个互不占优的设计/);
  });
  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}

// A browser that refuses local storage to a file: the page says so and works.
{
  const { page, close, url } = await openPage(file);
  try {
    await page.evaluateOnNewDocument(() => {
      Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('denied', 'SecurityError'); } });
    });
    await page.goto(url);
    await page.waitForFunction(() => window.diaspring?.ready, { timeout: 30000 });
    await page.click('#Command1');
    await check('local storage refused: said in the page', async () => {
      const r = await page.evaluate(() => ({
        note: document.getElementById('storageNote').hidden ? '' : document.getElementById('storageNote').textContent,
        drawn: window.diaspring.state().fields.Text12,
      }));
      assert.match(r.note, /本地存储/);
      assert.equal(r.drawn, '5175.178');
    });
  } finally {
    await close();
  }
}
// A browser without gzip streams cannot unpack the core: the page says so
// in words, never a blank window.
{
  const { page, close, url } = await openPage(file);
  try {
    await page.evaluateOnNewDocument(() => { delete window.DecompressionStream; });
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('loading')?.className === 'failed', { timeout: 30000 });
    await check('no gzip streams: said in the page', async () => {
      const said = await page.evaluate(() => document.getElementById('loading').textContent);
      assert.match(said, /^计算程序未能载入：.*DecompressionStream/);
    });
  } finally {
    await close();
  }
}
finish('one file: all passed');

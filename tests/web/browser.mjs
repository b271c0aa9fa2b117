// Opens the page headless in one of two engines: Debian's chromium (the
// default, over the DevTools protocol) or firefox-esr (over WebDriver BiDi),
// chosen by DIASPRING_BROWSER=chromium|firefox. The site folder is served on
// a free port, the one-file page (a path ending in .html) comes from file://.
// Downloads go to `downloads`, a folder of the test's own.
import puppeteer from 'puppeteer-core';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { serve } from '../../scripts/serve-site.mjs';

export const engine = process.env.DIASPRING_BROWSER || 'chromium';
if (!['chromium', 'firefox'].includes(engine)) throw new Error(`DIASPRING_BROWSER=${engine}: chromium or firefox`);
export const isOneFile = (target) => target.endsWith('.html');

function launch(profile, downloads) {
  if (engine === 'firefox') {
    return puppeteer.launch({
      browser: 'firefox',
      // The automatic design of a shut space runs several searches: a loaded machine takes minutes.
      protocolTimeout: 900000,
      executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
      headless: true,
      userDataDir: profile,
      extraPrefsFirefox: {
        // Saved files go straight to the test's folder, with no question.
        'browser.download.folderList': 2,
        'browser.download.dir': downloads,
        'browser.download.useDownloadDir': true,
        'browser.download.always_ask_before_handling_new_types': false,
        'browser.download.start_downloads_in_tmp_dir': false,
        'browser.download.alwaysOpenPanel': false,
        'browser.download.open_pdf_attachments_inline': false,
      },
    });
  }
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    protocolTimeout: 900000,
    headless: true,
    userDataDir: profile,
    downloadBehavior: { policy: 'allow', downloadPath: downloads },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
}

export async function openPage(target, { scale = 1 } = {}) {
  const server = isOneFile(target) ? null : await serve(target, 0);
  const url = server ? `http://127.0.0.1:${server.address().port}/` : pathToFileURL(resolve(target)).href;
  const profile = mkdtempSync(join(tmpdir(), `diaspring-${engine}-`));
  const downloads = join(profile, 'downloads');
  mkdirSync(downloads);
  const browser = await launch(profile, downloads);
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  // The page's questions (window.confirm): each is kept and answered as
  // `answer.accept` says (no by default), so that none blocks a test.
  const dialogs = [];
  const answer = { accept: false };
  page.on('dialog', (d) => {
    dialogs.push(d.message());
    return answer.accept ? d.accept() : d.dismiss();
  });
  await page.setViewport({ width: 1000, height: 640, deviceScaleFactor: scale });
  const load = async (hash = '') => {
    const started = Date.now();
    await page.goto(url + hash);
    await page.waitForFunction(() => window.diaspring?.ready, { timeout: 30000 });
    return Date.now() - started;
  };
  const close = async () => {
    await browser.close();
    server?.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { page, browser, server, url, load, close, errors, profile, dialogs, answer, downloads, engine };
}

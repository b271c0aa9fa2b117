// Opens the page in Debian's chromium, headless: the site folder served on a
// free port, or the one-file page (a path ending in .html) from file://.
import puppeteer from 'puppeteer-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { serve } from '../../scripts/serve-site.mjs';

export const isOneFile = (target) => target.endsWith('.html');

export async function openPage(target, { scale = 1 } = {}) {
  const server = isOneFile(target) ? null : await serve(target, 0);
  const url = server ? `http://127.0.0.1:${server.address().port}/` : pathToFileURL(resolve(target)).href;
  const profile = mkdtempSync(join(tmpdir(), 'diaspring-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
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
  return { page, browser, server, url, load, close, errors, profile, dialogs, answer };
}

// Starts the page's site on a free port and Debian's chromium, headless.
import puppeteer from 'puppeteer-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../scripts/serve-site.mjs';

export async function openPage(siteDir, { scale = 1 } = {}) {
  const server = await serve(siteDir, 0);
  const url = `http://127.0.0.1:${server.address().port}/`;
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
  await page.setViewport({ width: 1000, height: 640, deviceScaleFactor: scale });
  const load = async (hash = '') => {
    const started = Date.now();
    await page.goto(url + hash);
    await page.waitForFunction(() => window.diaspring?.ready, { timeout: 30000 });
    return Date.now() - started;
  };
  const close = async () => {
    await browser.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { page, url, load, close, errors };
}

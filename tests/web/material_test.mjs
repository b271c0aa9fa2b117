// The material box and the life in load cycles on the page, by clicks and
// keys, against `diaspring-cli` after the same choice.
//   node tests/web/material_test.mjs SITE_DIR_OR_ONE_FILE CLI
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [site, cli] = process.argv.slice(2);
const dir = mkdtempSync(join(tmpdir(), 'diaspring-material-'));
const run = (args) => execFileSync(cli, args, { encoding: 'utf8', maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'ignore'] });
const pdfText = (path) => execFileSync('pdftotext', [path, '-'], { encoding: 'utf8' });
const EXAMPLE = '示例数据，不作为签发依据';

const { page, load, close, errors } = await openPage(site);
const { check, fail, finish } = checker();
// Types a name into the material box and leaves it, as a user does.
const choose = async (name) => {
  await page.click('#material', { count: 3 });
  await page.keyboard.press('Backspace');
  if (name) await page.keyboard.type(name);
  await page.keyboard.press('Tab');
};
const fatigueRows = () => page.$$eval('#analysisBody table.checks tr', (trs) =>
  trs.map((tr) => [...tr.children].map((td) => td.textContent)).filter((cells) => cells[0].startsWith('疲劳')));

try {
  await load();
  await page.evaluate(() => { localStorage.clear(); window.diaspring.reset(); });
  await page.click('#analysis > summary');

  await check('a steel of the library, as --material', async () => {
    await choose('60Si2MnA');
    const state = JSON.parse(await page.evaluate(() => window.diaspring.stateText()));
    assert.deepEqual(state, JSON.parse(run(['--material', '60Si2MnA', '--json'])));
    assert.equal(await page.$eval('#Text31', (el) => el.value), '206000');  // typed into the box
    assert.match(await page.$eval('#materialNote', (el) => el.textContent), /^60Si2MnA（GB\/T 1222）；抗拉强度（最小） 1570 MPa/);
  });

  await check('fatigue verdicts name their data source and the life', async () => {
    await page.evaluate(() => window.diaspring.act([{ press: 'Command1' }]));
    const rows = await fatigueRows();
    assert.equal(rows.length, 2);
    for (const cells of rows) {
      assert.equal(cells[3], EXAMPLE);  // never a plain pass or fail on the example line
      assert.match(cells[1], /N (≥ |< )?\d(\.\d)?·10[⁵⁶]/);
    }
  });

  await check('a name of the user\'s own keeps the user\'s numbers', async () => {
    await page.click('#Text31', { count: 3 });
    await page.keyboard.type('200000');
    await choose('厂家钢 A');
    assert.equal(await page.$eval('#Text31', (el) => el.value), '200000');
    assert.equal(await page.$eval('#materialNote', (el) => el.textContent), '厂家钢 A（用户数据）：E、μ、Rm 与许用应力为用户输入的数值');
    assert.deepEqual(JSON.parse(await page.evaluate(() => window.diaspring.stateText())).material, { name: '厂家钢 A', source: '用户数据' });
  });

  await check('the design file keeps the material and reopens with it', async () => {
    await choose('50CrVA');
    const text = await page.evaluate(() => window.diaspring.saveDesign());
    const file = join(dir, 'steel.diaspring');
    writeFileSync(file, text);
    // The desktop's reader takes the page's file with its material.
    assert.equal(JSON.parse(run(['--design', file, '--json'])).material.name, '50CrVA');
    await page.evaluate((t) => { window.diaspring.reset(); window.diaspring.openDesign(t, 'steel.diaspring'); }, text);
    await page.waitForFunction(() => document.getElementById('material').value === '50CrVA');
    assert.match(await page.$eval('#materialNote', (el) => el.textContent), /^50CrVA（GB\/T 1222）/);
    assert.equal(await page.evaluate(() => window.diaspring.view().extras.Rm), '1275');
  });

  await check('the printed sheet carries the material and the life, as the desktop\'s', async () => {
    await page.evaluate(() => { window.diaspring.reset(); });
    await choose('60Si2MnA');
    await page.evaluate(() => { window.diaspring.act([{ press: 'Command1' }, { press: 'Command3' }]); window.diaspring.buildSheet(); });
    const printed = join(dir, 'page.pdf');
    await page.pdf({ path: printed, preferCSSPageSize: true, printBackground: true });
    const desktop = join(dir, 'desktop.pdf');
    assert.ok(spawnSync(cli, ['--material', '60Si2MnA', '--press', 'Command1', '--press', 'Command3', '--report', desktop]).status <= 1);
    const web = pdfText(printed).replace(/\s+/g, '');
    const missing = pdfText(desktop).split(/\s+/).filter((w) => w && !web.includes(w));
    assert.deepEqual(missing, []);
    for (const w of ['60Si2MnA（GB/T1222）', 'GB/T1222力学性能表', EXAMPLE, '要求寿命N=2000000次', 'N≥2·10⁶']) {
      assert.ok(web.includes(w), w);
    }
  });

  if (errors.length) fail('page errors', errors.join('; '));
} finally {
  await close();
  rmSync(dir, { recursive: true, force: true });
}
finish('material and life: as the desktop\'s');

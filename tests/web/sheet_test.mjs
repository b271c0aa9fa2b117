// The printable design sheet against the desktop's: for each case the page
// is printed to PDF by chromium and the design sheet written by
// `diaspring-cli --report` after the same actions; every word of the
// desktop's sheet must be on the printed page, with as many pages.
//   node tests/web/sheet_test.mjs SITE_DIR CLI
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [site, cli] = process.argv.slice(2);
const dir = mkdtempSync(join(tmpdir(), 'diaspring-sheet-'));
const pdfText = (path) => execFileSync('pdftotext', [path, '-'], { encoding: 'utf8' });
const pages = (path) => Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [path], { encoding: 'utf8' }))[1]);

// A design file with the title block's information.
execFileSync(cli, ['--save', join(dir, 'plain.diaspring')]);
const design = JSON.parse(readFileSync(join(dir, 'plain.diaspring'), 'utf8'));
Object.assign(design.metadata, { project: '重卡 430', partNumber: 'DS-0815', designer: '王工', notes: '第二轮  样件\n待试验',
  revision: 'C', checkedBy: '李工', checkedOn: '2026-12-01', approvedBy: '赵工' });
design.inputs.h = '2.35';
const designFile = join(dir, 'clutch 430.diaspring');
writeFileSync(designFile, JSON.stringify(design, null, 2));

const WARNING = '输入已修改，本报告基于上次计算的输入';
const cases = [
  { name: 'default design', actions: [{ press: 'Command1' }, { press: 'Command3' }], args: [] },
  { name: 'edited after the run', actions: [{ press: 'Command1' }, { set: ['h', '2.3'] }],
    args: ['--press', 'Command1', '--set', 'h=2.3'], warnings: 4 },
  { name: 'failed rules', actions: [{ set: ['h', '2.6'] }, { press: 'Command1' }, { press: 'Command3' }],
    args: ['--set', 'h=2.6', '--press', 'Command1', '--press', 'Command3'] },
  { name: 'no curve yet', actions: [{ press: 'Command3' }], args: ['--press', 'Command3'] },
  { name: 'a design file with its information', file: designFile, actions: [{ press: 'Command1' }, { press: 'Command3' }],
    args: ['--design', designFile], words: ['重卡', 'DS-0815', '王工', 'clutch', '430.diaspring', '待试验',
      '零件号/图号：DS-0815版本：C', '李工', '2026-12-01', '赵工', '签署页'] },
];

const { page, load, close, errors } = await openPage(site);
const { fail, finish } = checker();
try {
  for (const c of cases) {
    try {
      await load();
      await page.evaluate(() => { localStorage.clear(); window.diaspring.reset(); });
      if (c.file) {
        const picker = await page.$('#filePicker');
        await picker.uploadFile(c.file);
        await page.waitForFunction((h) => window.diaspring.state().fields.Text4 === h, {}, design.inputs.h);
      }
      await page.evaluate((a) => { window.diaspring.act(a); window.diaspring.buildSheet(); }, c.actions);
      const printed = join(dir, 'page.pdf');
      await page.pdf({ path: printed, preferCSSPageSize: true, printBackground: true });
      const desktop = join(dir, 'desktop.pdf');
      // A fault exits with status 1 and still writes the sheet.
      assert.ok(spawnSync(cli, [...c.args, '--report', desktop]).status <= 1);
      const web = pdfText(printed).replace(/\s+/g, '');
      const missing = pdfText(desktop).split(/\s+/).filter((w) => w && !web.includes(w));
      assert.deepEqual(missing, []);
      assert.equal(pages(printed), pages(desktop));
      assert.equal(web.split(WARNING).length - 1, c.warnings ?? 0);
      assert.equal(pdfText(desktop).split(WARNING).length - 1, c.warnings ?? 0);
      for (const w of c.words ?? []) assert.ok(web.includes(w), w);
    } catch (e) {
      fail(c.name, e.message, 600);
    }
  }
  if (errors.length) fail('page errors', errors.join('; '), Infinity);
} finally {
  await close();
  rmSync(dir, { recursive: true, force: true });
}
finish(`design sheet: ${cases.length} cases as the desktop's`);

// The comparison in the page against `diaspring-cli compare --json`: the
// same request (design and measured files by name and text, typed inputs,
// tolerances, samples, seed) gives the same object in the page as the
// command prints in the folder that holds the files, refusals the same
// message and line. Then once by clicks: a measured curve imported through
// the file dialog, its calibration typed into the window.
//   node tests/web/compare_test.mjs build/web/diaspring.html CLI
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [target, cliArg] = process.argv.slice(2);
const cli = resolve(cliArg);  // run in the files' folder
const dir = mkdtempSync(join(tmpdir(), 'diaspring-compare-'));
const docs = new URL('../../docs/', import.meta.url);
const rig = readFileSync(new URL('sample-rig.csv', docs), 'utf8');
const sample = readFileSync(new URL('sample.diaspring', docs), 'utf8');
const thin = readFileSync(new URL('sample-thin-cone.diaspring', docs), 'utf8');

// The rig curve 4 % stiffer, written as another rig writes it: a header,
// commas, CRLF line ends, no comment.
const stiffer = `lambda1,F1\r\n${rig.split('\n').filter((l) => /^\d/.test(l))
  .map((l) => l.split(';')).map(([x, f]) => `${x},${(Number(f) * 1.04).toFixed(1)}`).join('\r\n')}\r\n`;

const file = (name, text) => ({ name, text });
const cases = [
  { name: 'the default design alone', request: {} },
  { name: 'two designs and a measured curve',
    request: { designs: [file('sample.diaspring', sample), file('thin.diaspring', thin)], measured: [file('rig.csv', rig)] } },
  { name: 'the calibration of a synthetic rig curve',
    request: { set: { h: '2.3' }, measured: [file('stiffer rig.csv', stiffer)] } },
  { name: 'the worst case alone', request: { tolerance: { h: '0.05', E: '2%', R: '±0.3' }, samples: 0 } },
  { name: 'the Monte Carlo with its seed',
    request: { designs: [file('thin.diaspring', thin)], set: { h: '2.3' }, measured: [file('rig.csv', rig)],
      tolerance: { h: '0.05', E: '2%' }, samples: 5000, seed: 3 } },
  { name: 'the sensitivities with a clamp-load band', request: { set: { HoverH: '1.6', F: '5200' }, tolerance: { F: '8%' }, samples: 2000 } },
  { name: 'a design without a curve', request: { set: { HoverH: '1.3' }, measured: [file('rig.csv', rig)] } },
  { name: 'a tolerance that makes springs impossible', request: { tolerance: { h: '1' } } },
  { name: 'an unknown input', request: { set: { thickness: '2' } } },
  { name: 'a CSV cell that is not a number', request: { measured: [file('bad cell.csv', 'x;F\n0;0\n0.1;abc\n0.2;900\n')] } },
  { name: 'a CSV with a repeated λ1', request: { measured: [file('repeat.csv', '0,0\n0.1,500\n0.2,900\n0.2,950\n')] } },
  { name: 'a CSV with two points', request: { measured: [file('short.csv', '# two rows\n0 0\n0.1 500\n')] } },
  { name: 'a design file that is not JSON', request: { designs: [file('broken.diaspring', '{"format": ')] } },
];

// The command line of a request, run in the folder that holds its files.
function runCli(request) {
  const args = ['compare', '--json'];
  for (const [kind, option] of [['designs', '--design'], ['measured', '--measured']]) {
    for (const f of request[kind] ?? []) {
      writeFileSync(join(dir, f.name), f.text);
      args.push(option, f.name);
    }
  }
  for (const [key, option] of [['set', '--set'], ['tolerance', '--tolerance']]) {
    for (const [name, value] of Object.entries(request[key] ?? {})) args.push(option, `${name}=${value}`);
  }
  for (const key of ['samples', 'seed']) if (key in request) args.push(`--${key}`, String(request[key]));
  return spawnSync(cli, args, { cwd: dir, encoding: 'utf8' });
}

const { check, fail, finish } = checker();

const { page, load, close, errors } = await openPage(target);
try {
  await load();
  for (const c of cases) {
    await check(c.name, async () => {
      const run = runCli(c.request);
      const web = await page.evaluate((r) => window.diaspring.compare(r), c.request);
      if (run.stdout) {
        const printed = JSON.parse(run.stdout);
        delete printed.seconds;
        assert.deepEqual(web, printed);
      } else {
        const line = /line (\d+):/.exec(run.stderr);
        assert.deepEqual(web, { error: run.stderr.replace(/^diaspring-cli compare: /, '').trimEnd(), status: run.status,
          line: line ? Number(line[1]) : 0 });
        assert.notEqual(run.status, 0);
      }
    });
  }
  await check('the refused files name their line', async () => {
    const lines = await page.evaluate((cs) => cs.map((c) => window.diaspring.compare(c.request).line),
      cases.filter((c) => c.name.startsWith('a CSV')));
    assert.deepEqual(lines, [3, 4, 0]);
  });

  // By clicks: open the section, import the rig curve through the file
  // dialog, pick its row, type the fit into the window.
  await check('import, calibrate and apply by clicks', async () => {
    await page.evaluate(() => { localStorage.clear(); window.diaspring.reset(); });
    await page.click('#compare > summary');
    const csv = join(dir, 'clicked rig.csv');
    writeFileSync(csv, rig);
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#compareImport')]);
    await chooser.accept([csv]);
    await page.waitForSelector('#compareMeasured tr[data-row="0"]');
    await page.click('#compareMeasured tr[data-row="0"] td');
    await page.click('#compareApplyFit');
    const fit = JSON.parse(runCli({ measured: [file('clicked rig.csv', rig)] }).stdout).measured[0].fit;
    const shown = await page.evaluate(() => {
      const boxes = Object.fromEntries([...document.querySelectorAll('#window input[type=text]')].map((b) => [b.id, b.value]));
      const sliders = Object.fromEntries([...document.querySelectorAll('#window input[type=range]')].map((b) => [b.id, Number(b.value)]));
      return { boxes, sliders, state: window.diaspring.state(), stale: window.diaspring.comparison().stale };
    });
    assert.ok(Math.abs(Number(shown.boxes.Text4) - fit.h) <= 5e-5 && /^\d\.\d{4}$/.test(shown.boxes.Text4), shown.boxes.Text4);
    assert.ok(Math.abs(Number(shown.boxes.Text6) - fit.H / fit.h) < 5e-5, shown.boxes.Text6);
    assert.deepEqual(shown.boxes, shown.state.fields);
    assert.deepEqual(shown.sliders, shown.state.sliders);
    // The curve ran on the fit: the comparison follows it and is not stale.
    assert.equal(shown.stale, false);
    const table = await page.$$eval('#compareCurves tr', (rows) => rows.length);
    assert.equal(table, 3);  // the head, the current design, the measured curve
  });

  await check('an edit of the window makes the comparison stale', async () => {
    await page.click('#Text4', { count: 3 });
    await page.keyboard.type('2.2');
    const stale = await page.evaluate(() => {
      window.diaspring.buildSheet();
      const pages = [...document.querySelectorAll('#sheet article.page')];
      return { note: !document.getElementById('compareStale').hidden,
        faded: document.getElementById('compareChart').classList.contains('stale'),
        pages: pages.map((p) => p.classList.contains('comparisonPage')),
        warned: pages.filter((p) => p.querySelector('.edited')).length };
    });
    // As on the desktop: the design, the analysis, the production yield, the
    // comparison, then the release page; the edited-inputs warning heads every
    // page while the comparison is stale.
    assert.deepEqual(stale, { note: true, faded: true, pages: [false, false, false, true, false], warned: 5 });
  });

  // What the section shows of its current design's staleness: the note, the
  // faded chart and the greyed row.
  const shownStale = () => page.evaluate(() => ({
    note: !document.getElementById('compareStale').hidden,
    faded: document.getElementById('compareChart').classList.contains('stale'),
    greyed: document.querySelector('#compareCurves tr[data-row="0"]').classList.contains('greyed'),
  }));
  const none = { note: false, faded: false, greyed: false };
  const all = { note: true, faded: true, greyed: true };
  // An edit of any input the curve reads, in the spring's frame or the
  // known parameters, makes the current design stale; the next curve run
  // brings it back up to date.
  for (const [box, text] of [['Text6', '1.7'], ['Text10', '1.2'], ['Text31', '200000'], ['Text33', '5000'], ['Text37', '24']]) {
    await check(`an edit of ${box} stales the comparison until the curve runs`, async () => {
      await page.evaluate(() => window.diaspring.act([{ press: 'Command1' }]));
      assert.deepEqual(await shownStale(), none);
      await page.click(`#${box}`, { count: 3 });
      await page.keyboard.type(text);
      assert.deepEqual(await shownStale(), all);
      await page.evaluate(() => window.diaspring.act([{ press: 'Command1' }]));
      assert.deepEqual(await shownStale(), none);
    });
  }

  // A tolerance box that does not hold what it takes is marked and named,
  // and the scatter stays as it was; a good text is taken.
  const scatter = () => page.$$eval('#compareScatter td', (tds) => tds.map((td) => td.textContent).join('|'));
  const typeTolerance = async (name, text) => {
    await page.click(`#compareTol-${name}`, { count: 3 });
    await page.keyboard.press('Backspace');
    await page.keyboard.type(text);
    await page.keyboard.press('Tab');
  };
  await page.evaluate(() => { window.diaspring.reset(); window.diaspring.act([{ press: 'Command1' }]); });
  await page.click('#compareStandard');
  const standard = await scatter();
  for (const [name, text, caption] of [['h', '-0.05', 'h'], ['E', '2%', 'E'], ['F', 'abc', '夹紧力 F'],
    ['samples', '12.5', '抽样数'], ['seed', '-1', '随机种子']]) {
    await check(`the tolerance box ${name} refuses "${text}"`, async () => {
      const before = await page.$eval(`#compareTol-${name}`, (el) => el.value);
      await typeTolerance(name, text);
      const shown = await page.evaluate((n) => ({ bad: document.getElementById(`compareTol-${n}`).classList.contains('bad'),
        note: document.getElementById('compareScatterNote').textContent }), name);
      assert.equal(shown.bad, true);
      assert.ok(shown.note.startsWith(`${caption} 不是非负数（抽样数与种子为整数），按上次的值计算。`), shown.note);
      assert.equal(await scatter(), standard);
      await typeTolerance(name, before);
      assert.equal(await page.$eval(`#compareTol-${name}`, (el) => el.classList.contains('bad')), false);
      assert.equal(await scatter(), standard);
    });
  }
  await check('a wider tolerance of h widens the scatter', async () => {
    await typeTolerance('h', '0.1');
    const note = await page.$eval('#compareScatterNote', (el) => el.textContent);
    assert.ok(!note.includes('不是非负数'), note);
    assert.notEqual(await scatter(), standard);
  });

  if (errors.length) fail('page errors', errors.join('; '));
} finally {
  await close();
  rmSync(dir, { recursive: true, force: true });
}
finish('the comparison: as the command line, by clicks, its staleness and its tolerance boxes');

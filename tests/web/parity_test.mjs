// The page in a real browser against the headless front end: after the same
// actions, window.diaspring.state() is character for character what
// `diaspring-cli --json` prints (every box, the faults, every drawing
// operation), whether the actions come through act() or by clicking and
// typing. Also: design files, the link and local storage.
//   node tests/web/parity_test.mjs SITE_DIR CLI [ONE_FILE.html ...]
// (each page given in turn: the served folder, the one file from file://);
// DIASPRING_SEQUENCES=N compares the first N sequences only (all 120 by default).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage } from './browser.mjs';

const [siteDir, cli, ...more] = process.argv.slice(2);
const ran = new Map();
const run = (args) => {
  const key = JSON.stringify(args);
  if (!ran.has(key)) ran.set(key, runOnce(args));
  return ran.get(key);
};
const runOnce = (args) => {
  try {
    return execFileSync(cli, args, { encoding: 'utf8', maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'ignore'] });
  } catch (e) {
    return e.stdout;  // status 1: a press faulted, the output is complete
  }
};
const toArgs = (list) => list.flatMap((a) => (a.set ? ['--set', `${a.set[0]}=${a.set[1]}`]
  : a.slider ? ['--slider', `${a.slider[0]}=${a.slider[1]}`] : ['--press', a.press]));
const cliState = (list, pre = []) => run([...pre, ...toArgs(list), '--json']);

// ---------------------------------------------------------------------------
// The action sequences: hand-made faults and orders, then random ones.
let seed = 20261207;
const random = () => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed / 2147483648;
};
const pick = (xs) => xs[Math.floor(random() * xs.length)];
const NAMES = ['h', 'HoverH', 'R', 'RoverR', 'dLambda', 'lambda1f', 'E', 'mu', 'F', 'D', 'd', 'r0', 'rf', 'Temax',
  'Text5', 'Text8', 'Text12', 'Text24', 'Text42', 'b', 'sigmaAllow', 'n'];
const ODD = ['', ' ', '0', '-0', '1e400', '1e-400', 'abc', '２．５', '2,5', '3.', '.5', '+7', '1e', '1e+', '  12  ', '0x1A',
  '∞', 'NaN', '-5', '99999999', '1.23456789012345678', '2.3', '4.5', '150', '85', '1.4', '1.2E+2', '７'];
const TYPICAL = { h: ['1.8', '2.5', '3'], HoverH: ['1.5', '1.7', '2.1'], R: ['80', '90', '120'], RoverR: ['1.2', '1.3'],
  F: ['3000', '5200', '8000'], E: ['206000', '0'], mu: ['0.25', '1'], D: ['200', '150'], d: ['130', '200'] };
const SLIDERS = { HScroll1: [200, 400], HScroll2: [150, 200], HScroll3: [760, 1350], HScroll4: [120, 135],
  HScroll5: [20, 200], HScroll6: [20, 300] };

const sequences = [
  [],
  [{ press: 'Command1' }],
  [{ press: 'Command3' }],
  [{ press: 'Command2' }, { press: 'Command1' }, { press: 'Command3' }],
  [{ set: ['h', '0'] }, { press: 'Command1' }],
  [{ set: ['E', '0'] }, { press: 'Command1' }, { press: 'Command3' }],
  [{ set: ['HoverH', '1.2'] }, { press: 'Command1' }],
  [{ set: ['R', '1e308'] }, { press: 'Command1' }],
  [{ set: ['D', ''] }, { set: ['d', ''] }, { press: 'Command3' }],
  [{ slider: ['HScroll1', 400] }, { slider: ['HScroll2', 200] }, { press: 'Command1' }, { press: 'Command3' }],
  [{ press: 'Command1' }, { set: ['h', '2.5'] }],
  [{ press: 'Command1' }, { press: 'Command3' }, { slider: ['HScroll3', 760] }],
  [{ set: ['b', '12'] }, { set: ['sigmaAllow', '1800'] }, { press: 'Command1' }],
];
while (sequences.length < 120) {
  const list = [];
  const n = 1 + Math.floor(random() * 7);
  for (let i = 0; i < n; ++i) {
    const r = random();
    if (r < 0.4) {
      const name = pick(NAMES);
      list.push({ set: [name, random() < 0.5 && TYPICAL[name] ? pick(TYPICAL[name]) : pick(ODD)] });
    } else if (r < 0.7) {
      const [name, [lo, hi]] = pick(Object.entries(SLIDERS));
      list.push({ slider: [name, lo + Math.floor(random() * (hi - lo + 1))] });
    } else {
      list.push({ press: pick(['Command1', 'Command1', 'Command3', 'Command2']) });
    }
  }
  sequences.push(list);
}
sequences.splice(Number(process.env.DIASPRING_SEQUENCES || sequences.length));

// ---------------------------------------------------------------------------
let failures = 0;
for (const target of [siteDir, ...more]) await compare(target);
if (failures > 0) {
  console.log(`${failures} failed`);
  process.exit(1);
}
console.log('browser parity: all passed');

async function compare(target) {
console.log(`--- ${target}`);
const { page, load, close, errors } = await openPage(target);
const check = (label, fn) => {
  try {
    fn();
  } catch (e) {
    ++failures;
    console.log(`FAIL ${label}: ${e.message.split('\n').slice(0, 6).join('\n')}`);
  }
};

try {
  await load();
  for (const [i, list] of sequences.entries()) {
    const got = await page.evaluate((l) => {
      window.diaspring.reset();
      window.diaspring.act(l);
      return window.diaspring.stateText();
    }, list);
    const want = cliState(list);
    check(`sequence ${i} ${JSON.stringify(list)}`, () => {
      if (got === want) return;
      let at = 0;
      while (got[at] === want[at]) ++at;
      throw new Error(`differs at ${at}: page …${got.slice(Math.max(0, at - 80), at + 80)}… cli …${want.slice(Math.max(0, at - 80), at + 80)}…`);
    });
  }
  console.log(`${sequences.length} action sequences compared`);

  // By clicking and typing: the default design; a slider moved by keys; a fault.
  const boxes = () => page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll('#window input')].map((el) => [el.id, el.type === 'range' ? Number(el.value) : el.value])));
  const shownAgrees = async (label, list) => {
    const state = JSON.parse(await page.evaluate(() => window.diaspring.stateText()));
    check(`${label}: state`, () => assert.deepEqual(state, JSON.parse(cliState(list))));
    const shown = await boxes();
    check(`${label}: inputs`, () => assert.deepEqual(shown, { ...state.fields, ...state.sliders }));
  };
  await page.evaluate(() => window.diaspring.reset());
  await page.click('#Command1');
  await page.click('#Command3');
  await shownAgrees('clicks', [{ press: 'Command1' }, { press: 'Command3' }]);

  await page.evaluate(() => window.diaspring.reset());
  await page.focus('#HScroll1');
  for (let i = 0; i < 5; ++i) await page.keyboard.press('ArrowRight');
  await page.click('#Command1');
  await shownAgrees('slider keys', [1, 2, 3, 4, 5].map((k) => ({ slider: ['HScroll1', 200 + k] })).concat([{ press: 'Command1' }]));

  await page.evaluate(() => window.diaspring.reset());
  await page.click('#Text4', { count: 3 });
  await page.keyboard.type('0');
  await page.click('#Command1');
  await shownAgrees('typed fault', [{ set: ['h', '0'] }, { press: 'Command1' }]);
  const banner = await page.evaluate(() => !document.getElementById('fault').hidden && document.getElementById('faultText').textContent);
  check('fault banner', () => assert.match(banner || '', /执行“输出膜片弹簧曲线及描点”时计算出错：.+\n原因：/));

  // Design files: one saved by the headless front end opens to the character
  // and saves back the same; a bad one is refused in the desktop's words.
  const dir = mkdtempSync(join(tmpdir(), 'diaspring-web-'));
  const saved = join(dir, 'a.diaspring');
  run(['--set', 'h=2.45', '--slider', 'HScroll3=900', '--set', 'b=12', '--press', 'Command1', '--save', saved]);
  const text = readFileSync(saved, 'utf8');
  // Opened as the window opens a file: each slider at the position nearest
  // its box's number (h 2.45, H/h 1.9, R 90, R/r 1.33, Δλ 1.6, λ1f 1.6).
  const nearest = { HScroll1: 245, HScroll2: 190, HScroll3: 900, HScroll4: 133, HScroll5: 160, HScroll6: 160 };
  const FILE_KEYS = { HScroll1: 'h', HScroll2: 'HoverH', HScroll3: 'R', HScroll4: 'RoverR', HScroll5: 'dLambda', HScroll6: 'lambda1f' };
  const withSliders = (t) => {
    const o = JSON.parse(t);
    for (const [slider, at] of Object.entries(nearest)) o.sliders[o.format ? FILE_KEYS[slider] : slider] = at;
    return o;
  };
  const reopened = await page.evaluate((t) => {
    const refusal = window.diaspring.openDesign(t, 'a.diaspring');
    return { refusal, again: window.diaspring.saveDesign(), state: window.diaspring.stateText() };
  }, text);
  check('design file opens', () => assert.equal(reopened.refusal, ''));
  check('design file saves back', () => assert.deepEqual(JSON.parse(reopened.again), withSliders(text)));
  check('design file state', () => assert.deepEqual(JSON.parse(reopened.state), withSliders(run(['--design', saved, '--json']))));
  const bad = join(dir, 'bad.diaspring');
  for (const content of ['{"format": "diaspring-design", "version": "9.0"', '[]', '{"inputs": 3}']) {
    writeFileSync(bad, content);
    let desktop = '';
    try {
      execFileSync(cli, ['--design', bad, '--json'], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
    } catch (e) {
      desktop = e.stderr;
    }
    const page_ = await page.evaluate((t) => window.diaspring.openDesign(t, 'x'), content);
    check(`bad file ${content}`, () => {
      assert.match(desktop, /^diaspring-cli: .+/);
      assert.match(page_, /\n窗口中的设计保留不变。$/);
    });
  }

  // The link and local storage: both bring back the design.
  const link = await page.evaluate(() => window.diaspring.shareLink());
  const hash = link.slice(link.indexOf('#'));
  await page.evaluate(() => { localStorage.clear(); });
  await load(hash);
  const fromLink = await page.evaluate(() => window.diaspring.saveDesign());
  check('link reproduces the design', () => assert.equal(fromLink, reopened.again));
  await load();  // no fragment: local storage
  const fromStore = await page.evaluate(() => window.diaspring.saveDesign());
  check('local storage restores the design', () => assert.equal(fromStore, reopened.again));
  // The automatic design in its worker: the designs of the headless front
  // end on one thread, all but the time it took.
  const withoutTime = (text) => {
    const o = JSON.parse(text);
    delete o.seconds;
    return o;
  };
  const designed = await page.evaluate(() => window.diaspring.runDesign(['--json', '--threads', '1']));
  check('automatic design', () => assert.deepEqual(withoutTime(designed.out),
    withoutTime(run(['design', '--json', '--threads', '1']))));
  check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
}

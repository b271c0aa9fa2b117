// The automatic design on several workers: the designs with 1, 2 and 4
// workers the same to the character as each other and as
// `diaspring-cli design --json` ("seconds" aside), the progress bar full at
// the end, and cancel stopping every worker at once.
//   node tests/web/pool_test.mjs SITE_DIR_OR_ONE_FILE CLI
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [target, cli] = process.argv.slice(2);
const { page, load, close, errors } = await openPage(target);
const { check, finish } = checker();
const withoutSeconds = (text) => text.replace(/"seconds":[^,}]*,?/, '');
const designByCli = (args) => {
  try {
    return { status: 0, out: execFileSync(cli, ['design', ...args], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }) };
  } catch (e) {
    return { status: e.status, out: e.stdout };
  }
};

try {
  await load();
  const defaults = await page.evaluate(() => window.diaspring.designArgs());
  await check('the page\'s request: the clutch\'s inputs as the command line names them, at the window\'s defaults', () => {
    // `diaspring-cli --help`'s "Input names:" rows (name, box, unit, default) up to the engine data.
    const help = execFileSync(cli, ['--help'], { encoding: 'utf8' });
    const rows = help.slice(help.indexOf('Input names:'), help.indexOf('Engine data'))
      .split('\n').map((line) => line.match(/^ {2}(\w+)\s+Text\d+\s+\S+\s+default (\S+)/)).filter(Boolean);
    assert.equal(rows.length, 13);
    const free = ['h', 'HoverH', 'R', 'RoverR'];
    const sets = rows.filter(([, name]) => !free.includes(name)).flatMap(([, name, value]) => ['--set', `${name}=${value}`]);
    assert.deepEqual(defaults.slice(0, 3 + sets.length), ['--json', '--threads', '1', ...sets]);
  });
  // The page's own request (the window's clutch at the 99 % least yield),
  // one no design meets (the explanation and the lower yield that lets
  // designs through, found by further searches), and two more with designs.
  const requests = [
    { name: 'the page\'s request', args: defaults },
    { name: 'a least yield no design meets', args: [...defaults, '--min-yield', '0.999'] },
    { name: 'no least yield', args: [...defaults, '--min-yield', '0', '--range', 'R=80:95'] },
    { name: 'a stiffer clutch', args: [...defaults, '--min-yield', '0.9', '--set', 'F=5200', '--range', 'RoverR=1.25:1.35'] },
  ];
  for (const { name, args } of requests) {
    const expected = designByCli(args);
    const runs = {};
    for (const workers of [1, 2, 4]) {
      runs[workers] = await page.evaluate(async (a, n) => {
        const seen = [];
        const outcome = await window.diaspring.runDesign(a, (done, total) => seen.push([done, total]), n);
        return { outcome, last: seen.at(-1) };
      }, args, workers);
    }
    for (const workers of [1, 2, 4]) {
      await check(`${name}, ${workers} workers: as the command line`, () => {
        const { outcome } = runs[workers];
        assert.equal(outcome.status, expected.status);
        assert.ok(outcome.out.includes('"designs":'), outcome.err);
        assert.equal(withoutSeconds(outcome.out), withoutSeconds(expected.out));
      });
      await check(`${name}, ${workers} workers: progress to the end`, () => {
        const [done, total] = runs[workers].last;
        assert.ok(total > 1 && done === total, `${done}/${total}`);
      });
    }
  }

  // By clicks: the bar full at the end; cancel stops every worker at once.
  await page.click('#autoDesign');
  await page.evaluate(() => { document.getElementById('designMinYield').value = '0'; });
  await page.click('#designStart');
  await page.waitForFunction(() => !document.getElementById('designStart').disabled, { timeout: 600000 });
  await check('the dialog: designs, the bar full', async () => {
    const r = await page.evaluate(() => ({ status: document.getElementById('designStatus').textContent,
      value: document.getElementById('designProgress').value, max: document.getElementById('designProgress').max }));
    assert.match(r.status, /^找到 \d+ 个互不占优的设计/);
    assert.ok(r.max > 1 && r.value === r.max, `${r.value}/${r.max}`);
  });
  // The browser's own count of the page's workers (a finished one may
  // linger in it for a while: counted from before the run).
  const workerCount = () => page.workers().length;
  const wait = async (ok, ms) => {
    const started = Date.now();
    while (!ok() && Date.now() - started < ms) await new Promise((next) => setTimeout(next, 20));
  };
  const before = workerCount();
  await page.evaluate(() => {
    const Plain = window.Worker;
    window.poolMade = [];
    window.Worker = class extends Plain {
      constructor(...a) {
        super(...a);
        window.poolMade.push(this);
      }
      terminate() {
        this.stopped = true;
        super.terminate();
      }
    };
    window.diaspring.runDesign(window.diaspring.designArgs(), () => {}, 4);
  });
  await wait(() => workerCount() >= before + 4, 30000);
  await check('four workers run', () => assert.equal(workerCount() - before, 4));
  const stopped = await page.evaluate(() => {
    window.diaspring.cancelDesign();
    return window.poolMade.map((w) => w.stopped === true);
  });
  await check('cancel terminates all four at once', () => assert.deepEqual(stopped, [true, true, true, true]));
  await wait(() => workerCount() <= before, 5000);
  await check('no worker runs after cancel', () => assert.ok(workerCount() <= before, `${workerCount()} > ${before}`));
  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
finish('pool: 1, 2 and 4 workers as the command line; progress to the end; cancel stops all');

// What the page shows beyond the state: the greyed stale boxes, the chart at
// the screen's pixel ratio and as SVG, refusals that leave the design as it
// was, and actions the headless front end would refuse.
//   node tests/web/page_test.mjs SITE_DIR
import assert from 'node:assert/strict';
import { openPage } from './browser.mjs';

const { page, load, close, errors } = await openPage(process.argv[2], { scale: 2 });
let failures = 0;
const check = async (label, fn) => {
  try {
    await fn();
  } catch (e) {
    ++failures;
    console.log(`FAIL ${label}: ${e.message.slice(0, 400)}`);
  }
};
const evaluate = (fn, ...args) => page.evaluate(fn, ...args);
const staleBoxes = () => evaluate(() => [...document.querySelectorAll('input.stale')].map((el) => el.id).sort());

const POINT_BOXES = ['Text5', 'Text8', ...Array.from({ length: 12 }, (_, i) => `Text${12 + i}`)];
const RULE_BOXES = ['Text24', 'Text25', 'Text26', 'Text27', 'Text28', 'Text29', 'Text30',
  'Text38', 'Text39', 'Text40', 'Text41', 'Text42'];
const sorted = (xs) => [...xs].sort();

try {
  await load();
  // Which boxes turn grey: an input of the curve greys the points and the
  // rules, one only the check reads greys the rules, an engine box nothing.
  const staleCases = [
    { edit: ['h', '2.3'], grey: [...POINT_BOXES, ...RULE_BOXES] },
    { edit: ['F', '5000'], grey: RULE_BOXES },
    { edit: ['Temax', '150'], grey: [] },
  ];
  for (const { edit, grey } of staleCases) {
    await evaluate((e) => {
      window.diaspring.reset();
      window.diaspring.act([{ press: 'Command1' }, { press: 'Command3' }, { set: e }]);
    }, edit);
    await check(`stale after ${edit}`, async () => assert.deepEqual(await staleBoxes(), sorted(grey)));
  }
  await evaluate(() => window.diaspring.act([{ press: 'Command1' }, { press: 'Command3' }]));
  await check('a new run clears the grey', async () => assert.deepEqual(await staleBoxes(), []));

  // The canvas has a backing store of device pixels; the SVG export holds
  // every visible line of the chart.
  await check('canvas at the device pixel ratio', async () => {
    const c = await evaluate(() => {
      const el = document.getElementById('Picture1');
      return [el.width, el.height, el.clientWidth, el.clientHeight];
    });
    assert.deepEqual([c[0], c[1]], [c[2] * 2, c[3] * 2]);
  });
  await check('SVG export', async () => {
    const { svg, lines } = await evaluate(async () => {
      const { chartSvg } = await import('./chart.js');
      const ops = window.diaspring.view().chart;
      return { svg: chartSvg(ops, 553, 297), lines: ops.filter((o) => o.op === 'line').length };
    });
    assert.equal((svg.match(/<line /g) || []).length, lines);
    assert.ok(lines > 100);
    assert.match(svg, /<text [^>]*>λ1\(mm\)\s*<\/text>/);
  });

  // Refusals: a broken link or file leaves the design; a bad action throws
  // the headless front end's message and runs nothing.
  const before = await evaluate(() => window.diaspring.saveDesign());
  await load('#design=A');
  await check('broken link refused', async () => {
    assert.match(await evaluate(() => document.getElementById('faultText').textContent), /窗口中的设计保留不变。$/);
  });
  const refusals = [
    [{ set: ['nosuchbox', '1'] }, /unknown name 'nosuchbox'/],
    [{ slider: ['HScroll1', 999] }, /outside its range 200 \.\.\. 400/],
    [{ press: 'Command4' }, /Command4/],
  ];
  for (const [action, message] of refusals) {
    await check(`refused ${JSON.stringify(action)}`, async () => {
      const r = await evaluate((a) => {
        const s = window.diaspring.stateText();
        try {
          window.diaspring.act([{ set: ['h', '3'] }, a]);
          return { thrown: null };
        } catch (e) {
          return { thrown: e.message, unchanged: s === window.diaspring.stateText() };
        }
      }, action);
      assert.match(r.thrown || '', message);
      assert.equal(r.unchanged, true);
    });
  }
  await check('design kept through the refusals', async () => assert.equal(await evaluate(() => window.diaspring.saveDesign()), before));

  // Each fault is named by the caption of the button that met it, in order.
  await evaluate(() => {
    window.diaspring.reset();
    window.diaspring.act([{ press: 'Command3' }, { set: ['h', '0'] }, { press: 'Command1' }]);
  });
  await check('fault messages', async () => {
    const [check3, curve] = await evaluate(() => window.diaspring.view().faultMessages);
    assert.match(check3, /^执行“计算并验证约束条件”时计算出错：/);
    assert.match(curve, /^执行“输出膜片弹簧曲线及描点”时计算出错：.+\n原因：/);
    assert.ok(await evaluate(() => !document.getElementById('fault').hidden));
  });
  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
if (failures > 0) {
  console.log(`${failures} failed`);
  process.exit(1);
}
console.log('page checks: all passed');

// What the page shows beyond the state: the greyed stale boxes, the chart at
// the screen's pixel ratio and as SVG, refusals that leave the design as it
// was, and actions the headless front end would refuse.
//   node tests/web/page_test.mjs SITE_DIR
import assert from 'node:assert/strict';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const { page, load, close, errors } = await openPage(process.argv[2], { scale: 2 });
const { check, finish } = checker();
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
  // A failed rule's box tells, as on the desktop, what its verdict rests on.
  await evaluate(() => window.diaspring.act([{ set: ['RoverR', '1.4'] }, { press: 'Command1' }, { press: 'Command3' }]));
  await check('a failed rule names its value and its range', async () =>
    assert.equal(await evaluate(() => document.getElementById('Text28').title),
      '约束 5：R/r= (1.2-1.35)\nR/r = 1.40，范围 1.2–1.35\n不合格'));
  await evaluate(() => { window.diaspring.reset(); window.diaspring.act([{ press: 'Command1' }, { press: 'Command3' }]); });

  // Captions: "H/h=" ends before its box and shows whole; a range in
  // parentheses stays on one line.
  await check('captions beside boxes and ranges', async () => {
    const r = await evaluate(() => {
      const label = document.getElementById('Label12');
      const ranges = [...document.querySelectorAll('#window .label .nobr')];
      return { right: label.getBoundingClientRect().right, box: document.getElementById('Text6').getBoundingClientRect().left,
        cut: label.scrollWidth > label.clientWidth, ranges: ranges.length, broken: ranges.filter((s) => s.getClientRects().length > 1).length };
    });
    assert.ok(r.right <= r.box && !r.cut, JSON.stringify(r));
    assert.ok(r.ranges >= 12 && r.broken === 0, JSON.stringify(r));
  });
  // Every caption shows whole inside its place (at 9 px the output points'
  // "F1M=" … "F1A=" need a narrower face) and clear of every box (to half a
  // pixel: a glyph's advance ends between pixels).
  await check('captions fit their places', async () => {
    const cut = await evaluate(() => {
      const boxes = [...document.querySelectorAll('#window input[type=text]')].map((b) => [b.id, b.getBoundingClientRect()]);
      return [...document.querySelectorAll('#window .label')].flatMap((el) => {
        const range = document.createRange();
        range.selectNodeContents(el);
        const text = range.getBoundingClientRect();
        const place = el.getBoundingClientRect();
        const faults = [];
        if (el.scrollWidth > el.clientWidth) faults.push(`${el.scrollWidth} > ${el.clientWidth} px`);
        if (text.width && (text.left < place.left - 0.5 || text.right > place.right + 0.5)) {
          faults.push(`text ${text.left.toFixed(1)}–${text.right.toFixed(1)} outside ${place.left.toFixed(1)}–${place.right.toFixed(1)}`);
        }
        for (const [id, b] of boxes) {
          if (text.width && text.left < b.right - 0.5 && text.right > b.left + 0.5 && text.top < b.bottom && text.bottom > b.top) faults.push(`on ${id}`);
        }
        return faults.length ? [`${el.id} ${el.textContent}: ${faults.join(', ')}`] : [];
      });
    });
    assert.deepEqual(cut, []);
  });
  // Captions shrink evenly: the captions of one group (a frame) share one
  // font size and width.
  await check('captions of a group shrunk evenly', async () => {
    const uneven = await evaluate(() => [...document.querySelectorAll('#window .frame')]
      .map((frame) => [...frame.children].filter((el) => el.classList.contains('label')))
      .filter((ls) => new Set(ls.map((el) => `${getComputedStyle(el).fontSize} ${getComputedStyle(el).transform}`)).size > 1)
      .map((ls) => ls.map((el) => `${el.id} ${getComputedStyle(el).fontSize} ${getComputedStyle(el).transform}`)));
    assert.deepEqual(uneven, []);
  });
  // The decorative spring: the steel ring and a finger inked, the central
  // hole, a slot between two fingers and the corners left clear, at the
  // pixel ratio.
  await check('spring picture', async () => {
    const r = await evaluate(() => {
      const el = document.getElementById('Image1');
      const ctx = el.getContext('2d');
      const half = el.width / 2;
      const alpha = (radius, turns) => ctx.getImageData(Math.round(half + radius * half * Math.cos(2 * Math.PI * turns)),
        Math.round(half + radius * half * Math.sin(2 * Math.PI * turns)), 1, 1).data[3];
      return { size: [el.width, el.clientWidth * 2], ring: alpha(0.8, 0.1), finger: alpha(0.45, 0.5 / 18), hole: alpha(0, 0),
        slot: alpha(0.45, 0), corner: alpha(1.4, 0.625) };
    });
    assert.equal(r.size[0], r.size[1]);
    assert.ok(r.size[0] > 100, JSON.stringify(r));
    // Through the slot shows at most the faint shadow of the finger beside it.
    assert.deepEqual([r.ring, r.finger, r.hole, r.slot < 64, r.corner], [255, 255, 0, true, 0], JSON.stringify(r));
  });
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
  // The analysis's two charts and the automatic design's trade-off chart:
  // drawn at the device pixel ratio from the core's display lists, with
  // their titles and keys; a picked design shows in red.
  await evaluate(() => {
    window.diaspring.reset();
    window.diaspring.act([{ press: 'Command1' }]);
    document.getElementById('analysis').open = true;
  });
  // The analysis section as the desktop's window: its points with their
  // decimals, check lines with limits and verdicts, the two strokes.
  await new Promise((ok) => setTimeout(ok, 100));
  await check('analysis section', async () => {
    const r = await evaluate(() => {
      const [table, checks] = document.querySelectorAll('#analysisBody table');
      return { points: [...table.rows].slice(1).map((tr) => tr.cells[0].textContent), first: [...table.rows[1].cells].map((c) => c.textContent),
        checks: [...checks.rows].map((tr) => tr.textContent) };
    });
    assert.deepEqual(r.points, ['M', 'N', 'H', 'B', 'A', 'C']);
    assert.match(r.first[1], /^\d+\.\d{3}$/);  // λ1 in mm, three decimals
    assert.ok(r.checks.some((t) => /限值.*通过$/.test(t)), r.checks.join('|'));
    assert.ok(r.checks.some((t) => t.startsWith('磨损后：最大分离力 F2max')), r.checks.join('|'));
  });
  await evaluate(() => {
    document.getElementById('autoDesign').click();
    // A least yield no design of the window's clutch reaches (the best about 99.5 %).
    document.getElementById('designMinYield').value = '99.9';
    document.getElementById('designStart').click();
  });
  await page.waitForFunction(() => !document.getElementById('designStart').disabled, { timeout: 600000 });
  // The page says so and what would open the space.
  await check('no robust design: what would open the space', async () => {
    const status = await evaluate(() => document.getElementById('designStatus').textContent);
    assert.match(status, /若把 最低生产合格率 从 99\.9 % 改为 [\d.]+ %，则有 \d+ 个设计满足全部要求/);
  });
  await evaluate(async () => {
    // Today's search.
    document.getElementById('designMinYield').value = '0';
    document.getElementById('designStart').click();
  });
  await page.waitForFunction(() => document.querySelectorAll('#designTable tr').length > 2, { timeout: 600000 });
  // The desktop dialog's columns and decimals.
  await check('automatic design table', async () => {
    const rows = await evaluate(() => [...document.querySelectorAll('#designTable tr')].slice(0, 2)
      .map((tr) => [...tr.children].slice(1).map((c) => c.textContent)));
    assert.deepEqual(rows[0], ['h (mm)', 'H/h', 'R (mm)', 'R/r', '磨损增量 (%)', '最大分离力 (N)', 'σImax (MPa)', 'F1B (N)', '生产合格率 (%)']);
    assert.deepEqual(rows[1].slice(4, 8).map((t) => t.split('.')[1]?.length), [3, 1, 1, 3]);
  });
  const RED = 0x0000ff;
  const charts = [
    { id: 'stressChart', ops: () => window.diaspring.view().analysisCharts.stress, texts: ['σI', 'σOM', '[σ]=1700'] },
    { id: 'releaseChart', ops: () => window.diaspring.view().analysisCharts.release, texts: ['F2/N', 'λ2/mm'] },
    { id: 'tradeOffChart', ops: () => window.diaspring.tradeOff(), texts: ['磨损后压紧力增量 (%)', 'σImax 1526'] },
  ];
  for (const { id, ops, texts } of charts) {
    await check(`${id} drawn`, async () => {
      const r = await evaluate((id_, ops_) => {
        const el = document.getElementById(id_);
        const list = (0, eval)(`(${ops_})`)();
        const ctx = el.getContext('2d');
        const pixels = ctx.getImageData(0, 0, el.width, el.height).data;
        let inked = 0;
        for (let i = 0; i < pixels.length; i += 4) if (pixels[i] + pixels[i + 1] + pixels[i + 2] < 600) ++inked;
        return { size: [el.width, el.height, el.clientWidth * 2, el.clientHeight * 2], inked,
          lines: list.filter((o) => o.op === 'line').length, texts: list.filter((o) => o.op === 'print').map((o) => o.text.trim()) };
      }, id, ops.toString());
      assert.deepEqual(r.size.slice(0, 2), r.size.slice(2));
      assert.ok(r.lines > 20 && r.inked > 2000, JSON.stringify([r.lines, r.inked]));
      for (const t of texts) assert.ok(r.texts.includes(t), `${t} not in ${r.texts.join('|')}`);
    });
  }
  await check('picked design in red', async () => {
    const red = () => evaluate((c) => window.diaspring.tradeOff().filter((o) => o.op === 'line' && o.color === c).length, RED);
    assert.equal(await red(), 0);
    await evaluate(() => document.querySelectorAll('#designTable tr')[2].click());
    assert.ok(await red() > 0);
  });
  await evaluate(() => document.getElementById('designClose').click());

  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
finish('page checks: all passed');

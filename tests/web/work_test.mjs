// What the page must never do to the engineer's work or results, driven by
// clicks and keys: typing into a result box, a partly-read number without
// its red frame and tooltip, a slider jumping after the program filled its
// box, a reload bringing a link back over later edits, replacing unsaved
// work without asking, a save without its time or under a stock name.
//   node tests/web/work_test.mjs SITE_DIR_OR_ONE_FILE CLI
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage } from './browser.mjs';
import { checker } from './checks.mjs';

const [target, cli] = process.argv.slice(2);
const { page, load, close, errors, dialogs, answer, downloads } = await openPage(target);
const { check, finish } = checker();
const value = (id) => page.evaluate((i) => document.getElementById(i).value, id);
const typeInto = async (id, text) => {
  await page.click(`#${id}`, { count: 3 });
  await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
};
const fresh = async () => {
  await page.evaluate(() => { window.diaspring.reset(); localStorage.clear(); });
};
const dir = mkdtempSync(join(tmpdir(), 'diaspring-work-'));

try {
  await load();

  // Result boxes take no typing; the sheet keeps the computed value.
  await page.click('#Command1');
  await page.click('#Command3');
  for (const id of ['Text18', 'Text5', 'Text24']) {
    await check(`${id} read-only`, async () => {
      const before = await value(id);
      await page.click(`#${id}`);
      await page.keyboard.type('9999');
      assert.equal(await value(id), before);
      assert.equal((await page.evaluate(() => window.diaspring.state())).fields[id], before);
    });
  }

  // Tooltips from the core on every box and slider; a partly-read number
  // framed red, its tooltip naming the number read.
  await check('every box and slider has a tooltip', async () => {
    const bare = await page.evaluate(() => [...document.querySelectorAll('#window input')].filter((el) => !el.title).map((el) => el.id));
    assert.deepEqual(bare, []);
  });
  const marks = [
    { text: '2,3', flagged: true, tip: /计算时读作 2。$/ },
    { text: '２.２', flagged: true, tip: /计算时读作 2\.2。$/ },
    { text: '1e999', flagged: true, tip: /超出数值范围/ },
    { text: '2.3', flagged: false, tip: /^h：膜片弹簧厚度（mm）\n常用范围：/ },
  ];
  for (const m of marks) {
    await typeInto('Text4', m.text);
    await check(`h "${m.text}" marked`, async () => {
      const r = await page.evaluate(() => {
        const el = document.getElementById('Text4');
        return { flagged: el.classList.contains('flagged'), outline: getComputedStyle(el).outlineColor, tip: el.title };
      });
      assert.equal(r.flagged, m.flagged);
      assert.match(r.tip, m.tip);
      if (m.flagged) assert.equal(r.outline, 'rgb(211, 47, 47)');
    });
  }
  await check('a slider tooltip', async () =>
    assert.match(await page.evaluate(() => document.getElementById('HScroll1').title), /^调节 h（膜片弹簧厚度）：2\.00–4\.00 mm/));

  // A design file opened with a text between slider steps: the next step of
  // the slider starts from the box's number.
  await fresh();
  const between = join(dir, 'between.diaspring');
  execFileSync(cli, ['--set', 'h=2.3537', '--save', between]);
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#openFile')]);
  await chooser.accept([between]);
  await page.waitForFunction(() => document.getElementById('Text4').value === '2.3537');
  await page.focus('#HScroll1');
  await page.keyboard.press('ArrowRight');
  await check('slider steps from the opened box', async () => assert.equal(await value('Text4'), '2.36'));

  // A link copied, the design edited, the page reloaded: the edits stay.
  await fresh();
  await page.click('#shareLink');
  await page.click('#faultClose');
  await typeInto('Text4', '2.61');
  await check('the address holds no link', async () => assert.equal(await page.evaluate(() => location.hash), ''));
  await page.reload();
  await page.waitForFunction(() => window.diaspring?.ready);
  await check('reload keeps the later edits', async () => assert.equal(await value('Text4'), '2.61'));

  // A link opened over unsaved work asks first; no keeps the work.
  const link = await page.evaluate(() => {
    window.diaspring.act([{ set: ['h', '3.1'] }]);
    return window.diaspring.shareLink();
  });
  await typeInto('Text4', '2.77');
  dialogs.length = 0;
  answer.accept = false;
  await page.goto(link);
  await page.waitForFunction(() => window.diaspring?.ready);
  await check('asked before the link replaced unsaved work', async () => {
    assert.equal(dialogs.length, 1);
    assert.match(dialogs[0], /未保存的修改/);
    assert.equal(await value('Text4'), '2.77');
  });
  // A file opened over unsaved work: asked; yes replaces.
  answer.accept = true;
  const [chooser2] = await Promise.all([page.waitForFileChooser(), page.click('#openFile')]);
  await chooser2.accept([between]);
  await page.waitForFunction(() => document.getElementById('Text4').value === '2.3537');
  await check('asked before the file replaced unsaved work', async () => assert.equal(dialogs.length, 2));
  // Saved work is replaced without a question.
  answer.accept = false;

  // 保存: the file opened keeps its name; the time of the save is written.
  const old = JSON.parse(readFileSync(between, 'utf8'));
  old.metadata.savedAt = '2001-01-01T00:00:00Z';
  old.metadata.partNumber = 'DS-0815';
  writeFileSync(join(dir, 'part.diaspring'), JSON.stringify(old));
  // The file a save downloads (a name saved before is written over).
  const listed = (ext = '.diaspring') => { try { return readdirSync(downloads).filter((f) => f.endsWith(ext)); } catch { return []; } };
  const stamp = (f) => statSync(join(downloads, f)).mtimeMs;
  const saveAndRead = async (save = () => page.click('#saveFile')) => {
    const before = new Map(listed().map((f) => [f, stamp(f)]));
    await save();
    for (let i = 0; i < 100; ++i) {
      const now = listed().filter((f) => before.get(f) !== stamp(f));
      if (now.length) {
        await new Promise((ok) => setTimeout(ok, 100));
        return [now[0], JSON.parse(readFileSync(join(downloads, now[0]), 'utf8'))];
      }
      await new Promise((ok) => setTimeout(ok, 100));
    }
    throw new Error('nothing downloaded');
  };
  await check('保存 under the opened file name, with the time', async () => {
    const [name, saved] = await saveAndRead();
    assert.equal(name, 'between.diaspring');
    assert.ok(Math.abs(Date.parse(saved.metadata.savedAt) - Date.now()) < 120000, saved.metadata.savedAt);
  });
  await check('nothing asked after a save', async () => {
    const [chooser3] = await Promise.all([page.waitForFileChooser(), page.click('#openFile')]);
    dialogs.length = 0;
    await chooser3.accept([join(dir, 'part.diaspring')]);
    await page.waitForFunction(() => document.title.startsWith('part.diaspring'));
    assert.equal(dialogs.length, 0);
  });
  await check('a new design is saved under its part number', async () => {
    await page.evaluate(() => {
      const text = window.diaspring.saveDesign();
      window.diaspring.reset();
      window.diaspring.openDesign(text, 'x');
    });
    const [name, saved] = await saveAndRead();
    assert.equal(name, 'DS-0815.diaspring');
    assert.notEqual(saved.metadata.savedAt, '2001-01-01T00:00:00Z');
  });
  // The title names the file and marks unsaved changes; Ctrl+S saves;
  // 新建 asks about unsaved work, then shows the window as it opens.
  await typeInto('Text4', '2.5');
  await check('title with the file name and the unsaved mark', async () =>
    assert.match(await page.title(), /^DS-0815\.diaspring \* – /));
  await check('Ctrl+S saves', async () => {
    const [, saved] = await saveAndRead(async () => {
      await page.keyboard.down('Control');
      await page.keyboard.press('s');
      await page.keyboard.up('Control');
    });
    assert.equal(saved.inputs.h, '2.5');
    assert.match(await page.title(), /^DS-0815\.diaspring – /);
  });
  await typeInto('Text4', '2.6');
  await check('新建 asks, then the window as it opens', async () => {
    dialogs.length = 0;
    answer.accept = true;
    await page.click('#newDesign');
    answer.accept = false;
    assert.equal(dialogs.length, 1);
    assert.equal(await value('Text4'), '2.2');
    assert.match(await page.title(), /^未命名 – /);
  });
  // 新建 by the keys, as a user presses them: Ctrl+N where the browser hands
  // it to the page, Alt+N everywhere; and the guide says which works.
  for (const keys of [['Control', 'n'], ['Alt', 'n']]) {
    await typeInto('Text4', '2.7');
    await check(`${keys.join('+')} 新建`, async () => {
      dialogs.length = 0;
      answer.accept = true;
      await page.keyboard.down(keys[0]);
      await page.keyboard.press(keys[1]);
      await page.keyboard.up(keys[0]);
      answer.accept = false;
      assert.equal(dialogs.length, 1);
      assert.equal(await value('Text4'), '2.2');
    });
  }
  // 设计信息: what is typed goes into the file saved.
  await page.click('#editInfo');
  await page.type('#infoProject', '重卡 430');
  await page.type('#infoDesigner', '王工');
  await page.click('#infoOk');
  await check('设计信息 saved with the design', async () => {
    const [name, saved] = await saveAndRead();
    assert.equal(name, '膜片弹簧设计.diaspring');
    assert.equal(saved.metadata.project, '重卡 430');
    assert.equal(saved.metadata.designer, '王工');
  });
  // The chart's menu by the right mouse button: the window's entries; SVG saved.
  await page.click('#Command1');
  await page.click('#Picture1', { button: 'right' });
  await check('chart menu', async () => {
    const items = await page.evaluate(() => (document.getElementById('chartMenu').hidden ? []
      : [...document.querySelectorAll('#chartMenu button')].map((b) => b.textContent)));
    assert.deepEqual(items, ['复制图表', '保存图表 (PNG)…', '保存图表 (SVG)…', '保存图表 (PDF)…', '导出设计报告…',
      '强度与分离特性…', '自动设计…']);
    await page.click('#chartMenu [data-do=svg]');
    for (let i = 0; i < 50 && !listed('.svg').length; ++i) await new Promise((ok) => setTimeout(ok, 100));
    assert.deepEqual(listed('.svg'), ['膜片弹簧特性曲线.svg']);
    await new Promise((ok) => setTimeout(ok, 200));
    assert.ok((readFileSync(join(downloads, '膜片弹簧特性曲线.svg'), 'utf8').match(/<line /g) || []).length > 100);
    assert.equal(await page.evaluate(() => document.getElementById('chartMenu').hidden), true);
  });
  // 最近打开的文件: the files opened, newest first; choosing one opens it.
  await check('最近打开的文件', async () => {
    const names = await page.evaluate(() => [...document.querySelectorAll('#recentFiles option')].slice(1).map((o) => o.textContent));
    assert.deepEqual(names, ['part.diaspring', 'between.diaspring']);
    await page.select('#recentFiles', '1');
    assert.equal(await value('Text4'), '2.3537');
    assert.match(await page.title(), /^between\.diaspring – /);
  });
  // 使用说明 by F1 and 关于: the desktop's texts.
  await page.keyboard.press('F1');
  await check('使用说明 by F1', async () => {
    const text = await page.evaluate(() => document.getElementById('textDialog').open && document.getElementById('textBody').innerText);
    assert.match(text || '', /^膜片弹簧设计计算 · 使用说明/);
    for (const words of ['膜片弹簧厚度', '工作点（新摩擦片压紧时）', '|F-F1B|= ( <1 )', '八、自动设计', '新建 Ctrl+N 或 Alt+N']) assert.ok(text.includes(words), words);
  });
  await page.keyboard.press('Escape');
  await page.click('#showAbout');
  await check('关于', async () => assert.match(await page.evaluate(() => document.getElementById('textBody').innerText),
    /^diaspring \d+\.\d+\.\d+\n[^]*GPL-3\.0-or-later/));
  await page.keyboard.press('Escape');
  await check('no page errors', () => assert.deepEqual(errors, []));
} finally {
  await close();
}
finish('work kept: all passed');

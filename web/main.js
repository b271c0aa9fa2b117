// The window in the page: the form built from the core's layout table, the
// nine events run by the core (WebAssembly), the chart drawn from its display
// list. Nothing leaves the browser.
import createDiaspring from './diaspring.mjs';
import { drawChart, chartSvg, replay, startCanvas, stepPacked, unpack } from './chart.js';
import { compareRequest, wireCompare } from './compare.js';
import { fitGroup, fitText } from './fit.js';
import { drawSpringPicture } from './picture.js';
import { sheetHtml } from './sheet.js';
import { showMaterial } from './material.js';
import { yieldSectionHtml } from './yield.js';
import { poolSize, runPool } from './design-pool.js';
import { coreOptions, startWorker } from './packed-core.js';

const STORE_KEY = 'diaspring.design';
const px = (twips) => Math.floor((twips + 7) / 15);

let core;
try {
  core = await createDiaspring(await coreOptions());
} catch (err) {
  window.diaspringFailed?.(`计算程序未能载入：${err?.message || err}`);
  throw err;
}
let win = new core.WebWindow();
let view = null;
let shownFaults = 0;
const root = document.getElementById('window');
let canvas = null;
let picture = null;  // the decorative spring

// ---------------------------------------------------------------------------
// The form, from the layout table.
function buildForm() {
  document.getElementById('loading')?.remove();
  const table = JSON.parse(core.layoutTable());
  const nodes = new Map();
  for (const c of table) {
    let el;
    switch (c.kind) {
      case 'form':
        root.style.width = `${px(c.width)}px`;
        root.style.height = `${px(c.height)}px`;
        nodes.set(c.name, root);
        continue;
      case 'frame':
        el = document.createElement('div');
        el.className = 'frame';
        el.innerHTML = '<span class="caption"></span>';
        el.firstChild.textContent = c.text;
        break;
      case 'label':
        el = document.createElement('div');
        el.className = 'label';
        // A range in parentheses, "(1.2-1.35)", never breaks inside.
        for (const part of c.text.split(/(\([^)]*\))/)) {
          if (!part) continue;
          if (part.startsWith('(')) el.appendChild(Object.assign(document.createElement('span'), { className: 'nobr', textContent: part }));
          else el.appendChild(document.createTextNode(part));
        }
        break;
      case 'text':
        el = document.createElement('input');
        el.type = 'text';
        el.value = c.text;
        el.readOnly = Boolean(c.readOnly);  // the results: written by the program only
        el.addEventListener('input', () => act([{ set: [c.name, el.value] }]));
        break;
      case 'slider':
        el = document.createElement('input');
        el.type = 'range';
        el.min = c.min;
        el.max = c.max;
        el.value = c.value;
        el.title = c.tip;
        el.addEventListener('input', () => act([{ slider: [c.name, Number(el.value)] }]));
        break;
      case 'button':
        el = document.createElement('button');
        el.type = 'button';
        el.textContent = c.text;
        el.addEventListener('click', () => act([{ press: c.name }]));
        break;
      case 'picture':
        el = canvas = document.createElement('canvas');
        el.setAttribute('role', 'img');
        el.setAttribute('aria-label', '膜片弹簧特性曲线');
        break;
      case 'image':
        el = picture = document.createElement('canvas');
        el.className = 'picture';
        el.setAttribute('aria-hidden', 'true');
        break;
      default:
        continue;
    }
    el.id = c.name;
    el.style.left = `${px(c.left)}px`;
    el.style.top = `${px(c.top)}px`;
    el.style.width = `${px(c.width)}px`;
    el.style.height = `${px(c.height)}px`;
    if (c.tabIndex >= 0 && c.kind !== 'label' && c.kind !== 'frame') el.tabIndex = c.tabIndex + 1;
    (nodes.get(c.parent) || root).appendChild(el);
    nodes.set(c.name, el);
  }
  // A label ends where a box beside it begins ("H/h=" before its box), and
  // begins 2 px after a box that reaches into it ("λ1H="): the system's fonts
  // are wider than the window's, and the text shrinks to fit.
  const boxes = [...root.querySelectorAll('input[type=text]')].map((b) => [b, b.getBoundingClientRect()]);
  for (const label of root.querySelectorAll('.label')) {
    const r = label.getBoundingClientRect();
    for (const [, b] of boxes) {
      if (b.top >= r.bottom || b.bottom <= r.top) continue;
      if (b.left > r.left && b.left < r.right) label.style.width = `${Math.floor(b.left - r.left)}px`;
      const beside = Math.min(b.bottom, r.bottom) - Math.max(b.top, r.top) > 2;  // more than a frame's edge
      if (beside && b.left < r.left && b.right >= r.left && b.right < r.right) label.style.paddingLeft = `${Math.ceil(b.right + 2 - r.left)}px`;
    }
  }
  for (const el of root.querySelectorAll('button, input[type=text]')) fitText(el);
  for (const el of root.querySelectorAll('.label')) if (!el.parentElement.classList.contains('frame')) fitText(el);
  for (const frame of root.querySelectorAll('.frame')) fitGroup([...frame.children].filter((el) => el.classList.contains('label')));
  if (picture) {
    const data = JSON.parse(core.springPicture());
    const draw = () => drawSpringPicture(picture, data);
    draw();
    const watchRatio = () => matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
      draw();
      watchRatio();
    }, { once: true });
    watchRatio();
  }
}

// ---------------------------------------------------------------------------
// Showing the session.
function show() {
  view = JSON.parse(win.view());
  const { fields, sliders } = view.state;
  // The charts' operations as lists, made only when asked for (exports,
  // the sheet, the analysis's charts): the page draws the window's chart
  // from the packed operations, only what each press adds.
  let charts;
  Object.defineProperties(view, {
    chart: { get: chartOps, enumerable: true },
    analysisCharts: { get: () => (charts === undefined ? (charts = analysisCharts()) : charts), enumerable: true },
  });
  for (const [name, text] of Object.entries(fields)) {
    const el = document.getElementById(name);
    if (el && el.value !== text) {
      el.value = text;
      fitText(el);
    }
  }
  for (const [name, value] of Object.entries(sliders)) {
    const el = document.getElementById(name);
    if (el && Number(el.value) !== value) el.value = value;
  }
  const stale = new Set(view.stale);
  for (const el of root.querySelectorAll('input[type=text]')) {
    el.classList.toggle('stale', stale.has(el.id));
    const [tip, flagged] = view.marks[el.id] || ['', false];
    if (el.title !== tip) el.title = tip;
    el.classList.toggle('flagged', flagged);
  }
  showTitle();
  drawMainChart();
  showAnalysis();
  drawAnalysisCharts();
  if (view.faultMessages.length > shownFaults) {
    document.getElementById('faultText').textContent = view.faultMessages.slice(shownFaults).join('\n\n');
    document.getElementById('fault').hidden = false;
  }
  shownFaults = view.faultMessages.length;
  document.dispatchEvent(new Event('diaspring-shown'));
}

// The strength and release analysis of the last curve run, with its inputs.
let analysisInputsBuilt = false;
function showAnalysis() {
  const inputs = document.getElementById('analysisInputs');
  showMaterial(view, { materials: () => win.materials(), choose: (name) => { win.chooseMaterial(name); show(); remember(); } });
  if (!analysisInputsBuilt) {
    analysisInputsBuilt = true;
    for (const e of view.extraInputs) {
      const label = document.createElement('label');
      label.textContent = `${e.symbol} (${e.unit}) `;
      label.title = e.meaning;
      const input = Object.assign(document.createElement('input'), { type: 'text', id: `extra-${e.name}`, placeholder: e.default });
      input.addEventListener('input', () => act([{ set: [e.name, input.value || e.default] }]));
      label.appendChild(input);
      inputs.appendChild(label);
    }
  }
  for (const e of view.extraInputs) {
    const input = document.getElementById(`extra-${e.name}`);
    const text = view.extras[e.name] ?? '';
    if (document.activeElement !== input && input.value !== text) input.value = text;
  }
  const body = document.getElementById('analysisBody');
  if (!document.getElementById('analysis').open) return;  // filled when opened
  const a = JSON.parse(win.analysisView());
  if (!a) {
    body.textContent = '先按“输出膜片弹簧曲线及描点”计算特性曲线。';
    return;
  }
  if (a.error) {
    body.textContent = `无法分析：${a.error}`;
    return;
  }
  // The desktop window's table, check lines and strokes, with its decimals.
  const esc = (t) => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;');
  const stale = view.stale.includes('Text12');
  let html = stale ? '<p class="fail">输入已修改：以下为上次计算的设计的分析，请按“输出膜片弹簧曲线及描点”重新计算。</p>'
    : '<p>最近一次曲线计算的分析（压应力为负）。</p>';
  html += `<table${stale ? ' class="stale"' : ''}><tr><th></th>${a.columns.map(([sym, unit]) => `<th>${esc(sym)} (${esc(unit)})</th>`).join('')}</tr>`;
  for (const [point, ...cells] of a.rows) html += `<tr><th>${point}</th>${cells.map((c) => `<td>${esc(c)}</td>`).join('')}</tr>`;
  html += '</table><table class="checks">';
  for (const [what, value, limit, pass, verdict, basis] of a.checks) {
    html += `<tr><td>${esc(what)}</td><td>${esc(value)}</td><td>限值 ${esc(limit)}</td>` +
      `<td class="${verdict.includes('示例数据') ? 'example' : pass ? 'pass' : 'fail'}" title="依据：${esc(basis)}">${esc(verdict)}</td></tr>` +
      `<tr class="basis"><td colspan="4">依据：${esc(basis)}</td></tr>`;
  }
  for (const [name, [f2, at, end]] of [['新摩擦片', a.strokes[0]], ['磨损后', a.strokes[1]]]) {
    html += `<tr><td>${name}：最大分离力 F2max</td><td>${f2} N（λ1 = ${at} mm）</td><td>行程终点 λ2 = ${end} mm</td><td></td></tr>`;
  }
  body.innerHTML = `${html}</table>${yieldSectionHtml(JSON.parse(win.yieldView()), stale)}`;
}

// Draws on the window's canvas what the chart added since it was last
// drawn; all of it when the chart was cleared or replaced, or with
// `repaint` (the canvas resized, another device pixel ratio).
let painter = null;
function drawMainChart(repaint = false) {
  const delta = win.chartDelta();
  let { ops, texts } = delta;
  if (delta.full || repaint || !painter) {
    painter = startCanvas(canvas);
    if (!delta.full) {
      ops = win.chartOps();
      texts = JSON.parse(win.chartTexts());
    }
  }
  stepPacked(painter, ops, texts);
}

function watchCanvas() {
  new ResizeObserver(() => drawMainChart(true)).observe(canvas);
  const watchRatio = () => matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
    drawMainChart(true);
    watchRatio();
  }, { once: true });
  watchRatio();
}

// The window's visible chart.
function chartOps() {
  return unpack(win.chartOps().slice(), JSON.parse(win.chartTexts()));
}

// The analysis's two charts of the last curve run ({stress, release}, each
// a list of operations), or null.
function analysisCharts() {
  const charts = win.analysisCharts();
  return charts && { stress: unpack(charts.stress.ops, charts.stress.texts), release: unpack(charts.release.ops, charts.release.texts) };
}

// Draws the analysis's charts (the canvases have no size while their
// section is closed: drawn again when it opens).
function drawAnalysisCharts() {
  const box = document.getElementById('analysisCharts');
  const a = view.state.analysis;
  box.hidden = !a || Boolean(a.error);
  if (box.hidden || !document.getElementById('analysis').open || !view.analysisCharts) return;
  drawChart(document.getElementById('stressChart'), view.analysisCharts.stress);
  drawChart(document.getElementById('releaseChart'), view.analysisCharts.release);
}

// The page's actions in the headless front end's terms.
function toArgs(list) {
  const args = [];
  for (const a of list) {
    if (a.set) args.push('--set', `${a.set[0]}=${a.set[1]}`);
    else if (a.slider) args.push('--slider', `${a.slider[0]}=${a.slider[1]}`);
    else if (a.press) args.push('--press', String(a.press));
    else throw new Error(`unknown action ${JSON.stringify(a)}`);
  }
  return args;
}

function act(list) {
  const result = JSON.parse(win.act(JSON.stringify(toArgs(list))));
  if (result.error) throw new Error(result.error);
  show();
  if (list.some((a) => a.press === 'Command1')) document.dispatchEvent(new Event('diaspring-curve-ran'));
  remember();
  return result;
}

// ---------------------------------------------------------------------------
// Design files, the link, local storage.

// The browser's local storage, or null where it is forbidden (some browsers
// refuse it to a page opened from a file); the page then says so once.
const store = (() => {
  try {
    const s = window.localStorage;
    s.getItem(STORE_KEY);
    return s;
  } catch {
    return null;
  }
})();
if (!store) {
  const note = document.getElementById('storageNote');
  note.textContent = '此浏览器不允许本页使用本地存储（从文件打开时常见）：关闭或刷新页面后设计不会自动恢复，请先“保存”。';
  note.hidden = false;
}

// What the design was when it was last opened or saved (the window's as it
// opens before either), and the file it came from: whether the window holds
// unsaved work, the title, the name 保存 gives.
let savedText = '';
let fileName = '';
const SAVED_KEY = 'diaspring.saved';
const FILE_KEY = 'diaspring.file';
const modified = () => win.saveDesign() !== savedText;

function remember() {
  try {
    store?.setItem(STORE_KEY, win.saveDesign());
    store?.setItem(SAVED_KEY, savedText);
    store?.setItem(FILE_KEY, fileName);
  } catch { /* storage full: the page works on without it */ }
}

function showTitle() {
  const title = `${fileName || '未命名'}${modified() ? ' *' : ''} – diaspring 膜片弹簧设计`;
  if (document.title !== title) document.title = title;
}

// Whether the window's design may be replaced by `what`: at once when it
// holds no unsaved work, else when the user agrees.
function mayReplace(what) {
  return !modified() || window.confirm(`当前设计有未保存的修改。${what}将替换它，这些修改会丢失。\n\n仍要继续吗？`);
}

// The name 保存 gives: the file the design came from, else its part number.
function saveName() {
  if (fileName) return fileName;
  const part = JSON.parse(win.saveDesign()).metadata?.partNumber?.trim();
  return `${part ? part.replace(/[\\/:*?"<>|\s]+/g, '_') : '膜片弹簧设计'}.diaspring`;
}

// 保存 under the name the design has; 另存为 under one the user gives
// (".diaspring" added when missing).
function saveFile(asked = false) {
  let name = saveName();
  if (asked) {
    const given = window.prompt('另存为（文件名）：', name)?.trim();
    if (!given) return;
    name = /\.diaspring$/i.test(given) ? given : `${given}.diaspring`;
  }
  const result = JSON.parse(win.saveDesignFile(name));
  if (result.error) {
    showMessage(result.error);
    return;
  }
  download(name, 'application/json', result.text);
  fileName = name;
  savedText = win.saveDesign();
  show();
  remember();
}

// Opens a design file's text in a fresh window: '' or the refusal, the
// window then unchanged. `file`: the name of the file it came from, if any.
function openText(text, name, file = '') {
  const next = new core.WebWindow();
  const refusal = next.openDesign(text, name);
  if (refusal) {
    next.delete();
    return refusal;
  }
  win.delete();
  win = next;
  if (file) win.setFileName(file);
  fileName = file;
  savedText = win.saveDesign();
  shownFaults = 0;
  show();
  remember();
  return '';
}

function download(name, type, data) {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const a = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

const toBase64Url = (text) => {
  const bytes = new TextEncoder().encode(text);
  let bin = '';
  for (const b of bytes) bin += String.fromCharCode(b);
  return btoa(bin).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
};
const fromBase64Url = (s) => {
  const bin = atob(s.replace(/-/g, '+').replace(/_/g, '/'));
  return new TextDecoder().decode(Uint8Array.from(bin, (c) => c.charCodeAt(0)));
};

function shareLink() {
  return `${location.href.split('#')[0]}#design=${toBase64Url(win.saveDesign())}`;
}

// Opens the design of a link (#design=...) once: the address then drops it,
// so that a reload brings back the latest edits, not the link's design.
function openFromHash() {
  const m = /^#design=(.*)$/.exec(location.hash);
  if (!m) return false;
  history.replaceState(null, '', location.href.split('#')[0]);
  let text;
  try {
    text = fromBase64Url(m[1]);
  } catch {
    showMessage('链接中的设计无法读取（编码不完整）。窗口中的设计保留不变。');
    return true;
  }
  if (!mayReplace('链接中的设计')) return true;
  const refusal = openText(text, '链接');
  if (refusal) showMessage(refusal);
  return true;
}

function showMessage(text) {
  document.getElementById('faultText').textContent = text;
  document.getElementById('fault').hidden = false;
}

// 设计信息: the project, part number, designer and notes, kept in the file
// and on the sheet; the time of the last save, shown in local time.
function wireInfo() {
  const dialog = document.getElementById('infoDialog');
  const fields = { project: 'infoProject', partNumber: 'infoPart', designer: 'infoDesigner', notes: 'infoNotes' };
  document.getElementById('editInfo').addEventListener('click', () => {
    const m = JSON.parse(win.metadata());
    for (const [key, id] of Object.entries(fields)) document.getElementById(id).value = m[key];
    const saved = m.savedAt && new Date(m.savedAt);
    document.getElementById('infoSaved').textContent = !m.savedAt ? '尚未保存'
      : Number.isNaN(saved.getTime()) ? m.savedAt : saved.toLocaleString('zh-CN');
    dialog.showModal();
  });
  dialog.addEventListener('close', () => {
    if (dialog.returnValue !== 'ok') return;
    const edited = Object.fromEntries(Object.entries(fields).map(([key, id]) => [key, document.getElementById(id).value]));
    const refusal = win.setMetadata(JSON.stringify(edited));
    if (refusal) showMessage(refusal);
    show();
    remember();
  });
}

// 使用说明 and 关于: the desktop's texts, from the core; the guide ends with
// the page's own shortcuts.
const PAGE_KEYS = '<h3>网页版的快捷键</h3><p>新建 Ctrl+N 或 Alt+N（多数浏览器把 Ctrl+N 留给自己的“新窗口”，' +
  '网页收不到：请用 Alt+N）；打开 Ctrl+O；保存 Ctrl+S；另存为 Ctrl+Shift+S；打印设计报告 Ctrl+P；使用说明 F1。</p>';
const guideHtml = () => core.guideHtml() + PAGE_KEYS;
function showText(html) {
  document.getElementById('textBody').innerHTML = html;
  document.getElementById('textDialog').showModal();
}

// 新建: the window as it opens, after asking about unsaved work.
function newDesign() {
  if (!mayReplace('新建的设计')) return;
  win.delete();
  win = new core.WebWindow();
  fileName = '';
  savedText = win.saveDesign();
  shownFaults = 0;
  document.getElementById('fault').hidden = true;
  show();
  remember();
}

async function openFile(file) {
  const text = await file.text();
  if (!mayReplace(`文件“${file.name}”`)) return;
  const refusal = openText(text, file.name, file.name);
  if (refusal) showMessage(refusal);
  else rememberRecent(file.name, text);
}

// 最近打开的文件: the page cannot open a file again by its path, so it keeps
// the last eight files' names and texts in local storage (where allowed).
const RECENT_KEY = 'diaspring.recent';
const MAX_RECENT = 8;
const recentList = () => {
  try {
    return JSON.parse(store?.getItem(RECENT_KEY) || '[]');
  } catch {
    return [];
  }
};
function showRecent() {
  const select = document.getElementById('recentFiles');
  const list = recentList();
  select.replaceChildren(select.options[0], ...list.map(([name], i) => new Option(name, String(i))));
  select.disabled = list.length === 0;
  select.value = '';
}
function rememberRecent(name, text) {
  const list = [[name, text], ...recentList().filter(([n]) => n !== name)].slice(0, MAX_RECENT);
  try {
    store?.setItem(RECENT_KEY, JSON.stringify(list));
  } catch { /* storage full: the list stays as it was */ }
  showRecent();
}
function openRecent(index) {
  const entry = recentList()[index];
  if (!entry || !mayReplace(`文件“${entry[0]}”`)) {
    showRecent();
    return;
  }
  const refusal = openText(entry[1], entry[0], entry[0]);
  if (refusal) showMessage(refusal);
  showRecent();
}

function wireBar() {
  const picker = document.getElementById('filePicker');
  document.getElementById('openFile').addEventListener('click', () => picker.click());
  picker.addEventListener('change', () => {
    const file = picker.files[0];
    picker.value = '';  // so that the same file chosen again opens again
    if (file) openFile(file);
  });
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files[0]) openFile(e.dataTransfer.files[0]);
  });
  document.getElementById('saveFile').addEventListener('click', () => saveFile());
  document.getElementById('saveAs').addEventListener('click', () => saveFile(true));
  document.getElementById('newDesign').addEventListener('click', newDesign);
  const recent = document.getElementById('recentFiles');
  recent.addEventListener('change', () => recent.value && openRecent(Number(recent.value)));
  showRecent();
  document.getElementById('showGuide').addEventListener('click', () => showText(guideHtml()));
  document.getElementById('showAbout').addEventListener('click', () => showText(core.aboutHtml()));
  document.addEventListener('keydown', (e) => {
    if (e.key !== 'F1') return;
    e.preventDefault();
    showText(guideHtml());
  });
  // The desktop's shortcuts, where the browser leaves them to the page.
  // Most browsers keep Ctrl+N for a new window of their own: Alt+N is 新建
  // too (by the key's place: Alt changes the character on some layouts).
  document.addEventListener('keydown', (e) => {
    if (e.altKey && !e.ctrlKey && !e.metaKey && !e.shiftKey && e.code === 'KeyN') {
      e.preventDefault();
      newDesign();
      return;
    }
    if (!(e.ctrlKey || e.metaKey) || e.altKey) return;
    const key = e.key.toLowerCase();
    const run = { n: newDesign, o: () => picker.click(), s: () => saveFile(e.shiftKey), p: () => window.print() }[key];
    if (!run) return;
    e.preventDefault();
    run();
  });
  // The link goes to the clipboard, never into the address bar (a reload
  // would bring it back over later edits); where the clipboard is refused,
  // the page shows it to copy by hand.
  document.getElementById('shareLink').addEventListener('click', async () => {
    const link = shareLink();
    try {
      await navigator.clipboard.writeText(link);
      showMessage('设计的链接已复制到剪贴板。');
    } catch {
      showMessage(`浏览器不允许本页写入剪贴板，请手动复制下面的链接：\n\n${link}`);
    }
  });
  document.getElementById('exportSvg').addEventListener('click', () => chartExport('svg'));
  document.getElementById('exportPng').addEventListener('click', () => chartExport('png'));
  document.getElementById('faultClose').addEventListener('click', () => {
    document.getElementById('fault').hidden = true;
  });
  window.addEventListener('hashchange', openFromHash);
  document.getElementById('printSheet').addEventListener('click', () => window.print());
  // Whatever prints the page (the button, the browser's menu) prints the
  // design sheet of the session as it is then.
  window.addEventListener('beforeprint', buildSheet);
  window.addEventListener('afterprint', () => { printChartOnly = false; });
}

// The chart at twice its size as a PNG blob.
function chartPng() {
  const scale = 2;
  const c = document.createElement('canvas');
  c.width = canvas.clientWidth * scale;
  c.height = canvas.clientHeight * scale;
  const ctx = c.getContext('2d');
  ctx.scale(scale, scale);
  replay(ctx, view.chart, canvas.clientWidth, canvas.clientHeight, 1 / scale);
  return new Promise((ok) => c.toBlob(ok, 'image/png'));
}

const CHART_NAME = '膜片弹簧特性曲线';
let printChartOnly = false;
async function chartExport(kind) {
  if (kind === 'svg') download(`${CHART_NAME}.svg`, 'image/svg+xml', chartSvg(view.chart, canvas.clientWidth, canvas.clientHeight));
  else if (kind === 'png') download(`${CHART_NAME}.png`, 'image/png', await chartPng());
  else if (kind === 'pdf') {
    // The browser's print dialog saves the chart alone as PDF.
    printChartOnly = true;
    window.print();
  }
}

// The chart's menu (right mouse button or the menu key), as the window's.
function wireChartMenu() {
  const menu = document.getElementById('chartMenu');
  const hide = () => { menu.hidden = true; };
  canvas.addEventListener('contextmenu', (e) => {
    e.preventDefault();
    const box = canvas.getBoundingClientRect();
    const x = e.clientX || box.left + box.width / 2;
    const y = e.clientY || box.top + box.height / 2;
    menu.hidden = false;
    menu.style.left = `${Math.min(x, innerWidth - menu.offsetWidth - 4)}px`;
    menu.style.top = `${Math.min(y, innerHeight - menu.offsetHeight - 4)}px`;
    menu.querySelector('button').focus();
  });
  document.addEventListener('mousedown', (e) => { if (!menu.contains(e.target)) hide(); });
  document.addEventListener('keydown', (e) => { if (e.key === 'Escape') hide(); });
  const actions = {
    copy: async () => {
      try {
        const blob = await chartPng();
        await navigator.clipboard.write([new ClipboardItem({ 'image/png': blob })]);
      } catch {
        showMessage('浏览器不允许本页写入剪贴板。请用“保存图表 (PNG)…”保存图像。');
      }
    },
    png: () => chartExport('png'),
    svg: () => chartExport('svg'),
    pdf: () => chartExport('pdf'),
    sheet: () => window.print(),
    analysis: () => {
      const a = document.getElementById('analysis');
      a.open = true;
      a.scrollIntoView();
    },
    design: () => document.getElementById('designDialog').show(),
  };
  for (const item of menu.querySelectorAll('button')) {
    item.addEventListener('click', () => {
      hide();
      actions[item.dataset.do]();
    });
  }
}

function buildSheet() {
  if (printChartOnly) {
    document.getElementById('sheet').innerHTML =
      `<article class="page"><figure class="main">${chartSvg(view.chart, canvas.clientWidth, canvas.clientHeight)}</figure></article>`;
    return;
  }
  const s = JSON.parse(win.sheet());
  document.getElementById('sheet').innerHTML = sheetHtml({ ...s, inputsEdited: s.inputsEdited || comparison.stale() }, view.chart,
    [canvas.clientWidth, canvas.clientHeight], view.analysisCharts, comparison.sheetPage());
}

// ---------------------------------------------------------------------------
// The automatic design, in a Web Worker so that the page stays responsive.
const NAMED_BOXES = { h: 'Text4', HoverH: 'Text6', R: 'Text7', RoverR: 'Text9', dLambda: 'Text10',
  lambda1f: 'Text11', E: 'Text31', mu: 'Text32', F: 'Text33', D: 'Text34', d: 'Text35', r0: 'Text36', rf: 'Text37' };
const FREE_INPUTS = ['h', 'HoverH', 'R', 'RoverR'];
let running = null;

// Runs `diaspring-cli design` with these arguments on `workers` workers
// (one per core, at most 8); resolves to its outcome ({status, out, err}),
// or to null when cancelled.
function runDesign(args, onProgress = () => {}, workers = poolSize()) {
  cancelDesign();
  const run = running = runPool(args, { workers, makeWorker: designWorker, onProgress });
  return run.promise.then((outcome) => {
    if (running === run) running = null;
    return outcome;
  });
}

// The automatic design's worker: the site's module worker, or in the
// one-file page the core's classic script and the worker's text from a Blob.
let workerUrl = null;
function designWorker() {
  const source = document.getElementById('diaspring-worker');
  if (!source) return new Worker('design-worker.js', { type: 'module' });
  workerUrl ??= URL.createObjectURL(new Blob([document.getElementById('diaspring-core').textContent, source.textContent],
    { type: 'text/javascript' }));
  return startWorker(new Worker(workerUrl));
}

// Stops every worker of the running design at once.
function cancelDesign() {
  if (!running) return;
  const run = running;
  running = null;
  run.cancel();
}

function designArgs() {
  const args = ['--json', '--threads', '1'];
  // The spring's four free inputs are what the search chooses; the rest is
  // the clutch's data as the boxes hold it.
  for (const [name, box] of Object.entries(NAMED_BOXES)) {
    if (!FREE_INPUTS.includes(name)) args.push('--set', `${name}=${view.state.fields[box]}`);
  }
  for (const [name, text] of Object.entries(view.extras)) args.push('--set', `${name}=${text}`);
  // The least production yield in per cent, as the command line takes it (a share).
  const minYield = Number(document.getElementById('designMinYield').value);
  args.push('--min-yield', Number.isFinite(minYield) ? String(minYield / 100) : 'bad');
  return args;
}

function wireDesign() {
  const dialog = document.getElementById('designDialog');
  const status = document.getElementById('designStatus');
  const bar = document.getElementById('designProgress');
  const start = document.getElementById('designStart');
  const cancel = document.getElementById('designCancel');
  document.getElementById('autoDesign').addEventListener('click', () => dialog.show());
  document.getElementById('designClose').addEventListener('click', () => { cancelDesign(); dialog.close(); });
  cancel.addEventListener('click', cancelDesign);
  start.addEventListener('click', async () => {
    start.disabled = true;
    cancel.disabled = false;
    status.textContent = '搜索中…';
    const outcome = await runDesign(designArgs(), (done, total) => { bar.max = total; bar.value = done; });
    start.disabled = false;
    cancel.disabled = true;
    if (!outcome) {
      status.textContent = '已取消';
      return;
    }
    if (outcome.status === 2 || !outcome.out) {
      status.textContent = outcome.err;
      return;
    }
    const result = JSON.parse(outcome.out);
    if (result.infeasible) {
      // No design passes: the window's explanation and what would open the space.
      status.textContent = result.infeasible.explanationZh;
      status.classList.add('fault');
      showDesigns(result);
      return;
    }
    status.classList.remove('fault');
    const seconds = core.formatNumber(result.seconds, '0.00');
    status.textContent = `找到 ${result.designs.length} 个互不占优的设计（全部约束合格的 ${result.feasible} 个，` +
      `共检查 ${result.evaluated} 个网格点，用时 ${seconds} s）。点“应用到主窗口”把它放入主窗口。`;
    showDesigns(result);
  });
}

function showDesigns(result) {
  const cols = ['h', 'HoverH', 'R', 'RoverR'];
  const table = document.createElement('table');
  // The desktop dialog's columns, with its decimals.
  table.innerHTML = `<tr><th></th>${['h (mm)', 'H/h', 'R (mm)', 'R/r', '磨损增量 (%)', '最大分离力 (N)', 'σImax (MPa)', 'F1B (N)', '生产合格率 (%)']
    .map((c) => `<th>${c}</th>`).join('')}</tr>`;
  const f = (x, pattern) => (x === null || x === undefined ? '' : core.formatNumber(x, pattern));
  for (const [index, d] of result.designs.entries()) {
    const tr = document.createElement('tr');
    const apply = Object.assign(document.createElement('button'), { type: 'button', textContent: '应用到主窗口' });
    apply.addEventListener('click', () => {
      act(Object.entries(d.inputs).map(([n, t]) => ({ set: [n, t] })));
      win.syncSliders();  // as the window does after filling the boxes itself
      act([{ press: 'Command1' }]);
      document.getElementById('designDialog').close();  // out of the way of the design applied
    });
    const td = document.createElement('td');
    td.appendChild(apply);
    td.appendChild(Object.assign(document.createElement('button'), { type: 'button', textContent: '加入曲线对比',
      onclick: (e) => { e.stopPropagation(); comparison.addDesign(d.inputs, `自动设计 #${index + 1}`); } }));
    tr.appendChild(td);
    for (const v of [...cols.map((c) => d.inputs[c]), f(d.wearRise * 100, '0.000'), f(d.releaseForceMax, '0.0'),
      f(d.sigmaImax, '0.0'), f(d.F1B, '0.000'),
      d.productionYield === undefined || d.productionYield === null ? '—' : f(d.productionYield * 100, '0.00')]) {
      tr.appendChild(Object.assign(document.createElement('td'), { textContent: v }));
    }
    tr.addEventListener('click', () => {
      for (const row of table.querySelectorAll('tr.picked')) row.classList.remove('picked');
      tr.classList.add('picked');
      drawTradeOff(result.designs, index);
    });
    table.appendChild(tr);
  }
  document.getElementById('designTable').replaceChildren(table);
  drawTradeOff(result.designs, -1);
}

// The designs' trade-off (wear rise against release force, coloured by the
// stress, with its key), `picked` picked out in red (-1: none).
let tradeOff = null;
function drawTradeOff(designs, picked) {
  const points = designs.map((d) => [d.wearRise, d.releaseForceMax, d.sigmaImax ?? null]);
  const chart = core.tradeOffChart(JSON.stringify(points), picked);
  tradeOff = unpack(chart.ops, chart.texts);
  const c = document.getElementById('tradeOffChart');
  c.hidden = false;
  drawChart(c, tradeOff);
}

// ---------------------------------------------------------------------------
buildForm();
watchCanvas();
const comparison = wireCompare({ core, design: () => win.saveDesign(), act, syncSliders: () => win.syncSliders(), showMessage, download });
wireInfo();
wireChartMenu();
wireDesign();
wireBar();
document.getElementById('analysis').addEventListener('toggle', () => {
  showAnalysis();
  drawAnalysisCharts();
});
show();
// The design the page held when it was last left, still marked as unsaved
// where it was; then a link's design, if the address holds one.
{
  const stored = store?.getItem(STORE_KEY);
  savedText = win.saveDesign();
  if (stored) {
    const saved = store.getItem(SAVED_KEY) ?? stored;
    const file = store.getItem(FILE_KEY) || '';
    if (openText(stored, '本地存储', file)) store.removeItem(STORE_KEY);
    else savedText = saved;
  }
  openFromHash();
  show();
  remember();
}
root.removeAttribute('aria-busy');
if ('serviceWorker' in navigator && location.protocol.startsWith('http')) {
  navigator.serviceWorker.register('sw.js').catch(() => { /* no offline copy: the page works on */ });
}

// The automation handle: state() is what `diaspring-cli --json` prints after
// the same actions; act(list) takes {set: [name, text]}, {slider: [name,
// value]} and {press: name}.
window.diaspring = {
  state: () => JSON.parse(win.state()),
  stateText: () => win.state(),
  act,
  view: () => view,
  // A fresh window, as the page opens without a stored design.
  reset() {
    win.delete();
    win = new core.WebWindow();
    savedText = win.saveDesign();
    fileName = '';
    shownFaults = 0;
    document.getElementById('fault').hidden = true;
    show();
  },
  openDesign: openText,
  saveDesign: () => win.saveDesign(),
  shareLink,
  runDesign,
  cancelDesign,
  poolSize,
  designArgs: () => designArgs(),
  tradeOff: () => tradeOff,
  // What `diaspring-cli compare --json` prints for the same request.
  compare: (request) => compareRequest(core, request),
  comparison: () => comparison.view(),
  // The printable design sheet, built as printing builds it.
  buildSheet,
  // Milliseconds per press of the core's benchmark function (the same as
  // the native session_bench's).
  benchCore: (n = 50) => core.benchCore(n),
  ready: true,
};
document.dispatchEvent(new Event('diaspring-ready'));

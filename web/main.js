// The window in the page: the form built from the core's layout table, the
// nine events run by the core (WebAssembly), the chart drawn from its display
// list. Nothing leaves the browser.
import createDiaspring from './diaspring.mjs';
import { drawChart, chartSvg, replay, startCanvas, stepPacked, unpack } from './chart.js';
import { compareRequest, wireCompare } from './compare.js';
import { fitText } from './fit.js';
import { buildForm } from './form.js';
import { showAnalysisTables, showExtraInputs } from './analysis.js';
import { sheetHtml } from './sheet.js';
import { showMaterial } from './material.js';
import { wireDesign } from './auto-design.js';
import { poolSize } from './design-pool.js';
import { coreOptions } from './packed-core.js';
import { FILE_KEY, SAVED_KEY, STORE_KEY, download, fromBase64Url, recentList, rememberRecent, showRecent, store,
  toBase64Url } from './files.js';

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
function showAnalysis() {
  showMaterial(view, { materials: () => win.materials(), choose: (name) => { win.chooseMaterial(name); show(); remember(); } });
  showExtraInputs(view, act);
  if (!document.getElementById('analysis').open) return;  // filled when opened
  showAnalysisTables(document.getElementById('analysisBody'), JSON.parse(win.analysisView()), view.stale.includes('Text12'),
    () => JSON.parse(win.yieldView()));
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

// What the design was when it was last opened or saved (the window's as it
// opens before either), and the file it came from: whether the window holds
// unsaved work, the title, the name 保存 gives.
let savedText = '';
let fileName = '';
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

// 最近打开的文件 (files.js keeps them).
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
canvas = buildForm(root, core, act);
watchCanvas();
const comparison = wireCompare({ core, design: () => win.saveDesign(), act, syncSliders: () => win.syncSliders(), showMessage, download });
wireInfo();
wireChartMenu();
// The automatic design, in Web Workers so that the page stays responsive.
const design = wireDesign({ core, view: () => view, act, syncSliders: () => win.syncSliders(),
  compareDesign: (inputs, name) => comparison.addDesign(inputs, name) });
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
  runDesign: design.runDesign,
  cancelDesign: design.cancelDesign,
  poolSize,
  designArgs: () => design.designArgs(),
  tradeOff: design.tradeOff,
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

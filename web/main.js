// The window in the page: the form built from the core's layout table, the
// nine events run by the core (WebAssembly), the chart drawn from its display
// list. Nothing leaves the browser.
import createDiaspring from './diaspring.mjs';
import { drawChart, chartSvg, replay } from './chart.js';
import { fitText } from './fit.js';
import { sheetHtml } from './sheet.js';

const STORE_KEY = 'diaspring.design';
const px = (twips) => Math.floor((twips + 7) / 15);

const core = await createDiaspring();
let win = new core.WebWindow();
let view = null;
let shownFaults = 0;
const root = document.getElementById('window');
let canvas = null;

// ---------------------------------------------------------------------------
// The form, from the layout table.
function buildForm() {
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
        el.textContent = c.text;
        break;
      case 'text':
        el = document.createElement('input');
        el.type = 'text';
        el.value = c.text;
        el.addEventListener('input', () => act([{ set: [c.name, el.value] }]));
        break;
      case 'slider':
        el = document.createElement('input');
        el.type = 'range';
        el.min = c.min;
        el.max = c.max;
        el.value = c.value;
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
      default:
        continue;  // the decorative image
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
  for (const el of root.querySelectorAll('.label, button, input[type=text]')) fitText(el);
}

// ---------------------------------------------------------------------------
// Showing the session.
function show() {
  view = JSON.parse(win.view());
  const { fields, sliders } = view.state;
  view.chart = chartOps();
  view.analysisCharts = analysisCharts();
  const { chart } = view;
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
  for (const el of root.querySelectorAll('input[type=text]')) el.classList.toggle('stale', stale.has(el.id));
  drawChart(canvas, chart);
  showAnalysis();
  drawAnalysisCharts();
  if (view.faultMessages.length > shownFaults) {
    document.getElementById('faultText').textContent = view.faultMessages.slice(shownFaults).join('\n\n');
    document.getElementById('fault').hidden = false;
  }
  shownFaults = view.faultMessages.length;
}

// The strength and release analysis of the last curve run, with its inputs.
let analysisInputsBuilt = false;
function showAnalysis() {
  const inputs = document.getElementById('analysisInputs');
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
  const a = view.state.analysis;
  if (!a) {
    body.textContent = '先按“输出膜片弹簧曲线及描点”计算特性曲线。';
    return;
  }
  if (a.error) {
    body.textContent = a.error;
    return;
  }
  const f = (x, d = 1) => (x === null || x === undefined ? '–' : Number(x).toFixed(d));
  const cols = [['lambda1', 'λ1 (mm)', 3], ['F1', 'F1 (N)', 1], ['s', 's (mm)', 3], ['sigmaOM', 'σOM', 0], ['sigmaI', 'σI', 0],
    ['sigmaII', 'σII', 0], ['sigmaIII', 'σIII', 0], ['sigmaIV', 'σIV', 0], ['F2', 'F2 (N)', 1], ['sigmaFinger', 'σ指根', 0]];
  let html = `<table><tr><th>点</th>${cols.map((c) => `<th>${c[1]}</th>`).join('')}</tr>`;
  for (const [name, p] of Object.entries(a.points)) {
    html += `<tr><th>${name}</th>${cols.map(([k, , d]) => `<td>${f(p[k], d)}</td>`).join('')}</tr>`;
  }
  html += '</table>';
  const c = a.checks;
  const verdict = (pass) => (pass ? '合格' : '<span class="fail">不合格</span>');
  html += `<table><tr><th>检验</th><th>计算值 (MPa)</th><th>许用值 (MPa)</th><th>结论</th></tr>
    <tr><th>σOM max ≤ Rm</th><td>${f(c.sigmaOMmax, 0)}</td><td>${f(c.Rm, 0)}</td><td>${verdict(c.sigmaOMpass)}</td></tr>
    <tr><th>σI max ≤ [σ]</th><td>${f(c.sigmaImax, 0)}</td><td>${f(c.sigmaAllow, 0)}</td><td>${verdict(c.sigmaIpass)}</td></tr>
    <tr><th>σ指根 max ≤ [σF]</th><td>${f(c.sigmaFingerMax, 0)}</td><td>${f(c.sigmaAllowF, 0)}</td><td>${verdict(c.sigmaFingerPass)}</td></tr>
    <tr><th>疲劳（新片，${c.fatigueNew.governing}）</th><td colspan="2">安全系数 ${f(c.fatigueNew[c.fatigueNew.governing]?.safety, 2)}</td><td>${verdict(c.fatigueNew.pass)}</td></tr>
    <tr><th>疲劳（磨损后，${c.fatigueWorn.governing}）</th><td colspan="2">安全系数 ${f(c.fatigueWorn[c.fatigueWorn.governing]?.safety, 2)}</td><td>${verdict(c.fatigueWorn.pass)}</td></tr></table>`;
  html += `<p>分离特性：新片 F2max = ${f(a.release.new.F2max)} N，λ2 终点 ${f(a.release.new.lambda2End, 3)} mm；` +
    `磨损后 F2max = ${f(a.release.worn.F2max)} N，λ2 终点 ${f(a.release.worn.lambda2End, 3)} mm。</p>`;
  body.innerHTML = html;
}

// A chart's packed numbers (seven per operation) and texts, unpacked into
// the operations of the display list's JSON form.
const KINDS = ['scale', 'line', 'pset', 'print', 'drawwidth', 'cls'];
function unpack(packed, texts) {
  const ops = [];
  for (let i = 0; i < packed.length; i += 7) {
    const [k, x1, y1, x2, y2, color, text] = packed.subarray(i, i + 7);
    const op = KINDS[k];
    if (op === 'scale') ops.push({ op, x1, y1, x2, y2 });
    else if (op === 'line') ops.push({ op, x1, y1, x2, y2, color: color < 0 ? null : color });
    else if (op === 'pset') ops.push({ op, x: x1, y: y1, color });
    else if (op === 'print') ops.push({ op, x: x1, y: y1, text: texts[text] });
    else if (op === 'drawwidth') ops.push({ op, width: x1 });
    else ops.push({ op });
  }
  return ops;
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
  box.hidden = !view.analysisCharts;
  if (!view.analysisCharts || !document.getElementById('analysis').open) return;
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
  remember();
  return result;
}

// ---------------------------------------------------------------------------
// Design files, the link, local storage.
function remember() {
  try {
    localStorage.setItem(STORE_KEY, win.saveDesign());
  } catch { /* storage full or forbidden: the page works on without it */ }
}

function openText(text, name) {
  const next = new core.WebWindow();
  const refusal = next.openDesign(text, name);
  if (refusal) {
    next.delete();
    return refusal;
  }
  win.delete();
  win = next;
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

function openFromHash() {
  const m = /^#design=(.*)$/.exec(location.hash);
  if (!m) return false;
  let text;
  try {
    text = fromBase64Url(m[1]);
  } catch {
    showMessage('链接中的设计无法读取（编码不完整）。窗口中的设计保留不变。');
    return true;
  }
  const refusal = openText(text, '链接');
  if (refusal) showMessage(refusal);
  return true;
}

function showMessage(text) {
  document.getElementById('faultText').textContent = text;
  document.getElementById('fault').hidden = false;
}

async function openFile(file) {
  const refusal = openText(await file.text(), file.name);
  if (refusal) showMessage(refusal);
  else win.setFileName(file.name);
}

function wireBar() {
  const picker = document.getElementById('filePicker');
  document.getElementById('openFile').addEventListener('click', () => picker.click());
  picker.addEventListener('change', () => picker.files[0] && openFile(picker.files[0]));
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files[0]) openFile(e.dataTransfer.files[0]);
  });
  document.getElementById('saveFile').addEventListener('click',
    () => download('design.diaspring', 'application/json', win.saveDesign()));
  document.getElementById('shareLink').addEventListener('click', async () => {
    const link = shareLink();
    history.replaceState(null, '', link);
    try { await navigator.clipboard.writeText(link); } catch { /* the address bar holds it */ }
  });
  document.getElementById('exportSvg').addEventListener('click',
    () => download('chart.svg', 'image/svg+xml', chartSvg(view.chart, canvas.clientWidth, canvas.clientHeight)));
  document.getElementById('exportPng').addEventListener('click', () => {
    const scale = 2;
    const c = document.createElement('canvas');
    c.width = canvas.clientWidth * scale;
    c.height = canvas.clientHeight * scale;
    const ctx = c.getContext('2d');
    ctx.scale(scale, scale);
    replay(ctx, view.chart, canvas.clientWidth, canvas.clientHeight, 1 / scale);
    c.toBlob((blob) => download('chart.png', 'image/png', blob));
  });
  document.getElementById('faultClose').addEventListener('click', () => {
    document.getElementById('fault').hidden = true;
  });
  window.addEventListener('hashchange', openFromHash);
  document.getElementById('printSheet').addEventListener('click', () => window.print());
  // Whatever prints the page (the button, the browser's menu) prints the
  // design sheet of the session as it is then.
  window.addEventListener('beforeprint', buildSheet);
}

function buildSheet() {
  document.getElementById('sheet').innerHTML =
    sheetHtml(JSON.parse(win.sheet()), view.chart, [canvas.clientWidth, canvas.clientHeight], view.analysisCharts);
}

// ---------------------------------------------------------------------------
// The automatic design, in a Web Worker so that the page stays responsive.
const NAMED_BOXES = { h: 'Text4', HoverH: 'Text6', R: 'Text7', RoverR: 'Text9', dLambda: 'Text10',
  lambda1f: 'Text11', E: 'Text31', mu: 'Text32', F: 'Text33', D: 'Text34', d: 'Text35', r0: 'Text36', rf: 'Text37' };
const FREE_INPUTS = ['h', 'HoverH', 'R', 'RoverR'];
let worker = null;

// Runs `diaspring-cli design` with these arguments; resolves to its outcome
// ({status, out, err}), or to null when cancelled.
function runDesign(args, onProgress = () => {}) {
  cancelDesign();
  return new Promise((resolve) => {
    const w = worker = new Worker('design-worker.js', { type: 'module' });
    w.onmessage = (e) => {
      if (e.data.ready) w.postMessage({ args });
      else if (e.data.progress) onProgress(...e.data.progress);
      else if (e.data.done) {
        w.terminate();
        if (worker === w) worker = null;
        resolve(e.data.done);
      }
    };
    w.cancel = () => resolve(null);
  });
}

function cancelDesign() {
  if (!worker) return;
  worker.terminate();
  worker.cancel();
  worker = null;
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
    const t0 = performance.now();
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
    status.textContent = `${result.designs.length} 个设计，${((performance.now() - t0) / 1000).toFixed(1)} s`;
    showDesigns(result);
  });
}

function showDesigns(result) {
  const cols = ['h', 'HoverH', 'R', 'RoverR'];
  const table = document.createElement('table');
  table.innerHTML = `<tr><th></th>${cols.map((c) => `<th>${c}</th>`).join('')}<th>磨损后压紧力增量 (%)</th><th>分离力 (N)</th><th>σI (MPa)</th><th>F1B (N)</th><th>生产合格率 (%)</th></tr>`;
  for (const [index, d] of result.designs.entries()) {
    const tr = document.createElement('tr');
    const apply = Object.assign(document.createElement('button'), { type: 'button', textContent: '应用到主窗口' });
    apply.addEventListener('click', () => act([...Object.entries(d.inputs).map(([n, t]) => ({ set: [n, t] })), { press: 'Command1' }]));
    const td = document.createElement('td');
    td.appendChild(apply);
    tr.appendChild(td);
    for (const v of [...cols.map((c) => d.inputs[c]), (d.wearRise * 100).toFixed(3), d.releaseForceMax.toFixed(1), d.sigmaImax.toFixed(0), d.F1B.toFixed(1), d.productionYield === undefined ? '—' : (d.productionYield * 100).toFixed(2)]) {
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
wireDesign();
wireBar();
document.getElementById('analysis').addEventListener('toggle', drawAnalysisCharts);
show();
if (!openFromHash()) {
  const stored = localStorage.getItem(STORE_KEY);
  if (stored && openText(stored, '本地存储')) localStorage.removeItem(STORE_KEY);
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
    shownFaults = 0;
    document.getElementById('fault').hidden = true;
    show();
  },
  openDesign: openText,
  saveDesign: () => win.saveDesign(),
  shareLink,
  runDesign,
  designArgs: () => designArgs(),
  tradeOff: () => tradeOff,
  // The printable design sheet, built as printing builds it.
  buildSheet,
  // Milliseconds per press of the curve button: the core alone (presses on
  // one window), and in the page a clearing and a curve press with all
  // they show (the boxes, the chart drawn).
  bench(n = 50) {
    const core_ = core.benchCurve(n);
    const t0 = performance.now();
    for (let i = 0; i < n; ++i) act([{ press: 'Command2' }, { press: 'Command1' }]);
    return { core: core_, page: (performance.now() - t0) / n };
  },
  ready: true,
};
document.dispatchEvent(new Event('diaspring-ready'));

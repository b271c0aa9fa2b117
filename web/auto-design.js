// The automatic design (自动设计) in the page: its dialog, the run on Web
// Workers (one per core, at most 8) so that the page stays responsive, the
// table of designs with 应用到主窗口 and 加入曲线对比, and the trade-off chart.
import { drawChart, unpack } from './chart.js';
import { poolSize, runPool } from './design-pool.js';
import { startWorker } from './packed-core.js';

// The spring's four free inputs are what the search chooses; the rest is
// the clutch's data as the boxes hold it.
const FREE_INPUTS = ['h', 'HoverH', 'R', 'RoverR'];
// The table's headings after the buttons' column: the desktop dialog's.
const HEADINGS = ['h (mm)', 'H/h', 'R (mm)', 'R/r', '磨损增量 (%)', '最大分离力 (N)', 'σImax (MPa)', 'F1B (N)', '生产合格率 (%)'];

// `page` gives the core, the window's view(), act(list), syncSliders() and
// compareDesign(inputs, name); returns the handle's functions.
export function wireDesign(page) {
  const runs = new DesignRuns();
  const design = { page, namedBoxes: JSON.parse(page.core.namedInputBoxes()), tradeOff: null };
  wireDialog(design, runs);
  return {
    runDesign: (args, onProgress, workers) => runs.run(args, onProgress, workers),
    cancelDesign: () => runs.cancel(),
    designArgs: () => designArgs(design),
    tradeOff: () => design.tradeOff,
  };
}

// The runs of `diaspring-cli design` on the workers, one at a time: a new
// run, or cancel(), stops the one running.
class DesignRuns {
  running = null;
  workerUrl = null;

  // Runs the command with these arguments on `workers` workers (one per
  // core, at most 8); resolves to its outcome ({status, out, err}), or to
  // null when cancelled.
  run(args, onProgress = () => {}, workers = poolSize()) {
    this.cancel();
    const run = this.running = runPool(args, { workers, makeWorker: () => this.makeWorker(), onProgress });
    return run.promise.then((outcome) => {
      if (this.running === run) this.running = null;
      return outcome;
    });
  }

  // Stops every worker of the running design at once.
  cancel() {
    if (!this.running) return;
    const run = this.running;
    this.running = null;
    run.cancel();
  }

  // The automatic design's worker: the site's module worker, or in the
  // one-file page the core's classic script and the worker's text from a Blob.
  makeWorker() {
    const source = document.getElementById('diaspring-worker');
    if (!source) return new Worker('design-worker.js', { type: 'module' });
    this.workerUrl ??= URL.createObjectURL(new Blob([document.getElementById('diaspring-core').textContent, source.textContent],
      { type: 'text/javascript' }));
    return startWorker(new Worker(this.workerUrl));
  }
}

// The command line of the window's design: the clutch's named inputs and
// the extra inputs as the window holds them, and the dialog's least yield.
function designArgs({ page, namedBoxes }) {
  const args = ['--json', '--threads', '1'];
  for (const [name, box] of Object.entries(namedBoxes)) {
    if (!FREE_INPUTS.includes(name)) args.push('--set', `${name}=${page.view().state.fields[box]}`);
  }
  for (const [name, text] of Object.entries(page.view().extras)) args.push('--set', `${name}=${text}`);
  // The least production yield in per cent, as the command line takes it (a share).
  const minYield = Number(document.getElementById('designMinYield').value);
  args.push('--min-yield', Number.isFinite(minYield) ? String(minYield / 100) : 'bad');
  return args;
}

// The dialog's buttons: open, close (cancelling), start and cancel.
function wireDialog(design, runs) {
  const dialog = document.getElementById('designDialog');
  const status = document.getElementById('designStatus');
  const bar = document.getElementById('designProgress');
  const start = document.getElementById('designStart');
  const cancel = document.getElementById('designCancel');
  document.getElementById('autoDesign').addEventListener('click', () => dialog.show());
  document.getElementById('designClose').addEventListener('click', () => { runs.cancel(); dialog.close(); });
  cancel.addEventListener('click', () => runs.cancel());
  start.addEventListener('click', async () => {
    start.disabled = true;
    cancel.disabled = false;
    status.textContent = '搜索中…';
    const outcome = await runs.run(designArgs(design), (done, total) => { bar.max = total; bar.value = done; });
    start.disabled = false;
    cancel.disabled = true;
    showOutcome(design, status, outcome);
  });
}

// What a run of the dialog ended in: cancelled, refused, no design that
// passes (the window's explanation and what would open the space), or the
// designs found.
function showOutcome(design, status, outcome) {
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
    status.textContent = result.infeasible.explanationZh;
    status.classList.add('fault');
    showDesigns(design, result);
    return;
  }
  status.classList.remove('fault');
  const seconds = design.page.core.formatNumber(result.seconds, '0.00');
  status.textContent = `找到 ${result.designs.length} 个互不占优的设计（全部约束合格的 ${result.feasible} 个，` +
    `共检查 ${result.evaluated} 个网格点，用时 ${seconds} s）。点“应用到主窗口”把它放入主窗口。`;
  showDesigns(design, result);
}

// The table of the designs found, a row picked out on a click, and their
// trade-off chart.
function showDesigns(design, result) {
  const table = document.createElement('table');
  table.innerHTML = `<tr><th></th>${HEADINGS.map((c) => `<th>${c}</th>`).join('')}</tr>`;
  for (const [index, d] of result.designs.entries()) {
    const tr = designRow(design.page, d, index);
    tr.addEventListener('click', () => {
      for (const row of table.querySelectorAll('tr.picked')) row.classList.remove('picked');
      tr.classList.add('picked');
      drawTradeOff(design, result.designs, index);
    });
    table.appendChild(tr);
  }
  document.getElementById('designTable').replaceChildren(table);
  drawTradeOff(design, result.designs, -1);
}

// Design number `index` (from 0) as a row: 应用到主窗口 and 加入曲线对比, then
// its free inputs and figures with the desktop dialog's decimals.
function designRow(page, d, index) {
  const f = (x, pattern) => (x === null || x === undefined ? '' : page.core.formatNumber(x, pattern));
  const tr = document.createElement('tr');
  const apply = Object.assign(document.createElement('button'), { type: 'button', textContent: '应用到主窗口' });
  apply.addEventListener('click', () => {
    page.act(Object.entries(d.inputs).map(([n, t]) => ({ set: [n, t] })));
    page.syncSliders();  // as the window does after filling the boxes itself
    page.act([{ press: 'Command1' }]);
    document.getElementById('designDialog').close();  // out of the way of the design applied
  });
  const td = document.createElement('td');
  td.appendChild(apply);
  td.appendChild(Object.assign(document.createElement('button'), { type: 'button', textContent: '加入曲线对比',
    onclick: (e) => { e.stopPropagation(); page.compareDesign(d.inputs, `自动设计 #${index + 1}`); } }));
  tr.appendChild(td);
  for (const v of [...FREE_INPUTS.map((c) => d.inputs[c]), f(d.wearRise * 100, '0.000'), f(d.releaseForceMax, '0.0'),
    f(d.sigmaImax, '0.0'), f(d.F1B, '0.000'),
    d.productionYield === undefined || d.productionYield === null ? '—' : f(d.productionYield * 100, '0.00')]) {
    tr.appendChild(Object.assign(document.createElement('td'), { textContent: v }));
  }
  return tr;
}

// The designs' trade-off (wear rise against release force, coloured by the
// stress, with its key), `picked` picked out in red (-1: none).
function drawTradeOff(design, designs, picked) {
  const points = designs.map((d) => [d.wearRise, d.releaseForceMax, d.sigmaImax ?? null]);
  const chart = design.page.core.tradeOffChart(JSON.stringify(points), picked);
  design.tradeOff = unpack(chart.ops, chart.texts);
  const c = document.getElementById('tradeOffChart');
  c.hidden = false;
  drawChart(c, design.tradeOff);
}

// The automatic design (自动设计) in the page: its dialog, the run on Web
// Workers (one per core, at most 8) so that the page stays responsive, the
// table of designs with 应用到主窗口 and 加入曲线对比, and the trade-off chart.
import { drawChart, unpack } from './chart.js';
import { poolSize, runPool } from './design-pool.js';
import { startWorker } from './packed-core.js';

// `page` gives the core, the window's view(), act(list), syncSliders() and
// compareDesign(inputs, name); returns the handle's functions.
export function wireDesign(page) {
  const { core } = page;
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
      if (!FREE_INPUTS.includes(name)) args.push('--set', `${name}=${page.view().state.fields[box]}`);
    }
    for (const [name, text] of Object.entries(page.view().extras)) args.push('--set', `${name}=${text}`);
    // The least production yield in per cent, as the command line takes it (a share).
    const minYield = Number(document.getElementById('designMinYield').value);
    args.push('--min-yield', Number.isFinite(minYield) ? String(minYield / 100) : 'bad');
    return args;
  }

  function wireDialog() {
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

  wireDialog();
  return { runDesign, cancelDesign, designArgs, tradeOff: () => tradeOff };
}

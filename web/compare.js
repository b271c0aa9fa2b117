// 特性曲线对比 in the page: the current design beside pinned curves, design
// files, designs of the automatic design and measured curves; the
// calibration typed back into the window; the production scatter. The core
// computes and words everything (WebCompare), as for the desktop's window.
import { chartSvg, replay, startCanvas, stepPacked, unpack } from './chart.js';

const STYLE = `
#compare { margin: 8px; background: #fff; padding: 4px 8px; border: 1px solid #999; max-width: 1180px; }
#compare .buttons { display: flex; gap: 6px; flex-wrap: wrap; margin: 4px 0; }
#compare .staleNote { color: #c62828; margin: 4px 0; }
#compare .split { display: flex; gap: 10px; flex-wrap: wrap; align-items: flex-start; }
#compareChart { width: 660px; height: 360px; }
#compareChart.stale { opacity: 0.45; }
#compare table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
#compare td, #compare th { border: 1px solid #bbb; padding: 1px 6px; }
#compare td.num { text-align: right; }
#compare tr.picked td { background: #dde8f6; }
#compare tr.greyed td { color: #9e9e9e; }
#compare fieldset { border: 1px solid #bbb; margin: 8px 0; }
#compare .measuredRow { display: flex; gap: 10px; align-items: flex-start; }
#compare .measuredNote { max-width: 300px; color: #555; }
#compare .tolerances { display: flex; gap: 4px 10px; flex-wrap: wrap; align-items: center; margin-bottom: 6px; }
#compare .tolerances input[type=text] { width: 5.5em; }
#compare .tolerances input.bad { background: #ffd6d6; }
#compare .fault { color: #c62828; }
#compareReadout { min-height: 1.3em; max-width: 660px; }
@media print { #sheet .comparisonPage td.num { white-space: nowrap; } }
`;

const esc = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

// What `diaspring-cli compare --json` prints for the request ({designs:
// [{name, text}], set: {name: text}, measured: [{name, text}], tolerance:
// {name: value}, samples, seed}, the same command line run on the texts
// given), as an object; a run that prints nothing: {error (the message
// after "diaspring-cli compare: "), status, line (of a measured file
// refused; 0: none)}.
export function compareRequest(core, request) {
  const args = ['--json'];
  const files = { designs: [], measured: [] };
  for (const [kind, option] of [['designs', '--design'], ['measured', '--measured']]) {
    for (const { name, text } of request[kind] ?? []) {
      files[kind].push([String(name), String(text)]);
      args.push(option, String(name));
    }
  }
  for (const [key, option] of [['set', '--set'], ['tolerance', '--tolerance']]) {
    for (const [name, value] of Object.entries(request[key] ?? {})) args.push(option, `${name}=${value}`);
  }
  for (const key of ['samples', 'seed']) if (key in request) args.push(`--${key}`, String(request[key]));
  const run = JSON.parse(core.compare(JSON.stringify({ args, ...files })));
  if (run.out) {
    const printed = JSON.parse(run.out);
    delete printed.seconds;
    return printed;
  }
  return { error: run.err.replace(/^diaspring-cli compare: /, '').trimEnd(), status: run.status, line: run.line };
}

// The section's controls, below its summary.
const SECTION_HTML = `
<div class="buttons">
  <button type="button" id="comparePin">固定当前曲线</button>
  <button type="button" id="compareOpen">打开设计文件…</button>
  <input type="file" id="compareDesignPicker" accept=".diaspring,application/json" hidden>
  <button type="button" id="compareImport">导入实测曲线…</button>
  <input type="file" id="compareMeasuredPicker" accept=".csv,.txt,.dat,text/csv,text/plain" hidden>
  <button type="button" id="compareRemove">移除所选</button>
  <button type="button" id="compareSavePng">保存图表 (PNG)…</button>
  <button type="button" id="compareSaveSvg">保存图表 (SVG)…</button>
</div>
<p class="staleNote" id="compareStale" hidden></p>
<div class="split">
  <div><canvas id="compareChart" class="chart" role="img" aria-label="特性曲线对比"></canvas>
  <p id="compareReadout">将鼠标移到图上，读出每条曲线在该 λ1 处的 F1</p></div>
  <table id="compareCurves"></table>
</div>
<fieldset><legend>实测曲线与标定</legend><div class="measuredRow"><table id="compareMeasured"></table>
<div class="measuredNote"><p id="compareMeasuredNote"></p>
<button type="button" id="compareApplyFit">将拟合的 h、H/h 输入主窗口</button></div></div></fieldset>
<fieldset><legend>生产离散（当前设计，在名义 λ1B、λ1A、λ1C 处）</legend>
<div class="tolerances" id="compareTolerances"></div>
<table id="compareScatter"></table>
<p id="compareScatterNote"></p></fieldset>`;

const $ = (id) => document.getElementById(id);
const headings = (captions) => captions.map((c) => `<th>${c}</th>`).join('');

// The tables' rows from the core's view ({curves, measured, tolerances,
// scatterRows, scatter, ...}); `picked`: the row picked out (-1: none).
function curvesHtml(view, picked) {
  return '<tr><th>显示</th><th>曲线</th><th>来源</th><th>线型</th></tr>' + view.curves.map((c, i) =>
    `<tr data-row="${i}" class="${i === picked ? 'picked' : ''}${i === 0 && view.stale ? ' greyed' : ''}">` +
    `<td><input type="checkbox" data-row="${i}"${c.shown ? ' checked' : ''}></td><td>${esc(c.name)}</td>` +
    `<td>${esc(c.kind)}</td><td style="color:${c.color};font-weight:bold">${esc(c.style)}</td></tr>`).join('');
}

function measuredHtml(view, picked) {
  return `<tr>${headings(['实测曲线', 'B 处偏差', 'A 处偏差', 'RMS/N', '拟合 h/mm', '拟合 H/mm', '拟合 H/h', '拟合 RMS/N'])}</tr>` +
    view.measured.map((m, i) =>
      `<tr data-row="${i}" class="${i === picked ? 'picked' : ''}">${m.cells.map((c, k) =>
        `<td class="${k ? 'num' : ''}"${k >= 4 && m.why ? ` title="${esc(m.why)}"` : ''}>${esc(c)}</td>`).join('')}</tr>`).join('');
}

function scatterHtml(view) {
  return `<tr><th></th>${headings(['极限 最小/N', '极限 最大/N', '抽样 最小/N', '抽样 最大/N', '平均/N', 'σ/N'])}</tr>` +
    view.scatterRows.map((name, r) =>
      `<tr><th>${name}</th>${view.scatter[r].map((c) => `<td class="num">${esc(c)}</td>`).join('')}</tr>`).join('');
}

// The tolerance boxes, 按标准公差 and 显示公差带: made once, with the first view.
function tolerancesHtml(view) {
  return view.tolerances.map((t) => `<label>${esc(t.caption)} <input type="text" id="compareTol-${t.name}"> ${esc(t.unit)}</label>`)
    .join('') + '<button type="button" id="compareStandard" title="h、H、R、r 取碟簧标准 DIN EN 16983（DIN 2093）的允许偏差带宽的一半，E 取 0 %，夹紧力取 ±5 %">按标准公差</button>' +
    '<label><input type="checkbox" id="compareBand" checked> 显示公差带</label>';
}

// The section's state and what it does: the core's comparison (made when
// the section is first opened), its last view and chart, the rows picked.
class CompareSection {
  session = null;
  view = null;
  chart = null;  // the last chart: {ops, texts, left, right}
  pickedCurve = -1;
  pickedMeasured = -1;

  constructor(page) {
    this.page = page;
    this.section = $('compare');
    document.head.appendChild(Object.assign(document.createElement('style'), { textContent: STYLE }));
    this.section.insertAdjacentHTML('beforeend', SECTION_HTML);
    this.canvas = $('compareChart');
  }

  open() {
    if (!this.session) this.session = new this.page.core.WebCompare(this.page.design());
    return this.session;
  }

  draw() {
    if (!this.session || !this.section.open) return;
    this.chart = this.session.chart();
    stepPacked(startCanvas(this.canvas), this.chart.ops, this.chart.texts);
  }

  // The notes and tables as the core's view words them.
  fill() {
    if (!this.session) return;
    const view = this.view = JSON.parse(this.session.view());
    $('compareStale').hidden = !view.stale;
    $('compareStale').textContent = view.staleNote;
    $('compareMeasuredNote').textContent = view.measuredNote;
    this.canvas.classList.toggle('stale', view.stale);
    $('compareCurves').innerHTML = curvesHtml(view, this.pickedCurve);
    $('compareMeasured').innerHTML = measuredHtml(view, this.pickedMeasured);
    this.fillTolerances();
    $('compareScatter').innerHTML = scatterHtml(view);
    $('compareScatterNote').innerHTML = view.note;  // the core's text, its own parts escaped
  }

  // The tolerance boxes (made with the first view), each but the one being
  // typed in as the core holds it, red where refused.
  fillTolerances() {
    const boxes = $('compareTolerances');
    if (!boxes.children.length) {
      boxes.innerHTML = tolerancesHtml(this.view);
      for (const t of this.view.tolerances) $(`compareTol-${t.name}`).addEventListener('change', () => this.typed());
      $('compareStandard').addEventListener('click', () => { this.session.standardTolerances(); this.refresh(); });
      $('compareBand').addEventListener('change', (e) => { this.session.setShowBand(e.target.checked); this.refresh(); });
    }
    for (const t of this.view.tolerances) {
      const input = $(`compareTol-${t.name}`);
      if (document.activeElement !== input) input.value = t.text;
      input.classList.toggle('bad', t.bad);
    }
  }

  refresh() {
    this.fill();
    this.draw();
  }

  typed() {
    this.session.setTolerances(JSON.stringify(this.view.tolerances.map((t) => $(`compareTol-${t.name}`).value.trim())));
    this.refresh();
  }

  refused(message) {
    if (message) this.page.showMessage(message);
    this.refresh();
  }

  // The chart as the window's exports write it (PNG at twice the size).
  chartOps() {
    return this.chart ? unpack(this.chart.ops, this.chart.texts) : [];
  }

  saveChart(kind) {
    if (!this.session) return;
    const [w, h] = [this.canvas.clientWidth, this.canvas.clientHeight];
    if (kind === 'svg') {
      this.page.download('特性曲线对比.svg', 'image/svg+xml', chartSvg(this.chartOps(), w, h));
      return;
    }
    const c = document.createElement('canvas');
    c.width = w * 2;
    c.height = h * 2;
    const ctx = c.getContext('2d');
    ctx.scale(2, 2);
    replay(ctx, this.chartOps(), w, h, 0.5);
    c.toBlob((blob) => this.page.download('特性曲线对比.png', 'image/png', blob), 'image/png');
  }

  // The fitted h and H/h of the picked measured curve into the window, as
  // the automatic design's designs go in: the boxes, the sliders to them,
  // the curve.
  applyFit() {
    if (!this.session) return;
    const fit = JSON.parse(this.session.fit(this.pickedMeasured));
    if (fit.error) {
      this.page.showMessage(fit.error);
      return;
    }
    this.page.act([{ set: ['h', fit.h] }, { set: ['HoverH', fit.HoverH] }]);
    this.page.syncSliders();
    this.page.act([{ press: 'Command1' }]);
  }
}

// The buttons and the two file pickers.
function wireButtons(s) {
  $('comparePin').addEventListener('click', () => s.refused(s.open().pin(s.page.design())));
  $('compareOpen').addEventListener('click', () => $('compareDesignPicker').click());
  $('compareImport').addEventListener('click', () => $('compareMeasuredPicker').click());
  for (const [picker, add] of [['compareDesignPicker', 'addDesignFile'], ['compareMeasuredPicker', 'importMeasured']]) {
    $(picker).addEventListener('change', async (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      if (file) s.refused(s.open()[add](await file.text(), file.name));
    });
  }
  $('compareRemove').addEventListener('click', () => {
    if (!s.session || s.pickedCurve <= 0) return;
    s.session.remove(s.pickedCurve);
    s.pickedCurve = -1;
    s.refresh();
  });
  $('compareSavePng').addEventListener('click', () => s.saveChart('png'));
  $('compareSaveSvg').addEventListener('click', () => s.saveChart('svg'));
  $('compareApplyFit').addEventListener('click', () => s.applyFit());
}

// A click in the tables picks a row; a curve's box shows or hides it.
function wireTables(s) {
  $('compareCurves').addEventListener('click', (e) => {
    const row = e.target.closest('tr[data-row]');
    if (!row) return;
    if (e.target.type === 'checkbox') s.session.setShown(Number(row.dataset.row), e.target.checked);
    else s.pickedCurve = Number(row.dataset.row);
    s.refresh();
  });
  $('compareMeasured').addEventListener('click', (e) => {
    const row = e.target.closest('tr[data-row]');
    if (!row) return;
    s.pickedMeasured = Number(row.dataset.row);
    s.fill();
  });
}

// The readout under the mouse, and the chart drawn again at a new size.
function wireChart(s) {
  const { canvas } = s;
  canvas.addEventListener('mousemove', (e) => {
    if (!s.chart) return;
    const box = canvas.getBoundingClientRect();
    const lambda1 = s.chart.left + ((e.clientX - box.left) / box.width) * (s.chart.right - s.chart.left);
    $('compareReadout').textContent = s.session.readout(lambda1);
  });
  canvas.addEventListener('mouseleave', () => { if (s.session) $('compareReadout').textContent = s.session.readout(NaN); });
  new ResizeObserver(() => s.draw()).observe(canvas);
}

// The section opened, and the window's curve runs and edits.
function followWindow(s) {
  s.section.addEventListener('toggle', () => {
    if (!s.section.open) return;
    s.open();
    s.refresh();
  });
  document.addEventListener('diaspring-curve-ran', () => {
    if (!s.session) return;
    s.session.follow(s.page.design());
    s.refresh();
  });
  document.addEventListener('diaspring-shown', () => {
    if (!s.session) return;
    const stale = s.view?.stale;
    if (s.session.inputsChanged(s.page.design()) !== stale) s.fill();
  });
}

// The section, wired to the page: `page` gives the core, the window's
// design text (design()), act(list), syncSliders(), showMessage(text) and
// download(name, type, data).
export function wireCompare(page) {
  const s = new CompareSection(page);
  followWindow(s);
  wireButtons(s);
  wireTables(s);
  wireChart(s);
  return {
    // A design of the automatic design (its inputs over the window's), as 加入曲线对比.
    addDesign(inputs, name) {
      s.section.open = true;
      s.refused(s.open().addTyped(page.design(), JSON.stringify(inputs), name));
      s.section.scrollIntoView();
    },
    // The sheet's comparison page, while there is something to compare.
    sheetPage() {
      if (!s.session || !s.session.comparing()) return null;
      const p = JSON.parse(s.session.sheetPage());
      const c = s.session.chart();
      return { ...p, chart: unpack(c.ops, c.texts) };
    },
    stale: () => Boolean(s.session && s.view?.stale && s.session.comparing()),
    view: () => s.view,
  };
}

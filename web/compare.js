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

// The section, wired to the page: `page` gives the core, the window's
// design text (design()), act(list), syncSliders(), showMessage(text) and
// download(name, type, data).
export function wireCompare(page) {
  const section = document.getElementById('compare');
  document.head.appendChild(Object.assign(document.createElement('style'), { textContent: STYLE }));
  let cmp = null;       // the session, made when the section is first opened
  let view = null;
  let chart = null;     // the last chart: {ops, texts, left, right}
  let pickedCurve = -1;
  let pickedMeasured = -1;

  section.insertAdjacentHTML('beforeend', `
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
<p id="compareScatterNote"></p></fieldset>`);

  const $ = (id) => document.getElementById(id);
  const canvas = $('compareChart');

  function open() {
    if (!cmp) cmp = new page.core.WebCompare(page.design());
    return cmp;
  }

  function draw() {
    if (!cmp || !section.open) return;
    chart = cmp.chart();
    stepPacked(startCanvas(canvas), chart.ops, chart.texts);
  }

  function fill() {
    if (!cmp) return;
    view = JSON.parse(cmp.view());
    $('compareStale').hidden = !view.stale;
    $('compareStale').textContent = view.staleNote;
    $('compareMeasuredNote').textContent = view.measuredNote;
    canvas.classList.toggle('stale', view.stale);
    const curves = $('compareCurves');
    curves.innerHTML = '<tr><th>显示</th><th>曲线</th><th>来源</th><th>线型</th></tr>' + view.curves.map((c, i) =>
      `<tr data-row="${i}" class="${i === pickedCurve ? 'picked' : ''}${i === 0 && view.stale ? ' greyed' : ''}">` +
      `<td><input type="checkbox" data-row="${i}"${c.shown ? ' checked' : ''}></td><td>${esc(c.name)}</td>` +
      `<td>${esc(c.kind)}</td><td style="color:${c.color};font-weight:bold">${esc(c.style)}</td></tr>`).join('');
    const measured = $('compareMeasured');
    measured.innerHTML = `<tr>${['实测曲线', 'B 处偏差', 'A 处偏差', 'RMS/N', '拟合 h/mm', '拟合 H/mm', '拟合 H/h', '拟合 RMS/N']
      .map((c) => `<th>${c}</th>`).join('')}</tr>` + view.measured.map((m, i) =>
      `<tr data-row="${i}" class="${i === pickedMeasured ? 'picked' : ''}">${m.cells.map((c, k) =>
        `<td class="${k ? 'num' : ''}"${k >= 4 && m.why ? ` title="${esc(m.why)}"` : ''}>${esc(c)}</td>`).join('')}</tr>`).join('');
    const boxes = $('compareTolerances');
    if (!boxes.children.length) {
      boxes.innerHTML = view.tolerances.map((t) => `<label>${esc(t.caption)} <input type="text" id="compareTol-${t.name}"> ${esc(t.unit)}</label>`)
        .join('') + '<button type="button" id="compareStandard" title="h、H、R、r 取碟簧标准 DIN EN 16983（DIN 2093）的允许偏差带宽的一半，E 取 0 %，夹紧力取 ±5 %">按标准公差</button>' +
        '<label><input type="checkbox" id="compareBand" checked> 显示公差带</label>';
      for (const t of view.tolerances) $(`compareTol-${t.name}`).addEventListener('change', typed);
      $('compareStandard').addEventListener('click', () => { cmp.standardTolerances(); refresh(); });
      $('compareBand').addEventListener('change', (e) => { cmp.setShowBand(e.target.checked); refresh(); });
    }
    for (const t of view.tolerances) {
      const input = $(`compareTol-${t.name}`);
      if (document.activeElement !== input) input.value = t.text;
      input.classList.toggle('bad', t.bad);
    }
    $('compareScatter').innerHTML = `<tr><th></th>${['极限 最小/N', '极限 最大/N', '抽样 最小/N', '抽样 最大/N', '平均/N', 'σ/N']
      .map((c) => `<th>${c}</th>`).join('')}</tr>` + view.scatterRows.map((name, r) =>
      `<tr><th>${name}</th>${view.scatter[r].map((c) => `<td class="num">${esc(c)}</td>`).join('')}</tr>`).join('');
    $('compareScatterNote').innerHTML = view.note;  // the core's text, its own parts escaped
  }

  function refresh() {
    fill();
    draw();
  }

  function typed() {
    cmp.setTolerances(JSON.stringify(view.tolerances.map((t) => $(`compareTol-${t.name}`).value.trim())));
    refresh();
  }

  function refused(message) {
    if (message) page.showMessage(message);
    refresh();
  }

  // The chart as the window's exports write it (PNG at twice the size).
  function chartOps() {
    return chart ? unpack(chart.ops, chart.texts) : [];
  }
  function saveChart(kind) {
    if (!cmp) return;
    const [w, h] = [canvas.clientWidth, canvas.clientHeight];
    if (kind === 'svg') {
      page.download('特性曲线对比.svg', 'image/svg+xml', chartSvg(chartOps(), w, h));
      return;
    }
    const c = document.createElement('canvas');
    c.width = w * 2;
    c.height = h * 2;
    const ctx = c.getContext('2d');
    ctx.scale(2, 2);
    replay(ctx, chartOps(), w, h, 0.5);
    c.toBlob((blob) => page.download('特性曲线对比.png', 'image/png', blob), 'image/png');
  }

  section.addEventListener('toggle', () => {
    if (!section.open) return;
    open();
    refresh();
  });
  $('comparePin').addEventListener('click', () => refused(open().pin(page.design())));
  $('compareOpen').addEventListener('click', () => $('compareDesignPicker').click());
  $('compareImport').addEventListener('click', () => $('compareMeasuredPicker').click());
  for (const [picker, add] of [['compareDesignPicker', 'addDesignFile'], ['compareMeasuredPicker', 'importMeasured']]) {
    $(picker).addEventListener('change', async (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      if (file) refused(open()[add](await file.text(), file.name));
    });
  }
  $('compareRemove').addEventListener('click', () => {
    if (!cmp || pickedCurve <= 0) return;
    cmp.remove(pickedCurve);
    pickedCurve = -1;
    refresh();
  });
  $('compareSavePng').addEventListener('click', () => saveChart('png'));
  $('compareSaveSvg').addEventListener('click', () => saveChart('svg'));
  $('compareCurves').addEventListener('click', (e) => {
    const row = e.target.closest('tr[data-row]');
    if (!row) return;
    if (e.target.type === 'checkbox') cmp.setShown(Number(row.dataset.row), e.target.checked);
    else pickedCurve = Number(row.dataset.row);
    refresh();
  });
  $('compareMeasured').addEventListener('click', (e) => {
    const row = e.target.closest('tr[data-row]');
    if (!row) return;
    pickedMeasured = Number(row.dataset.row);
    fill();
  });
  $('compareApplyFit').addEventListener('click', () => {
    if (!cmp) return;
    const fit = JSON.parse(cmp.fit(pickedMeasured));
    if (fit.error) {
      page.showMessage(fit.error);
      return;
    }
    // As the automatic design's designs go into the window: the boxes, the
    // sliders to them, the curve.
    page.act([{ set: ['h', fit.h] }, { set: ['HoverH', fit.HoverH] }]);
    page.syncSliders();
    page.act([{ press: 'Command1' }]);
  });
  canvas.addEventListener('mousemove', (e) => {
    if (!chart) return;
    const box = canvas.getBoundingClientRect();
    const lambda1 = chart.left + ((e.clientX - box.left) / box.width) * (chart.right - chart.left);
    $('compareReadout').textContent = cmp.readout(lambda1);
  });
  canvas.addEventListener('mouseleave', () => { if (cmp) $('compareReadout').textContent = cmp.readout(NaN); });
  new ResizeObserver(draw).observe(canvas);

  // The window's curve runs and edits.
  document.addEventListener('diaspring-curve-ran', () => {
    if (!cmp) return;
    cmp.follow(page.design());
    refresh();
  });
  document.addEventListener('diaspring-shown', () => {
    if (!cmp) return;
    const stale = view?.stale;
    if (cmp.inputsChanged(page.design()) !== stale) fill();
  });

  return {
    // A design of the automatic design (its inputs over the window's), as 加入曲线对比.
    addDesign(inputs, name) {
      section.open = true;
      refused(open().addTyped(page.design(), JSON.stringify(inputs), name));
      section.scrollIntoView();
    },
    // The sheet's comparison page, while there is something to compare.
    sheetPage() {
      if (!cmp || !cmp.comparing()) return null;
      const p = JSON.parse(cmp.sheetPage());
      const c = cmp.chart();
      return { ...p, chart: unpack(c.ops, c.texts) };
    },
    stale: () => Boolean(cmp && view?.stale && cmp.comparing()),
    view: () => view,
  };
}

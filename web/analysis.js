// The section 强度与分离特性 of the page: the analysis's own inputs (n, b,
// Rm, …) and the desktop window's table, check lines and strokes of the
// last curve run, with its decimals, and the production yield.
import { yieldSectionHtml } from './yield.js';

const esc = (t) => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;');

// The inputs' boxes, made at the first call; each shows its text from the
// view, except the box being typed in. A typed text goes to act() (the
// input's default when the box is emptied).
let built = false;
export function showExtraInputs(view, act) {
  if (!built) {
    built = true;
    const inputs = document.getElementById('analysisInputs');
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
}

// Fills `body` with the analysis `a` (the core's analysisView(): null before
// a curve run, {error} when it cannot be made), greyed when `stale`, and
// the production yield (yieldView(), asked for only when there is an analysis).
export function showAnalysisTables(body, a, stale, yieldView) {
  if (!a) {
    body.textContent = '先按“输出膜片弹簧曲线及描点”计算特性曲线。';
    return;
  }
  if (a.error) {
    body.textContent = `无法分析：${a.error}`;
    return;
  }
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
  body.innerHTML = `${html}</table>${yieldSectionHtml(yieldView(), stale)}`;
}

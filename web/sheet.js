// The printable design sheet: the core's contents of the desktop's sheet
// (the title block, the inputs, the chart, the points, the twelve rules and
// the summary, the analysis's page of the last curve run, and last the
// release page with the material, the approval block and the notes in full)
// laid out as HTML for the print style sheet; the browser prints it or saves
// it as PDF. Every page carries the part number and revision at its head.
import { chartSvg } from './chart.js';
import { yieldPageHtml } from './yield.js';

const esc = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const table = (columns, rows, rowClass = () => '', numeric = []) =>
  `<table><thead><tr>${columns.map((c, i) => `<th${numeric.includes(i) ? ' class="num"' : ''}>${esc(c)}</th>`).join('')}</tr></thead><tbody>${
    rows.map((r) => `<tr class="${rowClass(r)}">${r.map((c, i) => `<td${numeric.includes(i) ? ' class="num"' : ''}>${esc(c)}</td>`).join('')}</tr>`).join('')
  }</tbody></table>`;
const today = () => {
  const d = new Date();
  return `${d.getFullYear()}-${String(d.getMonth() + 1).padStart(2, '0')}-${String(d.getDate()).padStart(2, '0')}`;
};
const pageMark = (s, page, pages) => s.pageMark.replace('%1', page).replace('%2', pages);
const svg = (ops, width, height) => chartSvg(ops, width, height).replace('<svg ', '<svg preserveAspectRatio="none" ');

// The notes line of page 1 is one line: when it is longer than the line
// (about 63 Chinese characters at its size; other characters count about
// half), it is cut and says on which page the notes stand in full.
const kNotesLineEms = 63;
const lineEms = (text) => [...text].reduce((n, c) => n + (/[\u2e80-\uffff]/.test(c) ? 1 : 0.55), 0);

function head(s, title, page, pages, subtitle) {
  return (s.runningHead ? `<div class="runningHead">${esc(s.runningHead)}</div>` : '') + `<header class="title"><h1>${esc(title)}</h1><div class="date">${esc(s.dateLabel)}${today()}<br>` +
    `<span class="mark">${esc(pageMark(s, page, pages))}</span></div></header>` +
    (s.inputsEdited ? `<p class="edited">${esc(s.editedWarning)}</p>` : subtitle ? `<p class="subtitle">${esc(subtitle)}</p>` : '');
}

// The sheet's HTML from `s` (the core's sheet()), the window's chart and
// the analysis's charts (lists of operations; null: none).
export function sheetHtml(s, chart, chartSize, analysisCharts, comparison = null) {
  const pages = (s.analysis ? 2 : 1) + (s.yield ? 1 : 0) + (comparison ? 1 : 0) + (s.release ? 1 : 0);
  const info = s.info.filter(([, v]) => v.trim()).map(([l, v]) => esc(l + v.replace(/\s+/g, ' ').trim()));
  const notesLine = s.notes[0] + s.notes[1].replace(/\s+/g, ' ').trim();
  const more = s.notesContinued.replace('%1', pages);
  const notes = !s.notes[1].trim() ? '' : lineEms(notesLine) <= kNotesLineEms ? `<p class="notes">${esc(notesLine)}</p>`
    : `<p class="notes cut"><span>${esc(notesLine)}</span>${esc(more)}</p>`;
  const drawn = chart.some((o) => o.op !== 'scale' && o.op !== 'drawwidth');
  let html = `<article class="page">${head(s, s.title, 1, pages, s.subtitle)}` +
    (info.length || notes ? `<p class="info">${info.join('    ')}</p>${notes}` : '') +
    `<h2>${esc(s.inputsHeading)}</h2><div class="two">` +
    `<div><h3>${esc(s.inputCaptions[0])}</h3>${table(s.inputColumns, s.geometry, () => '', [2])}</div>` +
    `<div><h3>${esc(s.inputCaptions[1])}</h3>${table(s.inputColumns, s.clutch, () => '', [2])}</div></div>` +
    `<h2>${esc(s.chartHeading)}</h2><figure class="main">${drawn ? svg(chart, chartSize[0], chartSize[1])
      : `<div class="nochart"><p>${esc(s.noChart[0])}</p><p>${esc(s.noChart[1])}</p></div>`}` +
    `<figcaption>${esc(s.chartCaption)}</figcaption></figure>` +
    `<div class="pointsRules"><section><h2>${esc(s.pointsHeading)}</h2>${table(s.pointColumns, s.points, () => '', [2, 3])}` +
    `${s.pointNotes.map((n) => `<p class="note">${esc(n)}</p>`).join('')}<p class="note legend"><span class="pass">${esc(s.legend[0])}</span> ` +
    `<span class="fail">${esc(s.legend[1])}</span> <span class="unchecked">${esc(s.legend[2])}</span></p></section>` +
    `<section><h2>${esc(s.rulesHeading)}</h2>${table([...s.ruleColumns, s.basisColumn], s.rules.map((r) => [...r.slice(0, 4), s.ruleBasis]), (r) => s.rules.find((x) => x[0] === r[0])[4])}` +
    `<p class="summary ${s.summaryClass}">${esc(s.summary)}</p></section></div>` +
    `<footer><span>${esc(s.footer[0])}</span><span>${esc(s.footer[1])}</span></footer></article>`;
  const a = s.analysis;
  if (a) {
    html += `<article class="page analysisPage">${head(s, a.title, 2, pages, '')}`;
    if (a.error) {
      html += `<p class="fail">${esc(a.error)}</p>`;
    } else {
      html += `<p>${esc(a.params)}</p><p class="${a.fatigueExample ? 'example' : ''}">${esc(a.fatigue)}</p>` +
        `<p>${esc(a.material)}</p><h2>${esc(a.chartsHeading)}</h2><div class="two">` +
        (analysisCharts ? [analysisCharts.stress, analysisCharts.release].map((ops, i) =>
          `<figure>${svg(ops, 460, 320)}<figcaption>${esc(a.captions[i])}</figcaption></figure>`).join('') : '') +
        `</div><h2>${esc(a.pointsHeading)}</h2>` +
        table(['', ...a.columns.map((c) => `${c[0]} ${c[1]}`)], a.rows, () => '', a.columns.map((_, i) => i + 1)) +
        a.notes.map((n) => `<p class="note">${esc(n)}</p>`).join('') +
        `<h2>${esc(a.checksHeading)}</h2>${a.strokes.map((l) => `<p>${esc(l)}</p>`).join('')}` +
        `<table class="checks"><tbody>${a.checks.map(([what, value, verdict, verdictClass, limit, basis]) =>
          `<tr><td>${esc(what)}</td><td>${esc(value)}</td><td class="verdict ${verdictClass}">${esc(verdict)}</td></tr>` +
          `<tr class="basis"><td class="muted">${esc(limit)}</td><td class="muted" colspan="2">${esc(basis)}</td></tr>`).join('')}</tbody></table>` +
        `<p class="note">${esc(a.footnote)}</p>`;
    }
    html += '</article>';
  }
  if (s.yield) html += yieldPageHtml(s.yield, (title) => head(s, title, 3, pages, ''));
  if (comparison) html += comparisonPageHtml(s, comparison, pages - (s.release ? 1 : 0), pages);
  const r = s.release;
  if (r) {
    html += `<article class="page releasePage">${head(s, r.title, pages, pages, '')}` +
      `<table class="labelled"><tbody>${r.info.map(([l, v]) => `<tr><td class="muted">${esc(l)}</td><td>${esc(v)}</td></tr>`).join('')}</tbody></table>` +
      `<h2>${esc(r.materialHeading)}</h2>${r.material.map((l, i) => `<p class="${i ? 'muted' : 'material'}">${esc(l)}</p>`).join('')}` +
      `<h2>${esc(r.approvalHeading)}</h2>${table(r.approvalColumns, r.approval)}` +
      `<h2>${esc(r.notesHeading)}</h2><p class="fullNotes">${esc(r.notes)}</p></article>`;
  }
  return html;
}

// The comparison page (the section's sheetPage(): its texts, tables and
// chart), before the release page.
function comparisonPageHtml(s, c, page, pages) {
  const numeric = (columns) => columns.map((_, i) => i).slice(1);
  let html = `<article class="page comparisonPage">${head(s, c.title, page, pages, '')}` +
    `<h2>${esc(c.chartHeading)}</h2><figure class="main">${svg(c.chart, 720, 380)}<figcaption>${esc(c.chartCaption)}</figcaption></figure>` +
    `<h2>${esc(c.designsHeading)}</h2>${table(c.designColumns, c.designs, () => '', numeric(c.designColumns))}`;
  if (c.measured.length) {
    html += `<h2>${esc(c.measuredHeading)}</h2>${table(c.measuredColumns, c.measured, () => '', numeric(c.measuredColumns))}`;
  }
  const sc = c.scatter;
  if (sc) {
    html += `<h2>${esc(sc.heading)}</h2><p>${esc(sc.tolerances)}</p>${table(sc.columns, sc.rows, () => '', numeric(sc.columns))}` +
      `<p>${esc(sc.shares)}</p><p>${esc(sc.sensitivity)}</p><p class="note">${esc(sc.basis)}</p>`;
  }
  return `${html}</article>`;
}

// The production yield of the last curve run's design, as the core's
// yieldView() gives it: the table of the analysis section and the design
// sheet's yield page (after the analysis's), the same texts as the desktop.
const esc = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const rowsHtml = (columns, rows, numeric, firstBold) =>
  `<table class="yield"><thead><tr>${columns.map((c, i) => `<th${numeric.includes(i) ? ' class="num"' : ''}>${esc(c)}</th>`).join('')}</tr></thead><tbody>${
    rows.map((r, k) => `<tr${firstBold && k === 0 ? ' class="total"' : ''}>${r.map((c, i) => `<td${numeric.includes(i) ? ' class="num"' : ''}>${esc(c)}</td>`).join('')}</tr>`).join('')
  }</tbody></table>`;

// The body of the yield: headline, basis, the requirements and the tolerances.
function yieldBody(y, headingTag) {
  if (y.error) return `<p class="fail">${esc(y.error)}</p>`;
  return `<p class="yieldHeadline">${esc(y.headline)}</p><p>${esc(y.basis)}</p>` +
    `<${headingTag}>${esc(y.requirementsHeading)}</${headingTag}>${rowsHtml(y.requirementColumns, y.rows, [1, 2, 3], true)}` +
    `<${headingTag}>${esc(y.tolerancesHeading)}</${headingTag}>${rowsHtml(y.toleranceColumns, y.tolerances, [1, 2], false)}` +
    `<p class="note">${esc(y.footnote)}</p>`;
}

// The analysis section's part: `y` the parsed yieldView() (null before a
// run), `stale` when the inputs were edited since the run.
export function yieldSectionHtml(y, stale) {
  if (!y) return '';
  return `<section class="yieldSection${stale ? ' stale' : ''}"><h3>${esc(y.title)}</h3>${yieldBody(y, 'h4')}</section>`;
}

// The sheet's page: `head` gives the page's running head and title block.
export function yieldPageHtml(y, head) {
  return `<article class="page yieldPage">${head(y.title)}${yieldBody(y, 'h2')}</article>`;
}

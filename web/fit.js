// Fitting a caption or a box's text into its fixed place, as the desktop
// window does: the page's font where the text fits, otherwise a smaller one
// (down to 9 px) until the whole text shows. The boxes are sized for a narrow
// 12-pixel font; the system's CJK fonts are wider.
const SMALLEST = 9;

function overflows(el) {
  if (el.tagName === 'INPUT') return el.scrollWidth > el.clientWidth;
  return el.scrollWidth > el.clientWidth || el.scrollHeight > el.clientHeight + 1;
}

export function fitText(el) {
  el.style.fontSize = '';
  const base = parseFloat(getComputedStyle(el).fontSize);
  for (let size = base; overflows(el) && size > SMALLEST; ) {
    size = Math.max(SMALLEST, size - 0.5);
    el.style.fontSize = `${size}px`;
  }
}

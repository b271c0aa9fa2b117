// Fitting a caption or a box's text into its fixed place, as the desktop
// window does: the page's font where the text fits, otherwise a smaller one
// (down to 9 px) until the whole text shows. The boxes are sized for a narrow
// 12-pixel font; the system's CJK fonts are wider.
const SMALLEST = 9;
// Past the smallest size a caption takes a narrower face, as the desktop's
// captions do (95 %, then 90 % of the font's width): the page lays the text
// out in a box wider by 1/s and draws it at s of its width.
const STRETCHES = [0.95, 0.9];

function overflows(el) {
  if (el.tagName === 'INPUT') return el.scrollWidth > el.clientWidth;
  return el.scrollWidth > el.clientWidth || el.scrollHeight > el.clientHeight + 1;
}

// The caption drawn at `stretch` of its width, in its place.
function condense(el, stretch) {
  el.dataset.width ??= el.style.width;
  el.style.width = stretch === 1 ? el.dataset.width : `${parseFloat(el.dataset.width) / stretch}px`;
  el.style.transform = stretch === 1 ? '' : `scaleX(${stretch})`;
  el.style.transformOrigin = stretch === 1 ? '' : 'left';
  el.dataset.stretch = stretch;
}

export function fitText(el) {
  const caption = el.classList.contains('label');
  el.style.fontSize = '';
  if (caption) condense(el, 1);
  const base = parseFloat(getComputedStyle(el).fontSize);
  for (let size = base; overflows(el) && size > SMALLEST; ) {
    size = Math.max(SMALLEST, size - 0.5);
    el.style.fontSize = `${size}px`;
  }
  if (caption) for (const stretch of STRETCHES) if (overflows(el)) condense(el, stretch);
}

// The captions of a group (a frame), each fitted, then shrunk evenly: where
// one needs a smaller or narrower font, all of the group take the smallest
// and narrowest any of them needs.
export function fitGroup(labels) {
  for (const el of labels) fitText(el);
  if (!labels.some((el) => el.style.fontSize)) return;
  const least = Math.min(...labels.map((el) => parseFloat(getComputedStyle(el).fontSize)));
  const narrowest = Math.min(...labels.map((el) => Number(el.dataset.stretch)));
  for (const el of labels) {
    el.style.fontSize = `${least}px`;
    condense(el, narrowest);
  }
}

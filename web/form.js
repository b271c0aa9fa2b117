// The window's form in the page, built from the core's layout table: the
// frames, labels, boxes, sliders, buttons, the chart's canvas and the
// decorative spring, each control wired to act() in the headless front end's
// terms. Returns the chart's canvas.
import { fitGroup, fitText } from './fit.js';
import { drawSpringPicture } from './picture.js';

const px = (twips) => Math.floor((twips + 7) / 15);

export function buildForm(root, core, act) {
  let canvas = null;
  let picture = null;  // the decorative spring
  document.getElementById('loading')?.remove();
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
        // A range in parentheses, "(1.2-1.35)", never breaks inside.
        for (const part of c.text.split(/(\([^)]*\))/)) {
          if (!part) continue;
          if (part.startsWith('(')) el.appendChild(Object.assign(document.createElement('span'), { className: 'nobr', textContent: part }));
          else el.appendChild(document.createTextNode(part));
        }
        break;
      case 'text':
        el = document.createElement('input');
        el.type = 'text';
        el.value = c.text;
        el.readOnly = Boolean(c.readOnly);  // the results: written by the program only
        el.addEventListener('input', () => act([{ set: [c.name, el.value] }]));
        break;
      case 'slider':
        el = document.createElement('input');
        el.type = 'range';
        el.min = c.min;
        el.max = c.max;
        el.value = c.value;
        el.title = c.tip;
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
      case 'image':
        el = picture = document.createElement('canvas');
        el.className = 'picture';
        el.setAttribute('aria-hidden', 'true');
        break;
      default:
        continue;
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
  // A label ends where a box beside it begins ("H/h=" before its box), and
  // begins 2 px after a box that reaches into it ("λ1H="): the system's fonts
  // are wider than the window's, and the text shrinks to fit.
  const boxes = [...root.querySelectorAll('input[type=text]')].map((b) => [b, b.getBoundingClientRect()]);
  for (const label of root.querySelectorAll('.label')) {
    const r = label.getBoundingClientRect();
    for (const [, b] of boxes) {
      if (b.top >= r.bottom || b.bottom <= r.top) continue;
      if (b.left > r.left && b.left < r.right) label.style.width = `${Math.floor(b.left - r.left)}px`;
      const beside = Math.min(b.bottom, r.bottom) - Math.max(b.top, r.top) > 2;  // more than a frame's edge
      if (beside && b.left < r.left && b.right >= r.left && b.right < r.right) label.style.paddingLeft = `${Math.ceil(b.right + 2 - r.left)}px`;
    }
  }
  for (const el of root.querySelectorAll('button, input[type=text]')) fitText(el);
  for (const el of root.querySelectorAll('.label')) if (!el.parentElement.classList.contains('frame')) fitText(el);
  for (const frame of root.querySelectorAll('.frame')) fitGroup([...frame.children].filter((el) => el.classList.contains('label')));
  if (picture) {
    const data = JSON.parse(core.springPicture());
    const draw = () => drawSpringPicture(picture, data);
    draw();
    const watchRatio = () => matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
      draw();
      watchRatio();
    }, { once: true });
    watchRatio();
  }
  return canvas;
}

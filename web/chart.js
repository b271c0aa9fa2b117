// Draws the window's chart from its display list (the "chart" array of the
// state) on a canvas, as the desktop's painter does: a Scale sets the user
// coordinates of the whole picture, lines and dots in the current draw width,
// texts hanging below their anchor.

const FONT = '10px "Noto Sans CJK SC", "Microsoft YaHei", "PingFang SC", "SimSun", sans-serif';

export function bgrToCss(color) {
  return `rgb(${color & 0xff},${(color >> 8) & 0xff},${(color >> 16) & 0xff})`;
}

// The drawing state of one replay: the coordinate system and draw width in
// force, the styles set (setting a style parses it: set each only when it
// changes), the area of `width` x `height` CSS pixels, `pixel` one device
// pixel in those units.
function startReplay(ctx, width, height, pixel) {
  const r = { ctx, width, height, pixel, scale: null, drawWidth: 1, fill: null, stroke: null };
  ctx.lineCap = 'square';
  ctx.lineJoin = 'miter';
  ctx.font = FONT;
  ctx.textBaseline = 'top';
  clearArea(r);
  return r;
}

function fillWith(r, css) {
  if (css !== r.fill) r.ctx.fillStyle = r.fill = css;
}

function clearArea(r) {
  fillWith(r, '#fff');
  r.ctx.fillRect(0, 0, r.width, r.height);
}

function mapX(r, x) {
  if (!r.scale) return x / 15;
  const w = r.scale[2] - r.scale[0];
  return w !== 0 ? ((x - r.scale[0]) / w) * r.width : 0;
}

function mapY(r, y) {
  if (!r.scale) return y / 15;
  const h = r.scale[3] - r.scale[1];
  return h !== 0 ? ((y - r.scale[1]) / h) * r.height : 0;
}

// One operation in the packed form (kind 0 scale, 1 line, 2 dot, 3 text,
// 4 width, 5 clear; colour -1: the default).
function step(r, kind, x1, y1, x2, y2, color, text) {
  const { ctx } = r;
  switch (kind) {
    case 0: r.scale = [x1, y1, x2, y2]; break;
    case 4: r.drawWidth = Math.max(1, x1); break;
    case 5: clearArea(r); break;
    case 1: {
      const css = color < 0 || color === null ? '#000' : bgrToCss(color);
      if (css !== r.stroke) ctx.strokeStyle = r.stroke = css;
      ctx.lineWidth = Math.max(r.pixel, r.drawWidth);
      ctx.beginPath();
      ctx.moveTo(mapX(r, x1), mapY(r, y1));
      ctx.lineTo(mapX(r, x2), mapY(r, y2));
      ctx.stroke();
      break;
    }
    case 2: {
      const side = Math.max(r.pixel, r.drawWidth);
      fillWith(r, bgrToCss(color));
      ctx.fillRect(mapX(r, x1) - side / 2, mapY(r, y1) - side / 2, side, side);
      break;
    }
    case 3:
      fillWith(r, '#000');
      ctx.fillText(text, mapX(r, x1), mapY(r, y1));
      break;
  }
}

// Packed operations (seven numbers each) with their texts, onto a replay.
export function stepPacked(r, packed, texts) {
  for (let i = 0; i < packed.length; i += 7) {
    step(r, packed[i], packed[i + 1], packed[i + 2], packed[i + 3], packed[i + 4], packed[i + 5],
      packed[i] === 3 ? texts[packed[i + 6]] : '');
  }
}

const KIND = { scale: 0, line: 1, pset: 2, print: 3, drawwidth: 4, cls: 5 };

// Replays `ops` (the display list's JSON form) onto any 2D context of a
// `width` x `height` area (CSS pixels); `pixel` is one device pixel in
// those units.
export function replay(ctx, ops, width, height, pixel) {
  const r = startReplay(ctx, width, height, pixel);
  for (const op of ops) {
    if (op.op === 'pset' || op.op === 'print') step(r, KIND[op.op], op.x, op.y, 0, 0, op.color, op.text);
    else if (op.op === 'drawwidth') step(r, 4, op.width);
    else step(r, KIND[op.op], op.x1, op.y1, op.x2, op.y2, op.color);
  }
}

// Sizes `canvas` for the screen's device pixel ratio (so that the lines
// stay crisp at any zoom), clears it and returns a replay onto it.
export function startCanvas(canvas) {
  const ratio = window.devicePixelRatio || 1;
  const width = canvas.clientWidth;
  const height = canvas.clientHeight;
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  const ctx = canvas.getContext('2d');
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  return startReplay(ctx, width, height, 1 / ratio);
}

// Draws `ops` on `canvas`.
export function drawChart(canvas, ops) {
  const r = startCanvas(canvas);
  replay(r.ctx, ops, r.width, r.height, r.pixel);
}

// The chart as an SVG document of `width` x `height` pixels.
export function chartSvg(ops, width, height) {
  const esc = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  const parts = [];
  let fill = null;
  const ctx = {
    set fillStyle(v) { fill = v; }, set strokeStyle(v) { this.stroke_ = v; }, set lineWidth(v) { this.width_ = v; },
    lineCap: '', lineJoin: '', font: '', textBaseline: '',
    fillRect(x, y, w, h) { parts.push(`<rect x="${x}" y="${y}" width="${w}" height="${h}" fill="${fill}"/>`); },
    beginPath() { this.path_ = []; }, moveTo(x, y) { this.path_.push([x, y]); }, lineTo(x, y) { this.path_.push([x, y]); },
    stroke() {
      const [[x1, y1], [x2, y2]] = this.path_;
      parts.push(`<line x1="${x1}" y1="${y1}" x2="${x2}" y2="${y2}" stroke="${this.stroke_}" stroke-width="${this.width_}" stroke-linecap="square"/>`);
    },
    fillText(t, x, y) { parts.push(`<text x="${x}" y="${y}" dominant-baseline="hanging" fill="${fill}">${esc(t)}</text>`); },
  };
  replay(ctx, ops, width, height, 1);
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}" ` +
    `font-family="Noto Sans CJK SC, Microsoft YaHei, SimSun, sans-serif" font-size="10">${parts.join('')}</svg>\n`;
}

// A chart's packed numbers (seven per operation) and texts, unpacked into
// the operations of the display list's JSON form.
const KINDS = ['scale', 'line', 'pset', 'print', 'drawwidth', 'cls'];
export function unpack(packed, texts) {
  const ops = [];
  for (let i = 0; i < packed.length; i += 7) {
    const [k, x1, y1, x2, y2, color, text] = packed.subarray(i, i + 7);
    const op = KINDS[k];
    if (op === 'scale') ops.push({ op, x1, y1, x2, y2 });
    else if (op === 'line') ops.push({ op, x1, y1, x2, y2, color: color < 0 ? null : color });
    else if (op === 'pset') ops.push({ op, x: x1, y: y1, color });
    else if (op === 'print') ops.push({ op, x: x1, y: y1, text: texts[text] });
    else if (op === 'drawwidth') ops.push({ op, width: x1 });
    else ops.push({ op });
  }
  return ops;
}

// Draws the window's chart from its display list (the "chart" array of the
// state) on a canvas, as the desktop's painter does: a Scale sets the user
// coordinates of the whole picture, lines and dots in the current draw width,
// texts hanging below their anchor.

const FONT = '10px "Noto Sans CJK SC", "Microsoft YaHei", "PingFang SC", "SimSun", sans-serif';

export function bgrToCss(color) {
  return `rgb(${color & 0xff},${(color >> 8) & 0xff},${(color >> 16) & 0xff})`;
}

// Replays `ops` onto any 2D context of a `width` x `height` area (CSS
// pixels); `pixel` is one device pixel in those units.
export function replay(ctx, ops, width, height, pixel) {
  let scale = null;
  let drawWidth = 1;
  // Setting a style parses it: set each only when it changes.
  let fill = null;
  let stroke = null;
  const fillWith = (css) => {
    if (css !== fill) ctx.fillStyle = fill = css;
  };
  const strokeWith = (css) => {
    if (css !== stroke) ctx.strokeStyle = stroke = css;
  };
  const map = (x, y) => {
    if (!scale) return [x / 15, y / 15];
    const w = scale.x2 - scale.x1;
    const h = scale.y2 - scale.y1;
    return [w !== 0 ? ((x - scale.x1) / w) * width : 0, h !== 0 ? ((y - scale.y1) / h) * height : 0];
  };
  const clear = () => {
    fillWith('#fff');
    ctx.fillRect(0, 0, width, height);
  };
  clear();
  ctx.lineCap = 'square';
  ctx.lineJoin = 'miter';
  ctx.font = FONT;
  ctx.textBaseline = 'top';
  for (const op of ops) {
    switch (op.op) {
      case 'scale': scale = op; break;
      case 'drawwidth': drawWidth = Math.max(1, op.width); break;
      case 'cls': clear(); break;
      case 'line': {
        const [x1, y1] = map(op.x1, op.y1);
        const [x2, y2] = map(op.x2, op.y2);
        strokeWith(op.color === null ? '#000' : bgrToCss(op.color));
        ctx.lineWidth = Math.max(pixel, drawWidth);
        ctx.beginPath();
        ctx.moveTo(x1, y1);
        ctx.lineTo(x2, y2);
        ctx.stroke();
        break;
      }
      case 'pset': {
        const [x, y] = map(op.x, op.y);
        const side = Math.max(pixel, drawWidth);
        fillWith(bgrToCss(op.color));
        ctx.fillRect(x - side / 2, y - side / 2, side, side);
        break;
      }
      case 'print': {
        const [x, y] = map(op.x, op.y);
        fillWith('#000');
        ctx.fillText(op.text, x, y);
        break;
      }
    }
  }
}

// Draws on `canvas`, sized for the screen's device pixel ratio so that the
// lines stay crisp at any zoom.
export function drawChart(canvas, ops) {
  const ratio = window.devicePixelRatio || 1;
  const width = canvas.clientWidth;
  const height = canvas.clientHeight;
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  const ctx = canvas.getContext('2d');
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  replay(ctx, ops, width, height, 1 / ratio);
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

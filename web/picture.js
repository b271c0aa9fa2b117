// The window's decorative spring picture on a canvas, from the core's data
// (the desktop draws the same): the steel disc less its hole, slots and
// windows, with a faint shadow, a darker rim and the dashed support ring.
const rgba = (argb, opaque = false) => {
  const a = opaque ? 1 : (argb >>> 24) / 255;
  return `rgba(${(argb >>> 16) & 255}, ${(argb >>> 8) & 255}, ${argb & 255}, ${a})`;
};

// The cut-outs, one path (non-zero: overlaps stay cut): the hole, and per
// finger a slot along the radius from inside the hole out to its window.
function cuts(d) {
  const path = new Path2D();
  path.arc(0, 0, d.hole, 0, 2 * Math.PI);
  for (let i = 0; i < d.fingers; ++i) {
    const a = (2 * Math.PI * i) / d.fingers;
    const c = Math.cos(a), s = Math.sin(a);
    const nx = -s * d.slotHalfWidth, ny = c * d.slotHalfWidth;
    const ix = c * (d.hole - d.slotInset), iy = s * (d.hole - d.slotInset);
    const ox = c * d.slotRoot, oy = s * d.slotRoot;
    path.moveTo(ix - nx, iy - ny);  // turning as the arcs do, so that overlaps add up
    path.lineTo(ox - nx, oy - ny);
    path.lineTo(ox + nx, oy + ny);
    path.lineTo(ix + nx, iy + ny);
    path.closePath();
    path.moveTo(ox + d.window, oy);
    path.arc(ox, oy, d.window, 0, 2 * Math.PI);
  }
  return path;
}

// The spring alone, on a canvas of `size` device pixels, in the picture's units.
function spring(d, size, fill) {
  const c = document.createElement('canvas');
  c.width = c.height = size;
  const ctx = c.getContext('2d');
  ctx.setTransform(size / 2 / d.unit, 0, 0, size / 2 / d.unit, size / 2, size / 2);
  const disc = new Path2D();
  disc.arc(0, 0, d.outer, 0, 2 * Math.PI);
  const cut = cuts(d);
  ctx.fillStyle = fill;
  ctx.fill(disc);
  if (fill === 'black') {
    ctx.globalCompositeOperation = 'destination-out';
    ctx.fill(cut);
    return c;
  }
  // The rim: the disc's edge, and every cut's edge at twice the width, of
  // which the cut then takes the inner half (and the strokes inside it).
  ctx.strokeStyle = rgba(d.rimRgb, true);
  ctx.lineWidth = d.rimWidth;
  ctx.stroke(disc);
  ctx.lineWidth = 2 * d.rimWidth;
  ctx.stroke(cut);
  ctx.globalCompositeOperation = 'destination-out';
  ctx.fill(cut);
  ctx.globalCompositeOperation = 'source-over';
  ctx.strokeStyle = rgba(d.ringArgb);
  ctx.lineWidth = d.ringWidth;
  ctx.setLineDash([4 * d.ringWidth, 2 * d.ringWidth]);  // as a dashed pen: dashes of 4 widths, gaps of 2
  ctx.beginPath();
  ctx.arc(0, 0, d.ringRadius, 0, 2 * Math.PI);
  ctx.stroke();
  return c;
}

// Draws the picture into `canvas` (its CSS size square) at the screen's pixel ratio.
export function drawSpringPicture(canvas, d, ratio = window.devicePixelRatio || 1) {
  const size = Math.round(canvas.clientWidth * ratio);
  if (size === 0) return;  // not laid out (the printed sheet shows in its place)
  canvas.width = canvas.height = size;
  const ctx = canvas.getContext('2d');
  ctx.clearRect(0, 0, size, size);
  const toDevice = size / 2 / d.unit;
  const steel = ctx.createRadialGradient(d.steel.x, d.steel.y, 0, d.steel.x, d.steel.y, d.steel.radius);
  for (const stop of d.steel.stops) steel.addColorStop(stop.at, rgba(stop.rgb, true));
  ctx.globalAlpha = (d.shadowArgb >>> 24) / 255;
  ctx.drawImage(spring(d, size, 'black'), d.shadow[0] * toDevice, d.shadow[1] * toDevice);
  ctx.globalAlpha = 1;
  ctx.drawImage(spring(d, size, steel), 0, 0);
}

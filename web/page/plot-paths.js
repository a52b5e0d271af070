// uPlot path builders for series of 100000 points. A marker or a segment that
// would land on pixels already drawn is left out, so a redraw costs what the
// picture holds rather than what the run placed.

function pixelGrid(u) {
  const width = Math.ceil(u.bbox.width) + 1;
  const height = Math.ceil(u.bbox.height) + 1;
  const taken = new Uint8Array(width * height);
  const left = u.bbox.left;
  const top = u.bbox.top;
  // True the first time a pixel is asked for, false after; pixels off the
  // plot count as taken, since nothing drawn there would show.
  return (px, py) => {
    const i = Math.round(px - left);
    const j = Math.round(py - top);
    if (i < 0 || j < 0 || i >= width || j >= height) return false;
    const cell = j * width + i;
    if (taken[cell]) return false;
    taken[cell] = 1;
    return true;
  };
}

const Shapes = {
  diamond(path, x, y, r) {
    path.moveTo(x, y - r);
    path.lineTo(x + r, y);
    path.lineTo(x, y + r);
    path.lineTo(x - r, y);
    path.closePath();
  },
  circle(path, x, y, r) {
    path.moveTo(x + r, y);
    path.arc(x, y, r, 0, 2 * Math.PI);
  },
};

// Markers at each point with finite coordinates; size is the full width in CSS pixels.
export function markerPaths(shape, size) {
  const draw = Shapes[shape];
  return (u, seriesIdx) => {
    const [xs, ys] = u.data[seriesIdx];
    const path = new Path2D();
    const fresh = pixelGrid(u);
    const r = (size * devicePixelRatio) / 2;
    for (let i = 0; i < xs.length; ++i) {
      const x = xs[i];
      const y = ys[i];
      if (!Number.isFinite(x) || !Number.isFinite(y)) continue;
      const px = u.valToPos(x, 'x', true);
      const py = u.valToPos(y, 'y', true);
      if (fresh(px, py)) draw(path, px, py, r);
    }
    return { stroke: path, fill: path, clip: null, flags: 0 };
  };
}

// Horizontal segments: point 2i is a segment's left end, point 2i + 1 its
// right end at the same height.
export function segmentPaths() {
  return (u, seriesIdx) => {
    const [xs, ys] = u.data[seriesIdx];
    const path = new Path2D();
    const fresh = pixelGrid(u);
    for (let i = 0; i + 1 < xs.length; i += 2) {
      const y = ys[i];
      if (!Number.isFinite(y) || !Number.isFinite(xs[i]) || !Number.isFinite(xs[i + 1])) continue;
      const a = u.valToPos(xs[i], 'x', true);
      const b = u.valToPos(xs[i + 1], 'x', true);
      const py = u.valToPos(y, 'y', true);
      if (Math.abs(b - a) < 1 && !fresh((a + b) / 2, py)) continue;
      path.moveTo(a, py);
      path.lineTo(b === a ? a + 1 : b, py);
    }
    return { stroke: path, fill: null, clip: null, flags: 0 };
  };
}

// A band across the plot's height over [a, b] in x, under the series.
export function shadeHook(colour, band) {
  return (u) => {
    const range = band();
    if (!range) return;
    const a = u.valToPos(Math.min(range[0], range[1]), 'x', true);
    const b = u.valToPos(Math.max(range[0], range[1]), 'x', true);
    const left = Math.max(a, u.bbox.left);
    const right = Math.min(b, u.bbox.left + u.bbox.width);
    if (right < left) return;
    u.ctx.save();
    u.ctx.fillStyle = colour;
    u.ctx.fillRect(left, u.bbox.top, Math.max(right - left, 1), u.bbox.height);
    u.ctx.restore();
  };
}

// The finite values' span, widened a little so nothing sits on the frame.
export function paddedRange(low, high) {
  if (!(low <= high)) return [-1, 1];
  const margin = low === high ? Math.max(1, Math.abs(low) * 0.1) : (high - low) * 0.04;
  return [low - margin, high + margin];
}

export function finiteSpan(...arrays) {
  let low = Infinity;
  let high = -Infinity;
  for (const values of arrays) {
    for (const v of values) {
      if (!Number.isFinite(v)) continue;
      if (v < low) low = v;
      if (v > high) high = v;
    }
  }
  return [low, high];
}

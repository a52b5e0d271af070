// A uPlot chart that fills its container and follows its size.
import { onLanguageChange, separator } from './texts.js';

// The charts alive, whose tick labels change with the language's separator.
const plots = new Set();
onLanguageChange(() => {
  for (const u of plots) u.redraw(false, true);
});

export function makePlot(container, options, data) {
  const size = () => ({ width: Math.max(container.clientWidth, 100), height: Math.max(container.clientHeight, 80) });
  const resized = new ResizeObserver(() => {
    const next = size();
    if (next.width !== u.width || next.height !== u.height) u.setSize(next);
  });
  const forget = () => {
    resized.disconnect();
    plots.delete(u);
  };
  const u = new uPlot({ ...options, hooks: { ...options.hooks, destroy: [forget] }, ...size() }, data, container);
  plots.add(u);
  resized.observe(container);
  return u;
}

// What every chart of the page shares: no uPlot legend (the page writes its
// own), drag to zoom, double click back, x and y as plain numbers.
export function baseOptions(series, scales) {
  return {
    mode: 2,
    legend: { show: false },
    cursor: { drag: { x: true, y: true, uni: 20 }, points: { show: false } },
    scales,
    series: [{}, ...series],
    axes: [
      { stroke: '#333', grid: { stroke: '#e4e4e4' }, values: axisLabels },
      { stroke: '#333', grid: { stroke: '#e4e4e4' }, size: 60, values: axisLabels },
    ],
  };
}

// Tick labels with the language's separator and no grouping of thousands.
function axisLabels(u, splits) {
  return splits.map((v) => (v == null ? '' : String(Number(v.toPrecision(12))).replace('.', separator())));
}

// A series of mode 2 on the scales x and y.
export function facetSeries(options) {
  return {
    facets: [
      { scale: 'x', auto: true },
      { scale: 'y', auto: true },
    ],
    points: { show: false },
    ...options,
  };
}

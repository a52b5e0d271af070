// The operational characteristics: for each method, the share of the
// problems solved within k trials, a step curve that rises at each first hit.
import { baseOptions, facetSeries, makePlot } from './plot-frame.js';

const Palette = ['#1f4fbf', '#d02020', '#008000', '#e07000', '#7030a0', '#00808c', '#8b4513', '#c71585', '#556b2f', '#4682b4'];

let plot = null;
let container = null;
let shown = [];

// uPlot's mode 2 needs a series to make a chart: none is drawn before the first run.
function build(logK) {
  if (plot) plot.destroy();
  plot = null;
  if (!shown.length) return;
  const series = shown.map((curve, i) =>
    facetSeries({ label: curve.label, stroke: Palette[i % Palette.length], width: 2, paths: uPlot.paths.stepped({ align: 1 }) }),
  );
  const options = baseOptions(series, {
    x: { time: false, distr: logK ? 3 : 1, auto: true },
    y: { range: () => [0, 1.02] },
  });
  plot = makePlot(container, options, [null, ...shown.map((curve) => [curve.k, curve.share])]);
}

export function setUpLabChart(box) {
  container = box;
}

// curves: [{label, k: number[], share: number[]}]; the legend goes into legendBox.
export function showCharacteristics(curves, logK, legendBox) {
  shown = curves;
  build(logK);
  legendBox.replaceChildren(
    ...curves.map((curve, i) => {
      const item = document.createElement('span');
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = Palette[i % Palette.length];
      item.append(swatch, ` ${curve.label}`);
      return item;
    }),
  );
}

export function setLogK(logK) {
  build(logK);
}

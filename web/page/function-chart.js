// The Search tab's chart: the function from its 500 samples and every trial
// point, as the window draws them (a blue line, red diamonds).
import { chartImage } from './chart-image.js';
import { finiteSpan, markerPaths, paddedRange } from './plot-paths.js';
import { baseOptions, facetSeries, makePlot } from './plot-frame.js';

const CurveColour = '#0000ff';
const TrialColour = '#ff0000';

let plot = null;
let home = { x: [-1, 1], y: [-1, 1] };

// A sample where F has no finite value is a gap in the line.
function gapped(values) {
  return Array.from(values, (v) => (Number.isFinite(v) ? v : null));
}

export function setUpFunctionChart(container) {
  const series = [
    facetSeries({ stroke: CurveColour, width: 1, spanGaps: false }),
    facetSeries({ stroke: '#800040', fill: TrialColour, width: 1, paths: markerPaths('diamond', 6) }),
  ];
  const scales = {
    x: { time: false, range: () => home.x },
    y: { range: () => home.y },
  };
  plot = makePlot(container, baseOptions(series, scales), [null, [[], []], [[], []]]);
}

// The view the window draws: the function and every trial, nothing more.
export function showFunction(curve, trials = { x: [], f: [] }) {
  const xs = finiteSpan(curve.x, trials.x);
  const fs = finiteSpan(curve.f, trials.f);
  // Along x the view is tight, as the window's; along y padded, so no point sits on the frame.
  home = { x: xs[0] < xs[1] ? xs : paddedRange(...xs), y: paddedRange(...fs) };
  plot.setData([null, [Array.from(curve.x), gapped(curve.f)], [trials.x, trials.f]]);
}

export function functionChartImage(title, legend) {
  return chartImage(plot, title, legend);
}

export const ChartColours = { curve: CurveColour, trials: TrialColour };

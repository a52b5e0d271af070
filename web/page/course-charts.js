// The course's three charts: the trials with the step's point and broken
// line, the characteristics the step chose from, and the lowest value found
// by step. What stays for the whole run is set once; a step changes only its own data.
import { chartImage } from './chart-image.js';
import { finiteSpan, markerPaths, paddedRange, segmentPaths, shadeHook } from './plot-paths.js';
import { baseOptions, facetSeries, makePlot } from './plot-frame.js';

export const CourseColours = {
  function: '#1f4fbf',
  trials: '#d02020',
  point: '#00a000',
  line: '#e07000',
  shade: '#fff0b0',
  charact: '#206070',
  chosen: '#c00000',
};

const Empty = [[], []];

let trace = null;
let charact = null;
let best = null;
// The run's view along x, shared by the trials and the characteristics.
let view = { x: [-1, 1], runY: [-1, 1], traceY: [-1, 1], charactY: [-1, 1], steps: [0, 1], bestY: [-1, 1] };
let shaded = null;
let marker = null;
let curveData = Empty;

// A zoom or pan of one chart's x moves the other's with it.
function followX(other) {
  return (u, key) => {
    if (key !== 'x' || !other()) return;
    const { min, max } = u.scales.x;
    const scale = other().scales.x;
    if (scale.min !== min || scale.max !== max) other().setScale('x', { min, max });
  };
}

export function setUpCourseCharts(traceBox, charactBox, bestBox) {
  const shade = shadeHook(CourseColours.shade, () => shaded);
  trace = makePlot(
    traceBox,
    {
      ...baseOptions(
        [
          facetSeries({ stroke: CourseColours.function, width: 1, spanGaps: false }),
          facetSeries({ stroke: CourseColours.line, width: 1.5, spanGaps: false }),
          facetSeries({ stroke: '#8b0000', fill: CourseColours.trials, width: 1, paths: markerPaths('diamond', 7) }),
          facetSeries({ stroke: '#000', fill: CourseColours.point, width: 1, paths: markerPaths('circle', 10) }),
        ],
        { x: { time: false, range: () => view.x }, y: { range: () => view.traceY } },
      ),
      hooks: { drawClear: [shade], setScale: [followX(() => charact)] },
    },
    [null, Empty, Empty, Empty, Empty],
  );
  charact = makePlot(
    charactBox,
    {
      ...baseOptions(
        [
          facetSeries({ stroke: CourseColours.charact, width: 1.5, paths: segmentPaths() }),
          facetSeries({ stroke: CourseColours.chosen, width: 3, paths: segmentPaths() }),
        ],
        { x: { time: false, range: () => view.x }, y: { range: () => view.charactY } },
      ),
      hooks: { drawClear: [shade], setScale: [followX(() => trace)] },
    },
    [null, Empty, Empty],
  );
  best = makePlot(
    bestBox,
    {
      ...baseOptions(
        [facetSeries({ stroke: CourseColours.function, width: 1.5, paths: uPlot.paths.stepped({ align: 1 }) })],
        { x: { time: false, range: () => view.steps }, y: { range: () => view.bestY } },
      ),
      hooks: { draw: [drawMarker] },
    },
    [null, Empty],
  );
}

function drawMarker(u) {
  if (!marker) return;
  const x = u.valToPos(marker[0], 'x', true);
  const y = u.valToPos(marker[1], 'y', true);
  if (!Number.isFinite(x) || !Number.isFinite(y)) return;
  u.ctx.save();
  u.ctx.strokeStyle = CourseColours.chosen;
  u.ctx.lineWidth = 2 * devicePixelRatio;
  u.ctx.beginPath();
  u.ctx.arc(x, y, 4.5 * devicePixelRatio, 0, 2 * Math.PI);
  u.ctx.stroke();
  u.ctx.restore();
}

function gapped(values) {
  return Array.from(values, (v) => (Number.isFinite(v) ? v : null));
}

// The whole run: the function, the span of every trial, the best value by step.
export function showCourseRun(curve, trials, bestByStep) {
  const xs = finiteSpan(curve.x, trials.x);
  view.x = xs[0] < xs[1] ? xs : paddedRange(...xs);
  view.runY = finiteSpan(curve.f, trials.f);
  const steps = Float64Array.from(bestByStep, (_, k) => k);
  view.steps = paddedRange(0, Math.max(1, bestByStep.length - 1));
  view.bestY = paddedRange(...finiteSpan(bestByStep));
  curveData = [Array.from(curve.x), gapped(curve.f)];
  trace.setData([null, curveData, Empty, Empty, Empty]);
  charact.setData([null, Empty, Empty]);
  best.setData([null, [steps, gapped(bestByStep)]]);
}

// One step: the trials before it, its point, the broken line, the
// characteristics with the chosen interval's, and the marker at the step.
// step: {k, point: [x, f] or null, interval: [left, right] or null, charact}.
// A zoom along x stays from step to step; y follows each step.
export function showCourseStep(state, step, bestAtStep) {
  shaded = step.interval;
  // Upwards the function and the run's trials; downwards as deep as the broken line.
  view.traceY = paddedRange(...finiteSpan(view.runY, state.minorant.f));
  const point = step.point ? [[step.point[0]], [step.point[1]]] : Empty;
  trace.batch(() => {
    trace.setData([null, curveData, [state.minorant.x, gapped(state.minorant.f)], [state.trials.x, state.trials.f], point], false);
    trace.setScale('y', { min: view.traceY[0], max: view.traceY[1] });
  });

  view.charactY = paddedRange(...finiteSpan(state.characts));
  const chosen = step.interval ? [[step.interval[0], step.interval[1]], [step.charact, step.charact]] : Empty;
  charact.batch(() => {
    charact.setData([null, intervalSegments(state.trials.x, state.characts), chosen], false);
    charact.setScale('y', { min: view.charactY[0], max: view.charactY[1] });
  });

  marker = [step.k, bestAtStep];
  best.redraw(false);
}

// Interval i, between trials i and i + 1, as the segment at its characteristic's height.
function intervalSegments(xs, characts) {
  const ends = new Float64Array(characts.length * 2);
  const heights = new Float64Array(characts.length * 2);
  for (let i = 0; i < characts.length; ++i) {
    ends[2 * i] = xs[i];
    ends[2 * i + 1] = xs[i + 1];
    heights[2 * i] = characts[i];
    heights[2 * i + 1] = characts[i];
  }
  return [ends, heights];
}

// One of the three charts as a picture under its title: 'trace', 'charact' or 'best'.
export function courseChartImage(which, title) {
  return chartImage({ trace, charact, best }[which], title);
}

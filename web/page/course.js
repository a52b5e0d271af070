// The course of the last Search, step by step: the slider, the step box,
// back, forward and play, and the table all show one step k. Step k shows
// what it decided from: the trials and characteristics step k − 1 left,
// the interval it chose and the point it placed.
import { withCore } from './core.js';
import { CourseColours, courseChartImage, setUpCourseCharts, showCourseRun, showCourseStep } from './course-charts.js';
import { csvBlob, offerDownload } from './downloads.js';
import { guarded } from './guard.js';
import { StepTable } from './step-table.js';
import { stepSummary } from './step-summary.js';
import { onLanguageChange, words } from './texts.js';

const $ = (id) => document.getElementById(id);

// Below 40 ms the eye no longer follows single frames, so faster speeds take bigger strides.
const FrameMs = 40;
const Speeds = [1, 2, 5, 10, 50, 200, 1000, 5000];
const DefaultSpeed = 1;

let run = null;
// The step shown; the run's last until the course is first looked at.
let step = 0;
let drawnRun = null;
let sliderFrame = 0;
let table = null;
let timer = null;
let lastState = null;

export function setUpCourse() {
  setUpCourseCharts($('course-trace'), $('course-charact'), $('course-best'));
  table = new StepTable($('course-table'), guarded((k) => setStep(k)));
  fillSpeeds();
  $('course-speed').selectedIndex = DefaultSpeed;
  // A dragged slider asks for more steps than a frame can show: the last one asked is drawn.
  $('course-slider').addEventListener('input', () => {
    if (!sliderFrame) {
      sliderFrame = requestAnimationFrame(guarded(() => {
        sliderFrame = 0;
        setStep(Number($('course-slider').value));
      }));
    }
  });
  $('panel-course').addEventListener('shown', guarded(drawRun));
  $('course-step').addEventListener('change', guarded(() => setStep(Number($('course-step').value))));
  $('course-back').addEventListener('click', guarded(() => setStep(step - 1)));
  $('course-forward').addEventListener('click', guarded(() => setStep(step + 1)));
  $('course-play').addEventListener('click', guarded(togglePlay));
  $('course-outside').addEventListener('click', guarded(() => setStep(run.firstStepOutside)));
  const titles = { trace: 'course-trace-title', charact: 'course-charact-title', best: null };
  for (const which of Object.keys(titles)) {
    offerDownload($(`course-save-${which}`), () => run && courseChartImage(which, titles[which] ? $(titles[which]).textContent : words().course.bestTitle));
  }
  // The window's table titles head the csv, as its course saves it.
  offerDownload($('course-save-steps'), () => run && csvBlob(withCore((core) => core.courseStepsCsv(words().course.columns.join(',')))));
  onLanguageChange(() => {
    const speed = $('course-speed').selectedIndex;
    fillSpeeds();
    $('course-speed').selectedIndex = speed;
    table.refresh();
    writeLegend();
    if (run) {
      $('course-outside').textContent = words().course.outside(run.firstStepOutside);
      showStep();
    }
  });
}

function fillSpeeds() {
  $('course-speed').replaceChildren(...words().course.speeds.map((text, i) => new Option(text, String(Speeds[i]))));
}

// The ends are the trials placed first and second.
function endsOf(trials, order) {
  const ends = [];
  for (const wanted of [1, 2]) {
    const i = order.indexOf(wanted);
    if (i >= 0) ends.push([trials.x[i], trials.f[i]]);
  }
  return ends;
}

// A run with its step records, its request and the function's samples; null forgets it.
export function showCourse(request, result, curve, method) {
  stopPlaying();
  // As in the window, a run that faulted has no course.
  const usable = result && result.steps && !result.fault && result.trials.x.length >= 2;
  $('course-none').hidden = Boolean(usable);
  $('course-body').hidden = !usable;
  if (!usable) {
    run = null;
    drawnRun = null;
    return;
  }
  const ends = endsOf(result.trials, result.order);
  run = {
    request,
    method: method.id,
    constantLabel: method.stepConstantLabel,
    brokenLine: method.brokenLine,
    usesSlope: method.usesSlope,
    steps: result.steps,
    ends,
    // The core keeps the run that recorded its steps as the course.
    bestByStep: withCore((core) => core.courseBest()),
    count: result.steps.step.length,
    firstStepOutside: result.firstStepOutside,
  };
  run.curve = curve;
  run.trials = result.trials;
  lastState = null;
  drawRun();
}

// A run's state costs the core a run of as many steps: the course draws only
// when it is in view.
function drawRun() {
  if (!run || drawnRun === run || $('panel-course').hidden) return;
  drawnRun = run;
  for (const id of ['course-slider', 'course-step']) $(id).max = String(run.count);
  $('course-outside').hidden = !(run.firstStepOutside > 0);
  $('course-outside').textContent = words().course.outside(run.firstStepOutside);
  writeLegend();
  showCourseRun(run.curve, run.trials, run.bestByStep);
  table.setSteps(run.steps);
  setStep(run.count);
}

function writeLegend() {
  const c = words().course;
  const item = (colour, mark, text) => `<span style="color:${colour}">${mark}</span> ${text}`;
  const items = [
    item(CourseColours.function, '&#9473;', c.legendFunction),
    item(CourseColours.trials, '&#9670;', c.legendTrials),
    item(CourseColours.point, '&#9679;', c.legendPoint),
  ];
  if (run && run.brokenLine) items.push(item(CourseColours.line, '&#9473;', c.legendLine));
  if (run && run.usesSlope) items.push(item(CourseColours.line, '&#9473;', c.legendMinorant));
  items.push(`<span class="shade-swatch" style="background:${CourseColours.shade}"></span> ${c.legendInterval}`);
  $('course-legend').innerHTML = items.join(' &nbsp; ');
}

function setStep(k) {
  if (!run) return;
  step = Math.min(Math.max(Math.round(Number.isFinite(k) ? k : 0), 0), run.count);
  $('course-slider').value = String(step);
  $('course-step').value = String(step);
  $('course-back').disabled = step === 0;
  $('course-forward').disabled = step === run.count;
  showStep();
  table.show(step);
}

// What step k chose from: the state step k − 1 left (step 0 shows the ends),
// with the broken line whose vertex is step k's point.
function stateBefore(k) {
  if (!lastState || lastState.k !== k) lastState = { k, state: withCore((core) => core.courseStep(k)) };
  return lastState.state;
}

function showStep() {
  const k = step;
  const state = stateBefore(k);
  const s = run.steps;
  const i = k - 1;
  const record = k > 0
    ? { k, point: [s.x[i], s.f[i]], interval: [s.left[i], s.right[i]], charact: s.charact[i] }
    : { k, point: null, interval: null, charact: NaN };
  showCourseStep(state, record, run.bestByStep[k]);
  const c = words().course;
  $('course-count').textContent = c.of(run.count);
  $('course-trace-title').textContent = k === 0 ? c.traceStart : c.traceStep(k, run.count, run.brokenLine);
  $('course-charact-title').textContent = k === 0 ? c.charactStart : c.charactStep(k);
  $('course-summary').textContent = stepSummary(run, k, state.characts);
}

function stopPlaying() {
  clearTimeout(timer);
  timer = null;
  $('course-play').setAttribute('aria-pressed', 'false');
  $('course-play').innerHTML = '&#9654;';
}

function togglePlay() {
  if (timer !== null || !run) {
    stopPlaying();
    return;
  }
  $('course-play').setAttribute('aria-pressed', 'true');
  $('course-play').innerHTML = '&#10074;&#10074;';
  // Play at the last step starts the replay over.
  if (step === run.count) setStep(0);
  timer = setTimeout(tick, FrameMs);
}

// The next frame is asked for only once this one is drawn: a slow frame
// cannot pile up ticks, and a fault in drawing stops the replay.
function tick() {
  const speed = Number($('course-speed').value);
  const interval = Math.max(FrameMs, 1000 / speed);
  const stride = Math.max(1, Math.floor((speed * interval) / 1000));
  let more = false;
  guarded(() => {
    setStep(step + stride);
    more = run !== null && step < run.count;
  })();
  if (more && timer !== null) timer = setTimeout(tick, interval);
  else stopPlaying();
}

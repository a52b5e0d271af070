// The lab: methods run over a class of functions or a shipped test set, in
// Web Workers; then the summary, the operational characteristics and the
// rows as csv, which velmora-run --from-csv reads back.
import { withCore } from './core.js';
import { csvBlob, enableDownload, offerDownload } from './downloads.js';
import { guarded } from './guard.js';
import { setLogK, setUpLabChart, showCharacteristics } from './lab-chart.js';
import { RunStopped, runInWorkers } from './lab-runner.js';
import { showSummary } from './lab-summary.js';
import { clearMessages, showMessage } from './messages.js';
import { readNumber, retypedNumber, shortestText } from './numbers.js';
import { language, onLanguageChange, words } from './texts.js';

const $ = (id) => document.getElementById(id);

// The lab starts with the window's two methods that compare well.
const CheckedAtStart = new Set(['strongin', 'piyavsky']);

let catalogue = [];
let running = null;
let output = null;
const testSets = new Map();

export function setUpLab(methods) {
  catalogue = methods;
  fillClasses();
  fillMethods();
  setUpLabChart($('lab-chart'));
  for (const id of ['lab-source-class', 'lab-source-set']) $(id).addEventListener('change', showSource);
  $('lab-run').addEventListener('click', guarded(run));
  $('lab-stop').addEventListener('click', guarded(stop));
  $('lab-log-k').addEventListener('change', guarded(() => setLogK($('lab-log-k').checked)));
  offerDownload($('lab-csv'), () => output && csvBlob(`${output.header}\n${output.csv}`));
  onLanguageChange((oldSeparator) => {
    for (const id of ['lab-delta', 'lab-eps-rel']) $(id).value = retypedNumber($(id).value, oldSeparator);
    fillMethodNames();
    if (output) showOutput(output);
  });
  showSource();
}

// The classes of random functions the core makes, and the shipped sets,
// whose rows a class run takes by position as velmora-run --class does.
const ShippedSets = ['hansen20', 'hill1000', 'shekel1000'];
const Classes = ['hill', 'shekel', ...ShippedSets];

function fillClasses() {
  $('lab-class').replaceChildren(...Classes.map((key) => new Option(key, key)));
  $('lab-set').replaceChildren(...ShippedSets.map((key) => new Option(key, key)));
}

function fillMethods() {
  const rows = catalogue.map((method) => {
    const row = document.createElement('div');
    row.className = 'lab-method';
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.id = `lab-m-${method.id}`;
    box.value = method.id;
    box.checked = CheckedAtStart.has(method.id);
    const label = document.createElement('label');
    label.htmlFor = box.id;
    label.dataset.method = method.id;
    const param = document.createElement('input');
    param.type = 'text';
    param.id = `lab-p-${method.id}`;
    param.className = 'number';
    param.disabled = method.param === null;
    row.append(box, label, param);
    return row;
  });
  $('lab-methods').replaceChildren(...rows);
  fillMethodNames();
}

function fillMethodNames() {
  for (const method of catalogue) {
    const label = document.querySelector(`label[data-method="${method.id}"]`);
    const name = language() === 'ru' && method.windowName ? method.windowName : method.name;
    label.textContent = `${method.id} — ${name}`;
    const param = $(`lab-p-${method.id}`);
    if (method.param === null) continue;
    param.setAttribute('aria-label', words().lab.paramTip(method.id));
    param.title = words().lab.paramTip(method.id);
    param.placeholder = method.batchNeedsParam ? words().lab.needsParam : `${method.paramSymbol || ''}`;
  }
}

function showSource() {
  const fromClass = $('lab-source-class').checked;
  $('lab-rule-class').hidden = !fromClass;
  $('lab-rule-set').hidden = fromClass;
}

// A whole number from a field, or null.
function wholeNumber(id) {
  const text = $(id).value.trim();
  return /^\d+$/.test(text) ? Number(text) : null;
}

// The chosen methods and the parameters typed for them; a message for what is wrong.
function readMethods() {
  const methods = [];
  const params = {};
  const problems = [];
  for (const method of catalogue) {
    if (!$(`lab-m-${method.id}`).checked) continue;
    methods.push(method.id);
    const text = $(`lab-p-${method.id}`).value.trim();
    if (method.param === null) continue;
    if (text === '') {
      if (method.batchNeedsParam) problems.push(`${method.id}: ${words().lab.needsParam}`);
      continue;
    }
    const value = readNumber(text);
    if (value === null) problems.push(words().lab.badNumber(method.id));
    else params[method.id] = value;
  }
  if (!methods.length) problems.push(words().lab.noMethods);
  return { methods, params, problems };
}

async function testSetText(name) {
  if (!testSets.has(name)) {
    const response = await fetch(`./data/${name}.tsv`);
    if (!response.ok) throw new Error(`./data/${name}.tsv: ${response.status}`);
    testSets.set(name, await response.text());
  }
  return testSets.get(name);
}

// The job for the workers and its range of problems; null after a message.
async function readJob() {
  const { methods, params, problems } = readMethods();
  const lab = words().lab;
  if ($('lab-source-class').checked) {
    const first = wholeNumber('lab-first');
    const last = wholeNumber('lab-last');
    if (first === null || last === null || last < first) problems.push(lab.badRange);
    const budget = wholeNumber('lab-budget');
    if (budget === null) problems.push(lab.badNumber(lab.budget));
    const delta = readNumber($('lab-delta').value);
    if (delta === null) problems.push(lab.badNumber(lab.delta));
    if (problems.length) return { problems };
    const request = { cls: $('lab-class').value, methods, params, budget, delta };
    const job = { kind: 'class', request };
    // A shipped set's rows are functions of a class too, by their position in its file.
    if (ShippedSets.includes(request.cls)) Object.assign(job, { set: request.cls, text: await testSetText(request.cls) });
    return { job, from: first, to: last + 1, name: `class-${request.cls}` };
  }
  const first = wholeNumber('lab-set-first');
  const count = wholeNumber('lab-set-count');
  if (first === null || count === null || count < 1) problems.push(lab.badRange);
  const request = { set: $('lab-set').value, methods, params };
  if ($('lab-rule-eps').checked) {
    request.epsRel = readNumber($('lab-eps-rel').value);
    if (request.epsRel === null) problems.push(lab.badNumber(lab.epsRel));
  } else {
    request.steps = wholeNumber('lab-steps');
    if (request.steps === null) problems.push(lab.badNumber(lab.steps));
  }
  if (problems.length) return { problems };
  const text = await testSetText(request.set);
  // A range past the set's end is cut to it: the set's size is its lines after the header.
  const size = text.split('\n').filter((line, i) => i > 0 && line.trim() !== '').length;
  if (first >= size) return { problems: [lab.badRange] };
  return { job: { kind: 'set', request, set: request.set, text }, from: first, to: Math.min(size, first + count), name: request.set };
}

async function run() {
  if (running) return;
  clearMessages();
  const read = await readJob();
  if (read.problems) {
    for (const problem of read.problems) showMessage(problem);
    return;
  }
  const started = performance.now();
  setRunning(true);
  $('lab-progress').value = 0;
  running = runInWorkers(read.job, read.from, read.to, (done, all) => {
    $('lab-progress').value = done / all;
  });
  $('lab-status').textContent = words().lab.workers(running.workerCount);
  try {
    const replies = await running.finished;
    output = { ...joined(replies), job: read.job, fileName: `velmora-${read.name}.csv` };
    showOutput(output);
    const runs = replies.reduce((sum, reply) => sum + reply.runs, 0);
    $('lab-status').textContent = words().lab.done(runs, ((performance.now() - started) / 1000).toFixed(1));
  } catch (error) {
    $('lab-progress').value = 0;
    if (error instanceof RunStopped) {
      $('lab-status').textContent = words().lab.stopped;
    } else {
      $('lab-status').textContent = '';
      showMessage(error.message, 'fault');
    }
  } finally {
    running = null;
    setRunning(false);
  }
}

function stop() {
  if (running) running.stop();
}

function setRunning(on) {
  $('lab-run').disabled = on;
  $('lab-stop').disabled = !on;
}

// The chunks' rows in range order, under the one header.
function joined(replies) {
  return { header: replies[0].header, csv: replies.map((reply) => reply.csv).join('') };
}

// The summary velmora-run --from-csv gives of the same rows; a class's
// needs the budget and δ the runs had, which the csv does not hold.
function summaryOf(out) {
  const text = `${out.header}\n${out.csv}`;
  const { kind, request } = out.job;
  return withCore((core) =>
    kind === 'class' ? core.classSummary(text, request.budget, request.delta) : core.testSetSummary(text),
  );
}

function showOutput(out) {
  $('lab-csv').download = out.fileName;
  enableDownload($('lab-csv'), true);
  const summary = summaryOf(out);
  if (summary.error) {
    showMessage(summary.error.message, 'fault');
    return;
  }
  showSummary($('lab-summary'), out.job.kind, summary.methods);
  const curves = summary.methods.map((m) => ({
    label: m.param === null ? m.id : `${m.id} (${shortestText(m.param)})`,
    k: m.characteristic.map((point) => point.k),
    share: m.characteristic.map((point) => point.share),
  }));
  showCharacteristics(curves, $('lab-log-k').checked, $('lab-legend'));
}

// The Search tab's inputs: the formula with its error line, the parameters,
// the interval, the method, the stop rule and the method's parameter, and
// how they read into a request for the core.
import { withCore } from './core.js';
import { guarded } from './guard.js';
import { fixedText, readNumber, retypedNumber, shortestText } from './numbers.js';
import { language, onLanguageChange, words } from './texts.js';

const MaxParams = 9;
const StopRules = ['steps', 'precision', 'eps'];

const $ = (id) => document.getElementById(id);

let catalogue = [];
let sampleFormulas = [];
let maxSteps = 0;
let formulaCorrect = false;
const formulaListeners = [];

export function methodById(id) {
  return catalogue.find((method) => method.id === id) || null;
}

export function currentMethod() {
  return methodById($('method').value);
}

export function isFormulaCorrect() {
  return formulaCorrect;
}

// Update and Search follow the formula's state, as in the window.
export function onFormulaState(listener) {
  formulaListeners.push(listener);
}

export function setUpSearchForm(methods) {
  catalogue = methods;
  sampleFormulas = withCore((core) => core.sampleFormulas());
  maxSteps = withCore((core) => core.maxSteps());
  $('steps').max = String(maxSteps);
  fillSamples();
  fillMethods();
  const on = (id, event, handler) => $(id).addEventListener(event, guarded(handler));
  on('formula', 'input', checkFormula);
  on('samples', 'change', () => {
    if ($('samples').value === '') return;
    $('formula').value = $('samples').value;
    checkFormula();
  });
  on('param-count', 'input', () => setParamCount(readParamCount()));
  on('param-count', 'change', () => {
    $('param-count').value = String(readParamCount());
  });
  on('random', 'click', randomParams);
  on('method', 'change', showMethod);
  for (const rule of StopRules) on(`stop-${rule}`, 'change', showStopRule);
  on('steps', 'change', correctSteps);
  onLanguageChange(retypeNumbers);
  showMethod();
  showStopRule();
  checkFormula();
}

function fillSamples() {
  const chosen = $('samples').value;
  $('samples').replaceChildren(new Option(words().noSample, ''), ...sampleFormulas.map((formula) => new Option(formula, formula)));
  $('samples').value = chosen;
}

// The window's three under their own names, then the others by key and name.
function fillMethods() {
  const select = $('method');
  const previous = select.value;
  const option = (method) => {
    if (!method.windowName) return new Option(`${method.id} — ${method.name}`, method.id);
    return new Option(language() === 'ru' ? method.windowName : method.name, method.id);
  };
  const group = (label, methods) => {
    const element = document.createElement('optgroup');
    element.label = label;
    element.append(...methods.map(option));
    return element;
  };
  const windowMethods = catalogue.filter((m) => m.windowName);
  const variants = catalogue.filter((m) => !m.windowName && !m.usesSlope);
  const slopeMethods = catalogue.filter((m) => !m.windowName && m.usesSlope);
  select.replaceChildren(
    ...windowMethods.map(option),
    group(words().otherMethods, variants),
    group(words().slopeMethods, slopeMethods),
  );
  select.value = previous && methodById(previous) ? previous : catalogue[0].id;
}

function checkFormula() {
  const text = $('formula').value;
  const check = withCore((core) => core.checkFormula(text));
  formulaCorrect = check.ok;
  const errors = $('formula-errors');
  errors.value = check.message;
  $('formula').setAttribute('aria-invalid', String(!check.ok));
  for (const listener of formulaListeners) listener(formulaCorrect);
}

// The window's spin box: a text that is no whole number counts as 0, and the
// count stays within 0..9.
function readParamCount() {
  const text = $('param-count').value.trim();
  if (!/^[+-]?\d+$/.test(text)) return 0;
  return Math.min(MaxParams, Math.max(0, Number(text)));
}

function paramCount() {
  return $('params').children.length;
}

// New columns start at 0; the ones kept keep their values.
function setParamCount(count) {
  const grid = $('params');
  while (grid.children.length > count) grid.lastElementChild.remove();
  while (grid.children.length < count) {
    const n = grid.children.length + 1;
    const cell = document.createElement('label');
    cell.className = 'param-cell';
    const head = document.createElement('span');
    head.textContent = `X[${n}]`;
    const input = document.createElement('input');
    input.type = 'text';
    input.id = `param-${n}`;
    input.className = 'number';
    input.value = '0';
    input.setAttribute('aria-label', `X[${n}]`);
    cell.append(head, input);
    grid.append(cell);
  }
  if (readParamCount() !== count) $('param-count').value = String(count);
  checkFormula();
}

// As the window draws them: -1 to 0.99996875 in steps of 1/32000.
function randomParams() {
  for (let n = 1; n <= paramCount(); ++n) {
    const k = Math.floor(Math.random() * 64000);
    $(`param-${n}`).value = fixedText((k - 32000) / 32000, 8, 7);
  }
}

function showMethod() {
  const method = currentMethod();
  const label = $('param-label');
  const hasParam = method.param !== null;
  // Without a parameter the label keeps the last method's words, greyed, as the window's does.
  if (hasParam || !label.textContent) label.textContent = paramCaption(hasParam ? method : firstWithParam());
  label.classList.toggle('disabled', !hasParam);
  $('param').disabled = !hasParam;
  const takesInterval = method.stops.includes('eps');
  for (const el of document.querySelectorAll('.eps-rule')) el.hidden = !takesInterval;
  if (!method.stops.includes(stopRule())) $('stop-steps').checked = true;
  for (const rule of StopRules) $(`stop-${rule}`).disabled = !method.stops.includes(rule);
  showDefaultParam(method);
  showStopRule();
}

// Switching between methods whose defaults agree keeps the typed value, as
// the window's one edit does; a method with another default starts from it.
let shownDefault = null;
function showDefaultParam(method) {
  if (method.param !== null && method.default !== shownDefault) {
    $('param').value = shortestText(method.default);
    shownDefault = method.default;
  }
}

function firstWithParam() {
  return catalogue.find((method) => method.param !== null);
}

function paramCaption(method) {
  if (method.paramLabel && language() === 'ru') return method.paramLabel;
  return words().paramLabel[method.param] || `${method.paramNoun} ${method.paramSymbol}:`;
}

export function stopRule() {
  return StopRules.find((rule) => $(`stop-${rule}`).checked);
}

function showStopRule() {
  const rule = stopRule();
  $('steps').disabled = rule !== 'steps';
  $('precision').disabled = rule !== 'precision';
  $('eps').disabled = rule !== 'eps';
  const label = $('made-label');
  label.dataset.text = rule === 'steps' ? 'madePrecision' : 'madeSteps';
  label.textContent = words()[label.dataset.text];
}

// The window's spin box corrects 250000 to 100000, and 0 or a text that is
// no whole number to 1.
function correctSteps() {
  const value = Number($('steps').value);
  const steps = Number.isInteger(value) && value >= 1 ? Math.min(value, maxSteps) : 1;
  $('steps').value = String(steps);
  return steps;
}

function retypeNumbers(oldSeparator) {
  for (const id of ['xmin', 'xmax', 'precision', 'eps', 'param']) $(id).value = retypedNumber($(id).value, oldSeparator);
  for (let n = 1; n <= paramCount(); ++n) $(`param-${n}`).value = retypedNumber($(`param-${n}`).value, oldSeparator);
  fillSamples();
  fillMethods();
  $('param-label').textContent = '';
  showMethod();
}

// The request the inputs make, or the window's messages about what is wrong,
// in the order the window checks: the parameters, the interval, the method's
// parameter, the stop rule.
export function readRequest() {
  const messages = [];
  const params = [];
  for (let n = 1; n <= paramCount(); ++n) params.push(readNumber($(`param-${n}`).value));
  if (params.some((value) => value === null)) messages.push(words().input.FunctionParameter);

  const xmin = readNumber($('xmin').value);
  const xmax = readNumber($('xmax').value);
  if (xmin === null || xmax === null) messages.push(words().input.Interval);

  const method = currentMethod();
  const request = { formula: $('formula').value, params, xmin, xmax, method: method.id };
  if (method.param !== null) {
    request.param = readNumber($('param').value);
    if (request.param === null) messages.push(words().input.MethodParameter);
  }

  const rule = stopRule();
  if (rule === 'steps') {
    request.steps = correctSteps();
  } else if (rule === 'precision') {
    request.precision = readNumber($('precision').value);
    if (request.precision === null) messages.push(words().input.Precision);
  } else {
    request.eps = readNumber($('eps').value);
    if (request.eps === null) messages.push(words().input.IntervalLength);
  }
  return { request, messages };
}

// A number from an address shown with the language's separator; a text that
// is no number stays as written, for Search to say what is wrong with it.
function shownNumber(text) {
  const value = readNumber(text);
  return value === null ? text : shortestText(value);
}

// The inputs a shared address names, as text; a field that is null keeps
// what the page shows.
export function fillInputs(inputs) {
  $('formula').value = inputs.formula;
  if (inputs.params) {
    setParamCount(inputs.params.length);
    inputs.params.forEach((text, i) => {
      $(`param-${i + 1}`).value = shownNumber(text);
    });
  }
  $('xmin').value = shownNumber(inputs.xmin);
  $('xmax').value = shownNumber(inputs.xmax);
  if (inputs.method) {
    $('method').value = inputs.method;
    showMethod();
  }
  if (inputs.stop) {
    $(`stop-${inputs.stop}`).checked = true;
    showStopRule();
    $(inputs.stop).value = inputs.stop === 'steps' ? inputs.value : shownNumber(inputs.value);
  }
  if (inputs.param !== undefined && currentMethod().param !== null) $('param').value = shownNumber(inputs.param);
  checkFormula();
}

// The Search tab's buttons: Update draws the function, Search runs the method
// and shows its results, its trials and its course; the address keeps the
// inputs of the last Search.
import { withCore } from './core.js';
import { showCourse } from './course.js';
import { csvBlob, enableDownload, offerDownload } from './downloads.js';
import { ChartColours, functionChartImage, setUpFunctionChart, showFunction } from './function-chart.js';
import { guarded } from './guard.js';
import { clearMessages, showMessage } from './messages.js';
import { showResult } from './results.js';
import { addressOf, readAddress } from './share.js';
import {
  currentMethod,
  fillInputs,
  isFormulaCorrect,
  methodById,
  onFormulaState,
  readRequest,
  setUpSearchForm,
  stopRule,
} from './search-form.js';
import { words } from './texts.js';

const $ = (id) => document.getElementById(id);

// Whether a Search has run: the core keeps its trials to save.
let searched = false;

export function setUpSearchPage(methods) {
  setUpFunctionChart($('chart'));
  onFormulaState((correct) => {
    $('update').disabled = !correct;
    $('search').disabled = !correct;
  });
  setUpSearchForm(methods);
  $('update').addEventListener('click', guarded(update));
  $('search').addEventListener('click', guarded(search));
  $('formula').addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && isFormulaCorrect()) guarded(search)();
  });
  offerDownload($('save-png'), () => {
    const w = words();
    return functionChartImage(w.chartTitle, [
      { colour: ChartColours.curve, text: w.legendCurve },
      { colour: ChartColours.trials, text: w.legendTrials },
    ]);
  });
  offerDownload($('save-trials'), () => searched && csvBlob(withCore((core) => core.trialsCsv())));
  window.addEventListener('hashchange', guarded(openAddress));
}

// The function alone, from the parameters and the interval, as the window's Update.
function update() {
  clearMessages();
  const { request, messages } = readRequest();
  const own = messages.filter((m) => m === words().input.FunctionParameter || m === words().input.Interval);
  if (own.length) {
    showMessage(own[0]);
    return;
  }
  showFunction(samplesOf(request));
}

function samplesOf(request) {
  const { formula, params, xmin, xmax } = request;
  return withCore((core) => core.samples({ formula, params, xmin, xmax }));
}

export function search() {
  clearMessages();
  const { request, messages } = readRequest();
  for (const message of messages) showMessage(message);
  if (messages.length) return;
  const result = withCore((core) => core.search({ ...request, recordSteps: true, keepRun: true }));
  if (result.error) {
    showMessage(requestErrorText(result.error, request));
    return;
  }
  const curve = samplesOf(request);
  showResult(result, stopRule());
  showFunction(curve, result.trials);
  searched = true;
  enableDownload($('save-trials'), true);
  showCourse(request, result, curve, currentMethod());
  const address = addressOf(request);
  history.replaceState(null, '', address);
  $('share-link').href = address;
  enableDownload($('share-link'), true);
  // The mathematical library's reports, once each per press, as the window gives them.
  for (const report of result.reports ?? []) showMessage(report, 'fault');
  if (result.fault) showMessage(faultText(result.fault), 'fault');
  // A precision finer than doubles resolve is never reached: the figures
  // shown are not what was asked for.
  if (result.stop === 'bound') showMessage(words().precisionNotReached(result.nit));
}

// The window's messages where it has one for the field; the core's own words elsewhere.
function requestErrorText(error, request) {
  const input = words().input;
  if (error.kind === 'formula') return error.message;
  switch (error.field) {
    case 'xmin':
    case 'xmax':
    case 'interval':
      return input.Interval;
    case 'param':
      return methodById(request.method).windowName ? input.Multiplier : error.message;
    case 'precision':
      return input.Precision;
    default:
      return error.message;
  }
}

// As the window's error box shows a fault: a full stop after a last character
// that sorts after ".".
function faultText(fault) {
  return fault.length && fault.charCodeAt(fault.length - 1) > '.'.charCodeAt(0) ? `${fault}.` : fault;
}

// The trials in the order they were placed, every digit of each number.
// An address that names a search fills the inputs and searches again.
export function openAddress() {
  const address = readAddress(location.hash, methodById);
  if (!address) return;
  clearMessages();
  fillInputs(address.inputs);
  if (address.complete && isFormulaCorrect()) search();
  for (const problem of address.problems) showMessage(problem);
  if (address.complete && !isFormulaCorrect()) showMessage($('formula-errors').value);
}

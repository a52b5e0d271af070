// The results group: the window's two figures (the best point to 7 decimals,
// then the precision reached to 9 after a steps rule or the steps made after
// the others) and the page's three more: F there, the trials, why it stopped.
import { fixedText, shortestText } from './numbers.js';
import { onLanguageChange, words } from './texts.js';

const $ = (id) => document.getElementById(id);

let shown = null;

export function showResult(result, rule) {
  shown = { result, rule };
  $('best-x').value = fixedText(result.x, 10, 7);
  $('best-f').value = shortestText(result.fun);
  if (rule !== 'steps') $('made').value = String(result.nit);
  else $('made').value = result.precision === null ? '' : fixedText(result.precision, 10, 9);
  $('trials-count').value = String(result.trials.x.length);
  $('stop-reason').value = words().stops[result.stop] || result.stopText;
}

onLanguageChange(() => {
  if (shown) showResult(shown.result, shown.rule);
});

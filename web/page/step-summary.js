// The sentence above the course's charts that says what step k did, in the
// window's words, with every digit of each number.
import { shortestText } from './numbers.js';
import { words } from './texts.js';

// run: {method, constantLabel, ends: [[x, f], [x, f]], steps, bestByStep}; characts: the
// characteristics step k chose from (for step 0, the one step 1 compared).
export function stepSummary(run, k, characts) {
  const texts = words().course;
  const n = shortestText;
  const best = texts.summaryBest(n(run.bestByStep[k]));
  if (k === 0) {
    const [[a, fa], [b, fb]] = run.ends;
    return texts.summaryStart(n(a), n(fa), n(b), n(fb), n(characts.length ? characts[0] : NaN)) + best;
  }
  const s = run.steps;
  const i = k - 1;
  // The catalogue's words are the window's; a translation stands in for them.
  const label = run.constantLabel && (texts.summaryConstant?.[run.method] ?? run.constantLabel);
  const constant = label ? ` ${label}${n(s.constant[i])}.` : '';
  return (
    texts.summaryStep(k, k, s.interval[i], n(s.left[i]), n(s.right[i]), n(s.charact[i])) +
    constant +
    texts.summaryPoint(n(s.x[i]), n(s.f[i]), n(s.precision[i])) +
    best
  );
}

// Numbers as the window reads and writes them: either separator read, the
// language's separator written.
import { withCore } from './core.js';
import { separator } from './texts.js';

// Null when the text is no number the window would take.
export function readNumber(text) {
  return withCore((core) => core.readNumber(String(text)));
}

export function fixedText(value, precision, decimals) {
  return withCore((core) => core.formatFixed(value, precision, decimals, separator()));
}

// Every digit the double needs to read back, with the language's separator.
export function shortestText(value) {
  return withCore((core) => core.shortest(value)).replace('.', separator());
}

// Every digit, with a point whatever the language: for files and addresses.
export function shortestPlain(value) {
  return withCore((core) => core.shortest(value));
}

// A number typed under one language, rewritten for another; a text that is
// no number stays as typed.
export function retypedNumber(text, oldSeparator) {
  if (oldSeparator === separator()) return text;
  return text.split(oldSeparator).join(separator());
}

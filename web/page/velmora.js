// The page's entry: loads the core, sets up the three tabs, and offers the
// core to scripts as window.velmora.
import { CoreUnavailable, coreReady, withCore } from './core.js';
import { setUpCourse } from './course.js';
import { explain, guarded } from './guard.js';
import { setUpLab } from './lab.js';
import { showMessage } from './messages.js';
import { openAddress, setUpSearchPage } from './search-page.js';
import { setUpTabs } from './tabs.js';
import { applyWords, setLanguage, words } from './texts.js';

// Resolves once the core is loaded and the page is ready to use.
export const ready = coreReady.then((core) => {
  const methods = core.methods();
  setUpCourse();
  setUpSearchPage(methods);
  setUpLab(methods);
  applyWords(document);
  document.getElementById('loading').hidden = true;
  openAddress();
});

// A run as the Python module gives it: x, fun, nit, nfev, stop, success,
// message, precision, param, trials and the rest; a request the core cannot
// take comes back with its error, never as an exception.
export function search(request) {
  try {
    return withCore((core) => core.search(request));
  } catch (error) {
    if (error instanceof CoreUnavailable) return { error: { kind: 'core', message: explain(error) } };
    throw error;
  }
}

export function methods() {
  return withCore((core) => core.methods());
}

window.velmora = { ready, search, methods };

setUpTabs();
applyWords(document);
document.getElementById('lang').addEventListener('change', guarded((event) => setLanguage(event.target.value)));
ready.catch((error) => {
  document.getElementById('loading').hidden = true;
  showMessage(words().coreMissing + (error && error.message ? error.message : String(error)), 'fault');
});
// Whatever a handler let slip still reaches the user, and the page goes on.
// The browser's own notices (a ResizeObserver's loop) come without an error and are not the user's business.
window.addEventListener('error', (event) => {
  if (event.error) showMessage(explain(event.error), 'fault');
});
window.addEventListener('unhandledrejection', (event) => showMessage(explain(event.reason), 'fault'));

// Every handler runs inside a guard: whatever it throws becomes a message,
// and the page stays as usable as it was before the press.
import { CoreUnavailable } from './core.js';
import { showMessage } from './messages.js';
import { words } from './texts.js';

export function explain(error) {
  if (error instanceof CoreUnavailable) return error.message === 'reloaded' ? words().coreReloaded : words().coreBusy;
  return words().unexpected + (error && error.message ? error.message : String(error));
}

export function guarded(handler) {
  return (...args) => {
    try {
      const result = handler(...args);
      if (result && typeof result.catch === 'function') result.catch((error) => showMessage(explain(error), 'fault'));
      return result;
    } catch (error) {
      showMessage(explain(error), 'fault');
      return undefined;
    }
  };
}

// The page's one instance of the core. A formula nested past the core's stack
// ends in a RangeError that leaves the instance's memory in an unknown state,
// so the instance is dropped and a fresh one loaded in its place.

export class CoreUnavailable extends Error {}

let instance = null;

function load() {
  instance = null;
  return import('./velmora-core.mjs')
    .then((module) => module.default())
    .then((core) => {
      instance = core;
      return core;
    });
}

// Resolves with the first instance; a page whose core cannot load rejects.
export const coreReady = load();

// Runs fn on the core; a stack overflow there reloads the core and is thrown
// again as CoreUnavailable, for the caller to show.
export function withCore(fn) {
  if (!instance) throw new CoreUnavailable('busy');
  try {
    return fn(instance);
  } catch (error) {
    if (error instanceof RangeError) {
      load().catch(() => {});
      throw new CoreUnavailable('reloaded');
    }
    throw error;
  }
}

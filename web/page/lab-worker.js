// One worker of the lab: its own core, and one contiguous chunk of problems
// per message. The job (methods, rule, a shipped set's file) comes once; each
// chunk names only its range.
import createVelmoraCore from './velmora-core.mjs';

const core = createVelmoraCore();
let job = null;

function runChunk(velmora, { from, to }) {
  const range = { ...job.request, first: from, last: to - 1 };
  return job.kind === 'class' ? velmora.classRun(range) : velmora.testSetRun(range);
}

function answer(velmora, message) {
  if (message.type === 'job') {
    job = message.job;
    if (job.text) {
      const { error } = velmora.addTestSet(job.set, job.text);
      if (error) self.postMessage({ type: 'done', id: -1, error: error.message });
    }
    return;
  }
  const { csv, header, runs, error } = runChunk(velmora, message.chunk);
  self.postMessage({ type: 'done', id: message.id, csv, header, runs, error: error?.message });
}

self.onmessage = (event) => {
  const message = event.data;
  // Messages wait for the core in the order they came.
  core
    .then((velmora) => answer(velmora, message))
    .catch((error) => self.postMessage({ type: 'done', id: message.id ?? -1, error: String(error?.message ?? error) }));
};

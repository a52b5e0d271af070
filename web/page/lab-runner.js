// Runs over many problems spread over Web Workers, one core each. The range
// is cut into contiguous chunks, handed out in order to whichever worker is
// free, and the rows are put together in range order, so the output is the
// same for any number of workers.

export class RunStopped extends Error {}

const ChunksPerWorker = 20;
const MaxChunk = 50;

function chunksOf(from, to, workers) {
  const size = Math.min(MaxChunk, Math.max(1, Math.ceil((to - from) / (workers * ChunksPerWorker))));
  const chunks = [];
  for (let a = from; a < to; a += size) chunks.push({ from: a, to: Math.min(to, a + size) });
  return chunks;
}

// job: {kind: 'class' | 'set', request, text (a set's file)}; the problems from..to (to excluded).
// onProgress(problemsDone, problemsAll); resolves with the chunks' replies in
// range order, or rejects with the first error. stop() ends every worker.
export function runInWorkers(job, from, to, onProgress) {
  const workerCount = Math.max(1, Math.min(navigator.hardwareConcurrency || 2, to - from));
  const chunks = chunksOf(from, to, workerCount);
  const replies = new Array(chunks.length);
  const workers = [];
  let next = 0;
  let done = 0;
  let problemsDone = 0;
  let settle = null;

  const finished = new Promise((resolve, reject) => {
    settle = { resolve, reject };
  });

  const end = () => {
    for (const worker of workers) worker.terminate();
    workers.length = 0;
  };

  // After the run has settled, a stop or a second failure changes nothing.
  const fail = (error) => {
    end();
    settle.reject(error);
  };
  const stop = () => fail(new RunStopped('stopped'));

  const give = (worker) => {
    if (next >= chunks.length) return;
    const id = next++;
    worker.postMessage({ type: 'chunk', id, chunk: chunks[id] });
  };

  for (let w = 0; w < workerCount; ++w) {
    const worker = new Worker(new URL('./lab-worker.js', import.meta.url), { type: 'module' });
    workers.push(worker);
    worker.onerror = (event) => fail(new Error(event.message || 'worker failed'));
    worker.onmessage = (event) => {
      const reply = event.data;
      if (reply.error) {
        fail(new Error(reply.error));
        return;
      }
      replies[reply.id] = reply;
      problemsDone += chunks[reply.id].to - chunks[reply.id].from;
      onProgress(problemsDone, to - from);
      if (++done === chunks.length) {
        end();
        settle.resolve(replies);
      } else {
        give(worker);
      }
    };
    worker.postMessage({ type: 'job', job });
    give(worker);
  }
  return { finished, stop, workerCount };
}

// The generator as the page uses it: a worker that makes one map at a time
// from the module compiled on the page (sent along with each run, so a new
// worker never compiles it again). Only the current run's messages reach the
// page; a new run or cancel() leaves the earlier one unheard.
import { compiledModule } from './loader.js';

let worker;
let runId = 0;
let receive;  // the page's handler of the current run's messages
let broken;  // the page's handler of a worker that failed to start

// Starts a worker, which loads its script at once. receive gets the current
// run's messages (as web/worker.js describes them); broken(text) hears that
// the worker could not be started, after which the next run tries a new one.
export function startGenerator(onMessage, onBroken) {
  receive = onMessage;
  broken = onBroken;
  startWorker();
}

function startWorker() {
  worker = new Worker(new URL('worker.js', import.meta.url), { type: 'module' });
  worker.onmessage = ({ data }) => { if (data.id === runId) receive(data); };
  worker.onerror = (event) => {
    event.preventDefault();
    worker.terminate();
    worker = undefined;
    runId += 1;
    broken(`The generator could not be started: ${event.message || 'its worker failed to load'}`);
  };
}

// Has the worker make the map of options; a module that cannot be loaded
// reaches receive as the run's error.
export async function generate(options) {
  const id = ++runId;
  let module;
  try {
    module = await compiledModule();
  } catch (error) {
    if (id === runId) receive({ id, type: 'error', message: `The generator could not be loaded: ${error.message ?? error}` });
    return;
  }
  if (id !== runId) return;
  if (!worker) startWorker();
  worker.postMessage({ id, options, module });
}

// Stops the run in progress; its worker is replaced by a fresh one.
export function cancel() {
  worker?.terminate();
  runId += 1;
  startWorker();
}

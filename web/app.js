// The page: takes the options from the form (and from the URL, so a shared
// link makes the same map), has the worker make the map, draws it, lists how
// fair its starts are and offers the file for download.
import { clearFairness, fillFairness } from './fairness.js';
import { cancel as cancelGenerator, generate, startGenerator } from './generator.js';
import { clearMap, hasMap, showMap, step } from './mapview.js';
import { buildForm, fileName, loadUrl, readForm, saveUrl } from './options.js';

const PROGRESS_DELAY_MS = 150;  // runs quicker than this show no progress bar

const $ = (id) => document.getElementById(id);

let runNumber = 0;  // counts runs and cancels, so a stale run's last steps are dropped
let progressTimer;
let runStarted;
let runOptions;
let lastProgressText = '';

// Marks the page's state on <body data-state>: idle, busy, ready (a map is
// shown), failed (no map, the error says why) or invalid (a field says why).
function setState(state) { document.body.dataset.state = state; }

// Shows message in the error line under the form.
function showError(message) {
  $('error').textContent = message;
  $('error').hidden = false;
}

// Validates the form, puts the options into the URL and starts a run.
async function submit() {
  let options;
  try {
    options = await readForm();
  } catch (error) {
    clearResults();
    setState('failed');
    showError(`No map: The generator could not be loaded: ${error.message ?? error}`);
    return;
  }
  if (!options) {
    setState('invalid');
    $('status').textContent = 'Fix the marked options to make a map.';
    document.querySelector('[aria-invalid="true"]')?.focus();
    return;
  }
  saveUrl(options);
  run(options);
}

// Has the generator make the map of options; a run still going is abandoned for it.
function run(options) {
  if (!$('cancel').hidden) cancel();
  runNumber += 1;
  runOptions = options;
  runStarted = performance.now();
  lastProgressText = '';
  setState('busy');
  $('error').hidden = true;
  $('cancel').hidden = false;
  $('status').textContent = `Making a ${options.size} × ${options.size} map…`;
  progressTimer = setInterval(showProgress, 100);
  generate(options);
}

// Once a run has taken PROGRESS_DELAY_MS, shows the progress bar with the
// time so far and the generator's latest console line.
function showProgress() {
  const elapsed = performance.now() - runStarted;
  if (elapsed < PROGRESS_DELAY_MS) return;
  $('progress').hidden = false;
  $('progress-text').textContent = `${(elapsed / 1000).toFixed(1)} s${lastProgressText ? ` · ${lastProgressText}` : ''}`;
}

// Ends the progress display of a run that has finished or been stopped.
function finishRun() {
  clearInterval(progressTimer);
  $('progress').hidden = true;
  $('cancel').hidden = true;
}

// Stops the run in progress.
function cancel() {
  cancelGenerator();
  runNumber += 1;
  finishRun();
  setState('idle');
  $('status').textContent = 'Stopped.';
}

// Handles a message of the current run: keeps a progress line, or shows the
// finished map or the failure.
function receive(message) {
  if (message.type === 'progress') {
    lastProgressText = message.text;
    return;
  }
  finishRun();
  $('log').textContent = message.result?.console ?? message.console ?? '';
  if (message.type === 'error') {
    clearResults();
    setState('failed');
    $('status').textContent = '';
    showError(`No map: ${message.message}`);
    return;
  }
  // Drawing is timed up to the frame that shows the map.
  const drawStarted = performance.now();
  const number = runNumber;
  const { result } = message;
  showMap(result.preview, result.fairness.rows.map(({ spot }) => spot));
  offerFile(fileName(runOptions), result.bytes);
  fillFairness(result.fairness);
  requestAnimationFrame(() => setTimeout(() => {
    if (number === runNumber) shownAfter(message.generateMs, performance.now() - drawStarted);
  }));
}

// Shows that the generator's worker could not be started.
function brokenGenerator(text) {
  finishRun();
  clearResults();
  setState('failed');
  showError(text);
}

// Reports a finished run's timings in the status line.
function shownAfter(generateMs, drawMs) {
  const status = $('status');
  status.dataset.generateMs = generateMs.toFixed(1);
  status.dataset.drawMs = drawMs.toFixed(1);
  const { size, players, goods } = runOptions;
  status.textContent = `${size} × ${size} tiles, ${players} players, ${goods} start goods: ` +
    `generated in ${Math.round(generateMs)} ms, drawn in ${Math.round(drawMs)} ms.`;
  setState('ready');
}

// Offers bytes for download as name.
function offerFile(name, bytes) {
  const link = $('download');
  if (link.href) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.textContent = `Download ${name}`;
  link.removeAttribute('aria-disabled');
}

// Empties the map, its marks and the fairness table, and withdraws the file.
function clearResults() {
  clearMap();
  clearFairness();
  const link = $('download');
  if (link.href) URL.revokeObjectURL(link.href);
  link.removeAttribute('href');
  link.setAttribute('aria-disabled', 'true');
  link.textContent = 'Download';
}

buildForm($('fields'));
startGenerator(receive, brokenGenerator);
$('map').getContext('2d');  // made now, so the first map does not wait for it
$('options').addEventListener('submit', (event) => { event.preventDefault(); submit(); });
$('cancel').addEventListener('click', cancel);
$('zoom-in').addEventListener('click', () => step(1));
$('zoom-out').addEventListener('click', () => step(-1));
$('download').addEventListener('click', (event) => { if (!hasMap()) event.preventDefault(); });
loadUrl();
submit();

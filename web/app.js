// The page: takes the options from the form (and from the URL, so a shared
// link makes the same map), has the worker make the map, draws it, lists how
// fair its starts are and offers the file for download.

const INT64_MIN = -(2n ** 63n);
const INT64_MAX = 2n ** 63n - 1n;
// Sizes of the game's own maps, offered in the size list; any other may be typed.
const SIZES = [256, 320, 384, 448, 512, 576, 640, 704, 768, 832, 896, 960, 1024];
// Larger maps than this do not fit the 4 GiB a WebAssembly module may use.
const MAX_BROWSER_SIZE = 4096;

// Reads text as the command line reads an integer: an optional sign, then
// decimal digits, each optionally followed by '_'. Returns a BigInt; throws
// the explanation shown beside the field.
function integer(text) {
  if (!/^[+-]?(?:\d_*)+$/.test(text)) throw 'Enter a whole number, such as 42.';
  const value = BigInt(text.replace(/_/g, ''));
  if (value < INT64_MIN || value > INT64_MAX) throw 'Too far from zero: keep within ±9223372036854775807.';
  return value;
}

// A parser for integers from min to max; why, when given, says where max comes from.
function integerIn(min, max, why = '') {
  return (text) => {
    const value = integer(text);
    if (value < min || value > max) throw `Enter a number from ${min} to ${max}${why}.`;
    return Number(value);
  };
}

// A parser that accepts one of the keys of choices (key → what it means).
function oneOf(choices) {
  return (text) => {
    if (!(text in choices)) throw `Choose one of ${Object.keys(choices).join(', ')}.`;
    return text;
  };
}

// The options, one line each, in form order. key names the field, the URL
// parameter and the worker's option; parse turns the field's text into the
// value sent to the generator or throws why it cannot; list suggests values
// for a free field; choices makes a drop-down list; checkbox a box whose
// value is '1' ticked and '0' not. An option marked shortLink is left out of
// the link at its initial value, so the links shared before it came still
// read as they were written.
const GOODS = { HG: 'high', MG: 'medium', LG: 'low' };
const TICKED = { 0: 'no', 1: 'yes' };
const STARTS = {
  classic: 'as generated', fair: 'equal for every player', symmetric: 'mirrored copies',
};
const OPTIONS = [
  { key: 'seed', label: 'Seed', initial: '123456789', parse: (text) => integer(text).toString(), random: true },
  { key: 'size', label: 'Size', initial: '320', parse: integerIn(1, MAX_BROWSER_SIZE, ' (larger maps need the command-line program)'), list: SIZES },
  { key: 'players', label: 'Players', initial: '8', parse: integerIn(1, 254) },
  { key: 'goods', label: 'Start goods', initial: 'HG', parse: oneOf(GOODS), choices: GOODS },
  { key: 'multiplayer', label: 'For the multiplayer lobby', initial: '0', parse: oneOf(TICKED), checkbox: true, shortLink: true },
  { key: 'starts', label: 'Starts', initial: 'classic', parse: oneOf(STARTS), choices: STARTS },
];
// The options that name the downloaded file, in order; fair and symmetric
// maps add their kind of starts, lobby maps "-multiplayer".
const FILE_NAME_KEYS = ['seed', 'size', 'players', 'goods'];
const ZOOMS = [0.25, 0.5, 1, 2, 3, 4, 6, 8, 12, 16];
const MAX_VIEW_EDGE = 16384;  // pixels of the zoomed map's edge
const PAGE_WIDTH = 1200;  // the page's widest content, in CSS pixels (style.css)
const PAGE_MARGIN = 48;  // its padding and the view's border and scroll bar
const VIEW_HEIGHT = 0.8;  // the view's greatest height, as a share of the window's (style.css)
const SVG = 'http://www.w3.org/2000/svg';
const PROGRESS_DELAY_MS = 150;  // runs quicker than this show no progress bar

const $ = (id) => document.getElementById(id);
const fields = new Map();  // key → { option, input, error }

let worker;
let runId = 0;
let shown;  // the map on screen: { size }
let zoom = 1;

// Builds one labelled field per option with its explanation slot.
function buildForm() {
  for (const option of OPTIONS) {
    const row = document.createElement('div');
    row.className = 'field';
    const label = document.createElement('label');
    label.htmlFor = `option-${option.key}`;
    label.textContent = option.label;
    let input;
    if (option.checkbox) {
      input = document.createElement('input');
      input.type = 'checkbox';
    } else if (option.choices) {
      input = document.createElement('select');
      for (const [value, meaning] of Object.entries(option.choices)) {
        input.add(new Option(`${value} (${meaning})`, value));
      }
    } else {
      input = document.createElement('input');
      input.type = 'text';
      input.inputMode = 'numeric';
      input.autocomplete = 'off';
      input.spellcheck = false;
    }
    input.id = label.htmlFor;
    input.name = option.key;
    setField(input, option.initial);
    const error = document.createElement('span');
    error.className = 'field-error';
    error.id = `${option.key}-error`;
    input.setAttribute('aria-describedby', error.id);
    row.append(label, input);
    if (option.list) {
      const list = document.createElement('datalist');
      list.id = `${option.key}-list`;
      for (const value of option.list) list.append(new Option(String(value)));
      input.setAttribute('list', list.id);
      row.append(list);
    }
    if (option.random) {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = `${option.key}-random`;
      button.textContent = 'Random';
      button.title = 'A fresh random seed';
      button.addEventListener('click', () => {
        input.value = String(crypto.getRandomValues(new Uint32Array(1))[0]);
        check(option.key);
      });
      row.append(button);
    }
    row.append(error);
    input.addEventListener('input', () => check(option.key));
    input.addEventListener('change', () => check(option.key));
    $('fields').append(row);
    fields.set(option.key, { option, input, error });
  }
}

// A field's text, and setting it: a checkbox reads '1' when ticked, '0' when not.
function fieldText(input) {
  return input.type === 'checkbox' ? (input.checked ? '1' : '0') : input.value.trim();
}
function setField(input, text) {
  if (input.type === 'checkbox') input.checked = text === '1';
  else input.value = text;
}

// Parses one field, shows or clears its explanation; returns { value } or null.
function check(key) {
  const { option, input, error } = fields.get(key);
  try {
    const value = option.parse(fieldText(input));
    error.textContent = '';
    input.removeAttribute('aria-invalid');
    return { value };
  } catch (why) {
    error.textContent = String(why);
    input.setAttribute('aria-invalid', 'true');
    return null;
  }
}

// Every field's value by key, or null (each invalid field explained) when any is invalid.
function readForm() {
  const options = {};
  let valid = true;
  for (const key of fields.keys()) {
    const parsed = check(key);
    if (parsed) options[key] = parsed.value;
    else valid = false;
  }
  return valid ? options : null;
}

// Puts the URL's option parameters into the fields; returns whether any was there.
function loadUrl() {
  const params = new URLSearchParams(location.search);
  let any = false;
  for (const [key, { input }] of fields) {
    if (!params.has(key)) continue;
    setField(input, params.get(key));
    any = true;
  }
  return any;
}

// Marks the page's state on <body data-state>: idle, busy, ready (a map is
// shown), failed (no map, the error says why) or invalid (a field says why).
function setState(state) { document.body.dataset.state = state; }

// Shows message in the error line under the form.
function showError(message) {
  $('error').textContent = message;
  $('error').hidden = false;
}

// Validates the form, puts the options into the URL and starts a run.
function submit() {
  const options = readForm();
  if (!options) {
    setState('invalid');
    $('status').textContent = 'Fix the marked options to make a map.';
    document.querySelector('[aria-invalid="true"]')?.focus();
    return;
  }
  const query = new URLSearchParams(Object.entries(options)
    .filter(([k, v]) => !(fields.get(k).option.shortLink && v === fields.get(k).option.initial))
    .map(([k, v]) => [k, String(v)]));
  history.replaceState(null, '', `?${query}`);
  run(options);
}

// Starts the worker, which begins loading the module at once. A worker that
// fails to start is dropped, so the next run tries a new one.
function startWorker() {
  worker = new Worker(new URL('worker.js', import.meta.url), { type: 'module' });
  worker.onmessage = ({ data }) => { if (data.id === runId) receive(data); };
  worker.onerror = (event) => {
    event.preventDefault();
    worker.terminate();
    worker = undefined;
    finishRun();
    clearMap();
    setState('failed');
    showError(`The generator could not be started: ${event.message || 'its worker failed to load'}`);
  };
}

let progressTimer;
let runStarted;
let runOptions;
let lastProgressText = '';

// Sends options to the worker; a run still going is abandoned for it.
function run(options) {
  if (!$('cancel').hidden) cancel();
  if (!worker) startWorker();
  runId += 1;
  runOptions = options;
  runStarted = performance.now();
  lastProgressText = '';
  setState('busy');
  $('error').hidden = true;
  $('cancel').hidden = false;
  $('status').textContent = `Making a ${options.size} × ${options.size} map…`;
  progressTimer = setInterval(showProgress, 100);
  worker.postMessage({ id: runId, options });
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

// Stops the run in progress; its worker is replaced by a fresh one.
function cancel() {
  worker?.terminate();
  runId += 1;
  finishRun();
  startWorker();
  setState('idle');
  $('status').textContent = 'Stopped.';
}

// Handles a message of the current run from the worker: keeps a progress
// line, or shows the finished map or the failure.
function receive(message) {
  if (message.type === 'progress') {
    lastProgressText = message.text;
    return;
  }
  finishRun();
  $('log').textContent = message.result?.console ?? message.console ?? '';
  if (message.type === 'error') {
    clearMap();
    setState('failed');
    $('status').textContent = '';
    showError(`No map: ${message.message}`);
    return;
  }
  // Drawing is timed up to the frame that shows the map.
  const drawStarted = performance.now();
  const id = runId;
  showMap(runOptions, message.result);
  fillFairness(message.result.fairness);
  requestAnimationFrame(() => setTimeout(() => {
    if (id === runId) shownAfter(message.generateMs, performance.now() - drawStarted);
  }));
}

// Reports a finished run's timings in the status line.
function shownAfter(generateMs, drawMs) {
  const status = $('status');
  status.dataset.generateMs = generateMs.toFixed(1);
  status.dataset.drawMs = drawMs.toFixed(1);
  const { size, players, goods, multiplayer } = runOptions;
  const lobby = multiplayer === '1' ? ' for the multiplayer lobby' : '';
  status.textContent = `${size} × ${size} tiles, ${players} players, ${goods} start goods${lobby}: ` +
    `generated in ${Math.round(generateMs)} ms, drawn in ${Math.round(drawMs)} ms.`;
  setState('ready');
}

// Shows the result: the picture on the canvas at one pixel per tile (the
// zoom scales it), a ring and the party number at each start, and the file
// as the download link's target.
function showMap(options, result) {
  const picture = result.preview;
  const size = picture.width;
  const canvas = $('map');
  canvas.width = size;
  canvas.height = size;
  canvas.getContext('2d').drawImage(picture, 0, 0);
  picture.close();
  const marks = $('marks');
  marks.setAttribute('viewBox', `0 0 ${size} ${size}`);
  marks.replaceChildren(...result.fairness.rows.map(({ spot }) => {
    const mark = document.createElementNS(SVG, 'g');
    mark.setAttribute('transform', `translate(${spot.x + 0.5} ${spot.y + 0.5})`);
    mark.style.setProperty('--party', spot.colour);
    mark.append(document.createElementNS(SVG, 'circle'), document.createElementNS(SVG, 'circle'),
      document.createElementNS(SVG, 'text'));
    mark.lastChild.textContent = spot.party;
    return mark;
  }));
  const starts = options.starts === 'classic' ? '' : `-${options.starts}`;
  const lobby = options.multiplayer === '1' ? '-multiplayer' : '';
  const fileName = `varnholt-${FILE_NAME_KEYS.map((key) => options[key]).join('-')}${starts}${lobby}.map`;
  const link = $('download');
  if (link.href) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([result.bytes], { type: 'application/octet-stream' }));
  link.download = fileName;
  link.textContent = `Download ${fileName}`;
  link.removeAttribute('aria-disabled');
  shown = { size };
  setZoom(fittingZoom(size));
}

// Empties the map, its marks and the fairness table, and withdraws the file.
function clearMap() {
  shown = undefined;
  $('map').width = 0;
  $('map').height = 0;
  $('map').style.width = '';
  $('map').style.height = '';
  $('marks').replaceChildren();
  $('fairness').replaceChildren();
  $('fairness-basis').textContent = '';
  $('zoom-level').textContent = '';
  $('zoom-in').disabled = true;
  $('zoom-out').disabled = true;
  const link = $('download');
  if (link.href) URL.revokeObjectURL(link.href);
  link.removeAttribute('href');
  link.setAttribute('aria-disabled', 'true');
  link.textContent = 'Download';
}

// The zoom levels at which a map of edge tiles stays within MAX_VIEW_EDGE pixels.
function allowedZooms(edge) { return ZOOMS.filter((z) => edge * z <= MAX_VIEW_EDGE); }

// The largest zoom at which a map of edge tiles fits the page's width and
// the view's height (read from the window, which needs no layout pass).
function fittingZoom(edge) {
  const room = Math.min(Math.min(window.innerWidth, PAGE_WIDTH) - PAGE_MARGIN,
    window.innerHeight * VIEW_HEIGHT - PAGE_MARGIN);
  const zooms = allowedZooms(edge);
  return zooms.filter((z) => edge * z <= room).pop() ?? zooms[0];
}

// Shows the map zoom times its size: the canvas is scaled without smoothing,
// the marks keep their size on screen (rings of at least 7 pixels, labels
// of at least 13 pixels).
function setZoom(value) {
  zoom = value;
  const edge = `${shown.size * zoom}px`;
  for (const element of [$('map'), $('marks')]) {
    element.style.width = edge;
    element.style.height = edge;
  }
  const radius = Math.max(7 / zoom, 4);
  const font = Math.max(13, 3 * zoom + 8) / zoom;
  for (const mark of $('marks').children) {
    for (const ring of mark.querySelectorAll('circle')) ring.setAttribute('r', radius);
    const label = mark.lastChild;
    label.setAttribute('x', radius);
    label.setAttribute('y', -radius);
    label.setAttribute('font-size', font);
    label.setAttribute('stroke-width', 4 / zoom);
  }
  $('zoom-level').textContent = `${zoom * 100}%`;
  const zooms = allowedZooms(shown.size);
  $('zoom-out').disabled = zoom <= zooms[0];
  $('zoom-in').disabled = zoom >= zooms[zooms.length - 1];
}

// Moves one zoom step in (+1) or out (-1), keeping the centre of the view in place.
function step(direction) {
  if (!shown) return;
  const zooms = allowedZooms(shown.size);
  const next = zooms[zooms.indexOf(zoom) + direction];
  if (next === undefined) return;
  const scroller = $('scroller');
  const centreX = (scroller.scrollLeft + scroller.clientWidth / 2) / zoom;
  const centreY = (scroller.scrollTop + scroller.clientHeight / 2) / zoom;
  setZoom(next);
  scroller.scrollLeft = centreX * zoom - scroller.clientWidth / 2;
  scroller.scrollTop = centreY * zoom - scroller.clientHeight / 2;
}

// max / min as the inspector writes it: '-' when both are 0, 'inf' when only the minimum is.
function ratio({ min, max }) {
  if (max === 0) return '-';
  if (min === 0) return 'inf';
  return (max / min).toFixed(2);
}

// Fills the fairness table: a row per start, the weakest value of each
// column marked (unless the whole column is even), and the max/min line.
function fillFairness(fairness) {
  const table = $('fairness');
  table.replaceChildren();
  const head = table.createTHead().insertRow();
  for (const name of ['party', 'x', 'y', ...fairness.columns]) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    head.append(cell);
  }
  const body = table.createTBody();
  for (const row of fairness.rows) {
    const line = body.insertRow();
    const party = line.insertCell();
    party.textContent = row.spot.party;
    party.style.setProperty('--party', row.spot.colour);
    party.className = 'party';
    for (const value of [row.spot.x, row.spot.y]) line.insertCell().textContent = value;
    row.values.forEach((value, column) => {
      const cell = line.insertCell();
      cell.textContent = value;
      const { min, max } = fairness.spread[column];
      if (value === min && min !== max) {
        cell.className = 'weakest';
        cell.title = `the weakest ${fairness.columns[column]}`;
      }
    });
  }
  const foot = table.createTFoot().insertRow();
  const label = document.createElement('th');
  label.scope = 'row';
  label.colSpan = 3;
  label.textContent = 'max/min';
  foot.append(label);
  for (const spread of fairness.spread) foot.insertCell().textContent = ratio(spread);
  $('fairness-basis').textContent =
    `Within ${fairness.radius} tiles of each of the ${fairness.rows.length} ` +
    `${fairness.fromTowers ? 'towers' : 'player start spots'}; claimed land and settlers ` +
    'over the whole map. The weakest start of each column is marked.';
}

buildForm();
startWorker();
$('map').getContext('2d');  // made now, so the first map does not wait for it
$('options').addEventListener('submit', (event) => { event.preventDefault(); submit(); });
$('cancel').addEventListener('click', cancel);
$('zoom-in').addEventListener('click', () => step(1));
$('zoom-out').addEventListener('click', () => step(-1));
$('download').addEventListener('click', (event) => { if (!shown) event.preventDefault(); });
loadUrl();
submit();

// The page's options: one line each in the table below, a labelled field for
// each in the form, the explanation beside a field whose value cannot be
// used, and the URL parameters a shared link carries. Integers are read by
// the generator's own module, so the page accepts exactly what the command
// line accepts ('+1_000', '-5', …).
import { pageGenerator } from './loader.js';

// Sizes of the game's own maps, offered in the size list; any other may be typed.
const SIZES = [256, 320, 384, 448, 512, 576, 640, 704, 768, 832, 896, 960, 1024];
// Larger maps than this do not fit the 4 GiB a WebAssembly module may use.
const MAX_BROWSER_SIZE = 4096;

// Reads text as the command line reads an integer, with read (the module's
// readInteger). Returns a BigInt; throws the explanation shown beside the field.
function integer(text, read) {
  const { value, outOfRange } = read(text);
  if (value !== undefined) return BigInt(value);
  throw outOfRange ? 'Too far from zero: keep within ±9223372036854775807.' : 'Enter a whole number, such as 42.';
}

// A parser for integers from min to max; why, when given, says where max comes from.
function integerIn(min, max, why = '') {
  return (text, read) => {
    const value = integer(text, read);
    if (value < min || value > max) throw `Enter a number from ${min} to ${max}${why}.`;
    return Number(value);
  };
}

// A parser for a whole percent, or '' for none given; sent as text, as the
// command line reads it. Each landscape's own range is the generator's to check.
function percentOrNone(text, read) {
  if (text === '') return '';
  const value = integer(text, read);
  if (value < 0n || value > 100n) throw 'Enter a whole percent from 0 to 100, or nothing for the landscape\'s own.';
  return String(value);
}

// A parser that accepts one of the keys of choices (key → what it means).
function oneOf(choices) {
  return (text) => {
    if (!(text in choices)) throw `Choose one of ${Object.keys(choices).filter((k) => k).join(', ')}.`;
    return text;
  };
}

// The options, one line each, in form order. key names the field, the URL
// parameter and the worker's option; parse turns the field's text into the
// value sent to the generator (given the module's integer reader) or throws
// why it cannot; list suggests values for a free field; choices makes a
// drop-down list.
const GOODS = { HG: 'high', MG: 'medium', LG: 'low' };
const STARTS = {
  classic: 'as generated', fair: 'equal for every player', symmetric: 'mirrored copies',
};
// The style of a fair map: '' leaves an option out, as the command line does
// when it is not given; any other value makes a classic request fair.
const LANDSCAPES = {
  '': 'none chosen', continent: 'one land mass', islands: 'an island each',
  highlands: 'ranges with passes', lakes: 'inland lakes',
};
const CLIMATES = {
  '': 'none chosen', temperate: 'grass', desert: 'desert, oases', swamp: 'moor and mud',
  alpine: 'mountains, snow',
};
const AMOUNTS = { '': 'none chosen', low: 'scarce', normal: 'as usual', high: 'plenty' };
// Teams are given like a style: left out when empty, named in the file name,
// and any makes classic starts fair.
const STYLE_KEYS = ['landscape', 'climate', 'water', 'mountains', 'resources', 'teams'];

// Team sizes joined by 'v' ('2v2', '2v2v2'), or '' for none; the generator
// checks the rest (equal sizes, the player count, room on the map).
function teamsOrNone(text) {
  if (text === '' || /^[1-9][0-9]*(v[1-9][0-9]*)+$/.test(text)) return text;
  throw 'Enter team sizes joined by v, such as 2v2 or 2v2v2, or nothing for no teams.';
}

// The ways to split players into two or more teams of one size: for 8,
// 4v4, 2v2v2v2 and 1v1v1v1v1v1v1v1.
export function teamShapes(players) {
  const shapes = [];
  for (let members = Math.floor(players / 2); members >= 1; --members) {
    if (players % members === 0) shapes.push(Array(players / members).fill(members).join('v'));
  }
  return shapes;
}
const OPTIONS = [
  { key: 'seed', label: 'Seed', initial: '123456789', parse: (text, read) => integer(text, read).toString(), random: true },
  { key: 'size', label: 'Size', initial: '320', parse: integerIn(1, MAX_BROWSER_SIZE, ' (larger maps need the command-line program)'), list: SIZES },
  { key: 'players', label: 'Players', initial: '8', parse: integerIn(1, 254) },
  { key: 'goods', label: 'Start goods', initial: 'HG', parse: oneOf(GOODS), choices: GOODS },
  { key: 'starts', label: 'Starts', initial: 'classic', parse: oneOf(STARTS), choices: STARTS },
  { key: 'landscape', label: 'Landscape', initial: '', parse: oneOf(LANDSCAPES), choices: LANDSCAPES },
  { key: 'climate', label: 'Climate', initial: '', parse: oneOf(CLIMATES), choices: CLIMATES },
  { key: 'water', label: 'Water %', initial: '', parse: percentOrNone },
  { key: 'mountains', label: 'Mountains %', initial: '', parse: percentOrNone },
  { key: 'resources', label: 'Resources', initial: '', parse: oneOf(AMOUNTS), choices: AMOUNTS },
  { key: 'teams', label: 'Teams', initial: '', parse: teamsOrNone, list: teamShapes(8) },
];
// The options that name the downloaded file, in order; fair and symmetric
// maps add their kind of starts.
const FILE_NAME_KEYS = ['seed', 'size', 'players', 'goods'];

const fields = new Map();  // key → { option, input, error }

// Builds one labelled field per option, with its explanation slot, into container.
export function buildForm(container) {
  for (const option of OPTIONS) {
    const row = document.createElement('div');
    row.className = 'field';
    const label = document.createElement('label');
    label.htmlFor = `option-${option.key}`;
    label.textContent = option.label;
    const input = option.choices ? choiceList(option.choices) : textField(option.key === 'teams' ? 'text' : 'numeric');
    input.id = label.htmlFor;
    input.name = option.key;
    input.value = option.initial;
    const error = document.createElement('span');
    error.className = 'field-error';
    error.id = `${option.key}-error`;
    input.setAttribute('aria-describedby', error.id);
    row.append(label, input);
    if (option.list) row.append(suggestions(option, input));
    if (option.random) row.append(randomButton(option, input));
    row.append(error);
    input.addEventListener('input', () => checkNow(option.key));
    input.addEventListener('change', () => checkNow(option.key));
    container.append(row);
    fields.set(option.key, { option, input, error });
  }
  // The teams suggested are those of the player count entered.
  const players = fields.get('players').input;
  players.addEventListener('input', () => suggestTeams(players.value));
}

// Replaces the teams suggestions by the shapes of players (as typed).
function suggestTeams(players) {
  const count = Number(players.trim());
  if (!Number.isInteger(count) || count < 2 || count > 254) return;
  const list = document.getElementById('teams-list');
  list.replaceChildren(...teamShapes(count).map((shape) => new Option(shape)));
}

// A drop-down list of choices (value → what it means).
function choiceList(choices) {
  const input = document.createElement('select');
  for (const [value, meaning] of Object.entries(choices)) {
    input.add(new Option(value === '' ? meaning : `${value} (${meaning})`, value));
  }
  return input;
}

// A free text field; mode says which keyboard suits it ('numeric', 'text').
function textField(mode) {
  const input = document.createElement('input');
  input.type = 'text';
  input.inputMode = mode;
  input.autocomplete = 'off';
  input.spellcheck = false;
  return input;
}

// The list of values suggested for the option's input.
function suggestions(option, input) {
  const list = document.createElement('datalist');
  list.id = `${option.key}-list`;
  for (const value of option.list) list.append(new Option(String(value)));
  input.setAttribute('list', list.id);
  return list;
}

// A button that puts a fresh random seed into input.
function randomButton(option, input) {
  const button = document.createElement('button');
  button.type = 'button';
  button.id = `${option.key}-random`;
  button.textContent = 'Random';
  button.title = 'A fresh random seed';
  button.addEventListener('click', () => {
    input.value = String(crypto.getRandomValues(new Uint32Array(1))[0]);
    checkNow(option.key);
  });
  return button;
}

// Parses one field, shows or clears its explanation; resolves to { value }
// or null. Rejects when the generator's module cannot be loaded. Checks
// resolve in the order they began, so the last one shown is the latest text's.
export async function check(key) {
  const { readInteger } = await pageGenerator();
  const { option, input, error } = fields.get(key);
  try {
    const value = option.parse(input.value.trim(), readInteger);
    error.textContent = '';
    input.removeAttribute('aria-invalid');
    return { value };
  } catch (why) {
    error.textContent = String(why);
    input.setAttribute('aria-invalid', 'true');
    return null;
  }
}

// Checks a field as its value changes. A module that cannot be loaded
// leaves the field as it is; the next Generate reports why.
function checkNow(key) { check(key).catch(() => {}); }

// Every field's value by key, or null (each invalid field explained) when
// any is invalid. Rejects when the generator's module cannot be loaded.
export async function readForm() {
  const options = {};
  let valid = true;
  for (const key of fields.keys()) {
    const parsed = await check(key);
    if (parsed) options[key] = parsed.value;
    else valid = false;
  }
  return valid ? options : null;
}

// Puts the URL's option parameters into the fields.
export function loadUrl() {
  const params = new URLSearchParams(location.search);
  for (const [key, { input }] of fields) {
    if (params.has(key)) input.value = params.get(key);
  }
  suggestTeams(fields.get('players').input.value);
}

// Puts options into the URL, so the link makes the same map; style options
// left out stay out of the link.
export function saveUrl(options) {
  const given = Object.entries(options).filter(([k, v]) => !STYLE_KEYS.includes(k) || v !== '');
  const query = new URLSearchParams(given.map(([k, v]) => [k, String(v)]));
  history.replaceState(null, '', `?${query}`);
}

// The name of the map file the options make: a style given names itself
// (water and mountains with their percent) and makes classic starts fair.
export function fileName(options) {
  const style = STYLE_KEYS.filter((key) => options[key])
    .map((key) => (key === 'water' || key === 'mountains' ? `${key}${options[key]}` : options[key]));
  const starts = options.starts === 'classic' && style.length === 0 ? 'classic' :
    options.starts === 'classic' ? 'fair' : options.starts;
  const named = [...FILE_NAME_KEYS.map((key) => options[key]), ...(starts === 'classic' ? [] : [starts]), ...style];
  return `varnholt-${named.join('-')}.map`;
}

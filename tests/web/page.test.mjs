// The page in headless Chromium, served from 127.0.0.1: it makes, draws and
// offers the command line's maps, keeps its options in the URL, explains bad
// values and failures, and is fast enough.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';

import { launch } from './browser.mjs';
import { cliMap, sha256, SITE, temporaryFolder } from './reference.mjs';
import { serve } from './server.mjs';

const GENERATE_BUDGET_MS = 300;
const DRAW_BUDGET_MS = 100;
const SETTLED = `['ready', 'failed', 'invalid'].includes(document.body.dataset.state)`;

describe('the page', () => {
  let server;
  let browser;
  let page;
  const downloads = temporaryFolder();

  before(async () => {
    server = await serve(SITE);
    browser = await launch();
    page = await browser.newPage();
    await page.allowDownloads(downloads);
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  // Opens the page with the query and resolves once it has settled.
  async function open(query = '') {
    await page.goto(`${server.url}${query}`);
    await page.waitFor(SETTLED);
  }

  const state = () => page.evaluate('document.body.dataset.state');
  const text = (id) => page.evaluate(`document.getElementById(${JSON.stringify(id)}).textContent`);
  const fieldValues = () => page.evaluate(
    `Object.fromEntries([...document.querySelectorAll('#fields [name]')].map((f) => [f.name, f.value]))`);

  // Saves the offered map; resolves to { name, bytes }.
  async function download() {
    const name = await page.download(`document.getElementById('download').click()`);
    return { name, bytes: fs.readFileSync(path.join(downloads, name)) };
  }

  test('makes the default map on opening, draws it and lists its fairness', async () => {
    await open();
    assert.equal(await state(), 'ready', await text('error'));
    const canvas = await page.evaluate(`(() => {
      const canvas = document.getElementById('map');
      const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
      const colours = new Set();
      let transparent = 0;
      for (let i = 0; i < data.length; i += 4) {
        colours.add((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
        if (data[i + 3] !== 255) transparent += 1;
      }
      return { width: canvas.width, height: canvas.height, colours: colours.size, transparent };
    })()`);
    assert.deepEqual([canvas.width, canvas.height], [320, 320]);
    assert.equal(canvas.transparent, 0);
    assert.ok(canvas.colours > 100, `only ${canvas.colours} colours on the canvas`);
    const table = await page.evaluate(`({
      rows: document.querySelectorAll('#fairness tbody tr').length,
      weakest: document.querySelectorAll('#fairness td.weakest').length,
    })`);
    assert.equal(table.rows, 8);
    assert.deepEqual(await page.evaluate(`[...document.querySelectorAll('#marks text')].map((t) => t.textContent)`),
      ['0', '1', '2', '3', '4', '5', '6', '7']);
    assert.ok(table.weakest > 0, 'no weakest value marked');
    assert.deepEqual(page.errors, []);
  });

  test('zooms in and out one step at a time, within its limits', async () => {
    await open();
    const shownWidth = () => page.evaluate(`document.getElementById('map').getBoundingClientRect().width`);
    const before = await shownWidth();
    await page.evaluate(`document.getElementById('zoom-in').click()`);
    const larger = await shownWidth();
    assert.ok(larger > before, `${larger} after zooming in from ${before}`);
    assert.equal(await page.evaluate(`document.getElementById('marks').getBoundingClientRect().width`), larger);
    for (let i = 0; i < 20; ++i) await page.evaluate(`document.getElementById('zoom-out').click()`);
    assert.equal(await shownWidth(), 320 * 0.25);
    assert.equal(await page.evaluate(`document.getElementById('zoom-out').disabled`), true);
  });

  test("downloads the command line's file under its options' name", async () => {
    await open();
    const { name, bytes } = await download();
    assert.equal(name, 'varnholt-123456789-320-8-HG.map');
    assert.equal(sha256(bytes), sha256(cliMap({ seed: 123456789, size: 320, players: 8, goods: 'HG' }).bytes));
  });

  test('restores the options of a shared link and makes that map', async () => {
    await open('?seed=42&size=320&players=4&goods=MG');
    assert.deepEqual(await fieldValues(), {
      seed: '42', size: '320', players: '4', goods: 'MG', starts: 'classic',
      landscape: '', climate: '', water: '', mountains: '', resources: '', teams: '',
    });
    assert.equal(await state(), 'ready', await text('error'));
    const { name, bytes } = await download();
    assert.equal(name, 'varnholt-42-320-4-MG.map');
    assert.ok(bytes.equals(cliMap({ seed: 42, size: 320, players: 4, goods: 'MG' }).bytes));
  });

  test('makes a styled map from a shared link, named by its style', async () => {
    await open('?seed=7&size=384&players=4&goods=HG&landscape=islands&climate=desert&water=40');
    assert.equal(await state(), 'ready', await text('error'));
    const { name, bytes } = await download();
    assert.equal(name, 'varnholt-7-384-4-HG-fair-islands-desert-water40.map');
    const styled = { seed: 7, size: 384, players: 4, goods: 'HG', landscape: 'islands', climate: 'desert', water: '40' };
    assert.ok(bytes.equals(cliMap(styled).bytes));
    assert.equal(await page.evaluate('location.search'),
      '?seed=7&size=384&players=4&goods=HG&starts=classic&landscape=islands&climate=desert&water=40');
  });

  test('makes a team map from a shared link: team column, team totals, suggestions', async () => {
    await open('?seed=2&size=320&players=4&goods=HG&teams=2v2');
    assert.equal(await state(), 'ready', await text('error'));
    const { name, bytes } = await download();
    assert.equal(name, 'varnholt-2-320-4-HG-fair-2v2.map');
    assert.ok(bytes.equals(cliMap({ seed: 2, size: 320, players: 4, goods: 'HG', teams: '2v2' }).bytes));
    const shown = await page.evaluate(`({
      head: [...document.querySelectorAll('#fairness thead th')].slice(0, 2).map((c) => c.textContent),
      teams: [...document.querySelectorAll('#fairness tbody tr')].map((r) => r.cells[1].textContent),
      totals: [...document.querySelectorAll('#team-totals tbody tr')].map((r) => r.cells[1].textContent),
      suggested: [...document.querySelectorAll('#teams-list option')].map((o) => o.value),
    })`);
    assert.deepEqual(shown, {
      head: ['party', 'team'], teams: ['1', '1', '2', '2'], totals: ['0 1', '2 3'],
      suggested: ['2v2', '1v1v1v1'],
    });
  });

  test('puts the options of each map it makes into the URL', async () => {
    await open('?seed=42&size=320&players=4&goods=MG');
    await page.evaluate(`document.getElementById('option-seed').value = '+1_000';
      document.getElementById('option-goods').value = 'LG';
      document.body.dataset.state = 'idle';
      document.getElementById('generate').click()`);
    await page.waitFor(SETTLED);
    assert.equal(await page.evaluate('location.search'), '?seed=1000&size=320&players=4&goods=LG&starts=classic');
  });

  test('shows why the generator could not make a map', async () => {
    const { error } = cliMap({ seed: 123456789, size: 60, players: 40, goods: 'HG' });
    await open('?size=60&players=40');
    assert.equal(await state(), 'failed');
    assert.ok((await text('error')).includes(error), await text('error'));
    assert.equal(await page.evaluate(`document.getElementById('download').hasAttribute('href')`), false);
  });

  // Integers are read by the generator's module, as the command line reads them.
  const WHOLE = 'Enter a whole number, such as 42.';
  const FAR = 'Too far from zero: keep within ±9223372036854775807.';
  const SIZES = 'Enter a number from 1 to 4096 (larger maps need the command-line program).';
  const INVALID = [
    ['seed', '1.5', WHOLE],
    ['seed', '1e3', WHOLE],
    ['seed', '_1', WHOLE],
    ['seed', '99999999999999999999', FAR],
    ['seed', '-9_223_372_036_854_775_809', FAR],
    ['size', 'abc', WHOLE],
    ['size', '0', SIZES],
    ['size', '100000', SIZES],
    ['players', '255', 'Enter a number from 1 to 254.'],
    ['players', '9223372036854775808', FAR],
    ['goods', 'XG', 'Choose one of HG, MG, LG.'],
    ['water', 'abc', WHOLE],
    ['mountains', '101', 'Enter a whole percent from 0 to 100, or nothing for the landscape\'s own.'],
    ['teams', '2x2', 'Enter team sizes joined by v, such as 2v2 or 2v2v2, or nothing for no teams.'],
  ];
  for (const [key, value, explanation] of INVALID) {
    test(`explains a bad value beside its field and makes no map: ${key}=${value}`, async () => {
      await open(`?${key}=${encodeURIComponent(value)}`);
      assert.equal(await state(), 'invalid');
      assert.equal(await text(`${key}-error`), explanation);
      const others = await page.evaluate(`[...document.querySelectorAll('.field-error')]
        .filter((e) => e.textContent).map((e) => e.id)`);
      assert.deepEqual(others, [`${key}-error`]);
    });
  }

  test('explains a bad value as it is typed and clears it once fixed', async () => {
    await open();
    const type = (value) => page.evaluate(`{
      const input = document.getElementById('option-players');
      input.value = ${JSON.stringify(value)};
      input.dispatchEvent(new Event('input'));
    }`);
    await type('0');
    await page.waitFor(`document.getElementById('players-error').textContent !== ''`);
    await type('+1_6');
    await page.waitFor(`document.getElementById('players-error').textContent === ''`);
    assert.equal(await page.evaluate(`document.getElementById('option-players').getAttribute('aria-invalid')`), null);
  });

  test('stops a run on Cancel and makes the next map with a fresh worker', async () => {
    await open();
    await page.evaluate(`document.getElementById('option-size').value = '4000';
      document.getElementById('generate').click()`);
    await page.waitFor(`document.body.dataset.state === 'busy' && !document.getElementById('cancel').hidden`);
    await page.evaluate(`document.getElementById('cancel').click()`);
    assert.equal(await state(), 'idle');
    assert.equal(await text('status'), 'Stopped.');
    await page.evaluate(`document.getElementById('option-size').value = '320';
      document.getElementById('generate').click()`);
    await page.waitFor(SETTLED);
    assert.equal(await state(), 'ready', await text('error'));
    const { name, bytes } = await download();
    assert.equal(name, 'varnholt-123456789-320-8-HG.map');
    assert.ok(bytes.equals(cliMap({ seed: 123456789, size: 320, players: 8, goods: 'HG' }).bytes));
    assert.deepEqual(page.errors, []);
  });

  // The module is streamed where the server labels it application/wasm, read
  // whole elsewhere; without it the page says so.
  const SERVERS = [
    ['a server that labels the module as any file', { '.wasm': 'application/octet-stream' }, []],
    ['a server without the module', {}, ['varnholt.wasm']],
  ];
  for (const [name, types, missing] of SERVERS) {
    test(`loads the generator from ${name}, or says why not`, async () => {
      const folder = temporaryFolder();
      for (const file of fs.readdirSync(SITE).filter((file) => !missing.includes(file))) {
        fs.symlinkSync(path.join(SITE, file), path.join(folder, file));
      }
      const other = await serve(folder, 0, types);
      try {
        await page.goto(other.url);
        await page.waitFor(SETTLED);
        if (missing.length === 0) {
          assert.equal(await state(), 'ready', await text('error'));
        } else {
          assert.equal(await state(), 'failed');
          assert.equal(await text('error'), 'No map: The generator could not be loaded: varnholt.wasm: 404 Not Found');
        }
      } finally {
        await other.close();
      }
    });
  }

  test(`generates the default map within ${GENERATE_BUDGET_MS} ms and draws it within ${DRAW_BUDGET_MS} ms`, async () => {
    await open();
    // Opening includes downloading and compiling the module; the settled
    // state is polled, so this is up to one poll late.
    const firstMs = await page.evaluate('performance.now()');
    console.log(`# first map on screen ${Math.round(firstMs)} ms after opening the page`);
    const runs = [];
    for (let i = 0; i < 5; ++i) {
      await page.evaluate(`document.body.dataset.state = 'idle'; document.getElementById('generate').click()`);
      await page.waitFor(SETTLED);
      runs.push(await page.evaluate(`({ ...document.getElementById('status').dataset })`));
    }
    // The machine is shared, so the budget holds the best run: other work
    // can only slow a run down, a slower page slows them all.
    const sorted = (key) => runs.map((run) => Number(run[key])).sort((a, b) => a - b);
    const [generate, draw] = [sorted('generateMs'), sorted('drawMs')];
    console.log(`# default map in the page: generated in ${generate[2]} ms, drawn in ${draw[2]} ms ` +
      `(median of 5; best ${generate[0]} ms, ${draw[0]} ms)`);
    assert.ok(generate[0] <= GENERATE_BUDGET_MS, JSON.stringify(runs));
    assert.ok(draw[0] <= DRAW_BUDGET_MS, JSON.stringify(runs));
  });
});

// The WebAssembly module under Node: each map file, message, picture and
// fairness table it gives equals what the native programs give.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';

import { cliMap, inspect, SITE } from './reference.mjs';

// The loader cannot fetch a file path under Node, so it gets the bytes.
async function loadModule() {
  const { default: create } = await import(path.join(SITE, 'varnholt.mjs'));
  return create({ wasmBinary: fs.readFileSync(path.join(SITE, 'varnholt.wasm')) });
}

const DEFAULTS = { seed: '123456789', size: 320, players: 8, goods: 'HG' };
const TEAMS = { seed: '2', size: 320, players: 4, goods: 'HG', teams: '2v2' };
const CASES = [
  ['the defaults', DEFAULTS],
  ['medium goods, four players', { seed: '42', size: 320, players: 4, goods: 'MG' }],
  ['low goods, one player, a negative seed', { seed: '-5', size: 320, players: 1, goods: 'LG' }],
  ['a seed no JS number holds exactly', { seed: '9223372036854775807', size: 320, players: 2, goods: 'HG' }],
  ['a larger map with more players', { seed: '7', size: 640, players: 12, goods: 'HG' }],
  ['no room for the players', { seed: '1', size: 60, players: 40, goods: 'HG' }],
  ['a size off the 20-tile grid', { seed: '1', size: 65, players: 1, goods: 'HG' }],
  ['a size out of range', { seed: '1', size: 0, players: 8, goods: 'HG' }],
  ['fair starts', { seed: '42', size: 320, players: 8, goods: 'HG', starts: 'fair' }],
  ['symmetric starts', { seed: '5', size: 384, players: 4, goods: 'LG', starts: 'symmetric' }],
  ['a seed in the command line\'s grammar', { seed: '+1_000', size: 320, players: 2, goods: 'MG' }],
  ['a seed that is no integer', { seed: '12abc', size: 320, players: 8, goods: 'HG' }],
  ['symmetric starts need an even player count', { seed: '5', size: 320, players: 3, goods: 'HG', starts: 'symmetric' }],
  ['a style alone, which makes a fair map', { seed: '7', size: 384, players: 4, goods: 'HG', landscape: 'islands', climate: 'desert', water: '40', resources: 'high' }],
  ['a style of symmetric starts', { seed: '3', size: 384, players: 4, goods: 'MG', starts: 'symmetric', landscape: 'lakes', mountains: '20' }],
  ['a share out of the landscape\'s range', { seed: '1', size: 384, players: 4, goods: 'HG', landscape: 'islands', water: '10' }],
  ['teams, which make a fair map', TEAMS],
  ['symmetric teams', { seed: '4', size: 384, players: 6, goods: 'HG', starts: 'symmetric', teams: '3v3', landscape: 'islands' }],
  ['teams that disagree with the player count', { seed: '2', size: 320, players: 8, goods: 'HG', teams: '2v2' }],
  ['teams of unequal size', { seed: '2', size: 320, players: 3, goods: 'HG', teams: '2v1' }],
  ['the defaults again, after other runs in the same instance', DEFAULTS],
];

describe('the WebAssembly module', () => {
  let module;
  before(async () => { module = await loadModule(); });

  for (const [name, options] of CASES) {
    test(`gives the command line's file or message: ${name}`, () => {
      const expected = cliMap(options);
      const result = module.generate(options, () => {});
      if (expected.error !== undefined) {
        assert.equal(result.error, expected.error);
        assert.equal(result.bytes, undefined);
      } else {
        assert.equal(result.error, undefined);
        assert.ok(Buffer.from(result.bytes).equals(expected.bytes), 'map file bytes differ');
      }
    });
  }

  for (const [name, options] of [...CASES.slice(0, 2), ['teams', TEAMS]]) {
    test(`draws the inspector's picture and counts its fairness table: ${name}`, () => {
      const { report, preview } = inspect(cliMap(options).file);
      const result = module.generate(options, () => {});
      assert.equal(result.preview.width, preview.width);
      assert.equal(result.preview.height, preview.height);
      const rgb = Buffer.from(result.preview.rgba.filter((_, i) => i % 4 !== 3));
      assert.ok(rgb.equals(preview.rgb), 'preview pixels differ from the inspector PNG');
      assert.ok(result.preview.rgba.every((value, i) => i % 4 !== 3 || value === 255), 'not opaque');

      const { fairness } = result;
      assert.equal(fairness.radius, report.fairness.radius);
      assert.equal(fairness.fromTowers, report.fairness.basis === 'towers');
      const rows = fairness.rows.map(({ spot, values }) => ({
        party: spot.party, team: spot.team > 0 ? spot.team : null, x: spot.x, y: spot.y,
        ...Object.fromEntries(fairness.columns.map((column, i) => [column, values[i]])),
      }));
      assert.deepEqual(rows, report.fairness.rows);
      fairness.columns.forEach((column, i) => {
        const { min, max } = report.fairness.spread[column];
        assert.deepEqual(fairness.spread[i], { min, max }, column);
      });
    });
  }

  // Numbers no 64-bit integer equals, which the module once converted
  // unchecked: each is refused with the message the command line gives for
  // the same value as text (digits for the whole numbers, JS's text for the rest).
  const OUT_OF_RANGE = 'Parsed integer outside of valid range';
  const UNREADABLE = [
    ['size', NaN, 'invalid integer: NaN'],
    ['size', Infinity, 'invalid integer: Infinity'],
    ['players', -Infinity, 'invalid integer: -Infinity'],
    ['size', 1e300, OUT_OF_RANGE],
    ['players', -1e300, OUT_OF_RANGE],
    ['size', 2 ** 63, OUT_OF_RANGE],
    ['players', 1.5, 'invalid integer: 1.5'],
  ];
  for (const [key, value, message] of UNREADABLE) {
    test(`refuses ${key} ${value} as the command line does`, () => {
      const options = { ...DEFAULTS, [key]: value };
      const text = Number.isInteger(value) ? BigInt(value).toString() : String(value);
      assert.equal(cliMap({ ...options, [key]: text }).error, message);
      const result = module.generate(options, () => {});
      assert.equal(result.error, message);
      assert.equal(result.bytes, undefined);
    });
  }

  test('reads integers as the command line does, for the page', () => {
    const READINGS = [
      ['42', '42'],
      ['+1_000', '1000'],
      ['-5', '-5'],
      ['1__2_', '12'],
      ['-0', '0'],
      ['9223372036854775807', '9223372036854775807'],
      ['-9_223_372_036_854_775_808', '-9223372036854775808'],
    ];
    for (const [text, value] of READINGS) assert.deepEqual(module.readInteger(text), { value }, text);
    const REFUSED = [
      ['9223372036854775808', true],
      ['-99999999999999999999', true],
      ['', false],
      ['+', false],
      ['_1', false],
      [' 1', false],
      ['1.5', false],
      ['1e3', false],
      ['0x10', false],
    ];
    for (const [text, outOfRange] of REFUSED) {
      const { value, error, outOfRange: far } = module.readInteger(text);
      assert.equal(value, undefined, text);
      assert.equal(error, outOfRange ? OUT_OF_RANGE : `invalid integer: ${text}`, text);
      assert.equal(far, outOfRange, text);
    }
  });

  test('reports progress while it runs, with lines of its console text', () => {
    const lines = [];
    const result = module.generate(DEFAULTS, (line) => lines.push(line));
    assert.equal(result.error, undefined);
    assert.ok(lines.length > 0, 'no progress reported');
    for (const line of lines) {
      assert.ok(!line.includes('\n') && result.console.includes(line), `not a console line: ${line}`);
    }
  });
});

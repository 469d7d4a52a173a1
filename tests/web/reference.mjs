// What the web tests compare with: the native command-line programs' output
// for the same options, and where the built files are.
import { spawnSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
export const SITE = process.env.VARNHOLT_SITE ?? path.join(root, 'build-web/site');
const BINARY = process.env.VARNHOLT_BINARY ?? path.join(root, 'build/varnholt');
const INSPECT = process.env.VARNHOLT_INSPECT_BINARY ?? path.join(root, 'build/varnholt-inspect');

// A fresh temporary folder, removed when the process exits.
export function temporaryFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'varnholt-web-'));
  process.on('exit', () => fs.rmSync(folder, { recursive: true, force: true }));
  return folder;
}

const work = temporaryFolder();
let runs = 0;

// Runs the command-line generator with the page's options { seed, size,
// players, goods, starts } and the style options the page gives (landscape,
// climate, water, mountains, resources; empty ones left out). Returns
// { bytes, file } of the map it wrote, or { error } with the message of its
// final error line.
export function cliMap({ seed, size, players, goods, starts = 'classic', ...style }) {
  const file = path.join(work, `cli-${++runs}.map`);
  const styleFlags = Object.entries(style).filter(([, v]) => v !== '').map(([k, v]) => `--${k}=${v}`);
  const run = spawnSync(BINARY, [`--seed=${seed}`, `--size=${size}`, `--playerCount=${players}`,
    `--startGoods=${goods}`, ...(starts === 'classic' ? [] : [`--${starts}`]), ...styleFlags, `--output=${file}`], { stdio: ['ignore', 'ignore', 'pipe'], encoding: 'utf8' });
  if (run.error) throw run.error;
  if (run.status === 0) return { bytes: fs.readFileSync(file), file };
  const match = /^Error: unhandled exception: (.*) \[\w+\]$/m.exec(run.stderr);
  if (!match) throw new Error(`${BINARY} failed without an error line: ${run.stderr}`);
  return { error: match[1] };
}

// The inspector's JSON report of a map file and its 1:1 PNG preview as
// { width, height, rgb }.
export function inspect(file) {
  const png = path.join(work, `inspect-${++runs}.png`);
  const run = spawnSync(INSPECT, ['--json', `--png=${png}`, file], { encoding: 'utf8', maxBuffer: 1 << 28 });
  if (run.status !== 0) throw new Error(`${INSPECT} ${file}: ${run.stderr}`);
  return { report: JSON.parse(run.stdout), preview: decodePng(fs.readFileSync(png)) };
}

export function sha256(bytes) { return crypto.createHash('sha256').update(bytes).digest('hex'); }

// Decodes an 8-bit RGB, non-interlaced PNG (what the inspector writes) to
// { width, height, rgb }; throws for any other kind.
export function decodePng(file) {
  let offset = 8;
  let header;
  const data = [];
  while (offset < file.length) {
    const length = file.readUInt32BE(offset);
    const type = file.toString('latin1', offset + 4, offset + 8);
    const body = file.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') header = body;
    if (type === 'IDAT') data.push(body);
    offset += 12 + length;
  }
  const width = header.readUInt32BE(0);
  const height = header.readUInt32BE(4);
  if (header[8] !== 8 || header[9] !== 2 || header[12] !== 0) throw new Error('not an 8-bit RGB PNG');
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * 3;
  const rgb = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const left = i >= 3 ? rgb[y * stride + i - 3] : 0;
      const up = y > 0 ? rgb[(y - 1) * stride + i] : 0;
      const corner = i >= 3 && y > 0 ? rgb[(y - 1) * stride + i - 3] : 0;
      rgb[y * stride + i] = (line[i] + predict(filter, left, up, corner)) & 255;
    }
  }
  return { width, height, rgb };
}

function predict(filter, left, up, corner) {
  switch (filter) {
    case 0: return 0;
    case 1: return left;
    case 2: return up;
    case 3: return (left + up) >> 1;
    case 4: {
      const p = left + up - corner;
      const [a, b, c] = [Math.abs(p - left), Math.abs(p - up), Math.abs(p - corner)];
      return a <= b && a <= c ? left : b <= c ? up : corner;
    }
    default: throw new Error(`PNG filter ${filter}`);
  }
}

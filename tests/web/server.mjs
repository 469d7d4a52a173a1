// A static file server for the web page's tests: serves one folder on
// 127.0.0.1, read-only, with the content types a browser needs to load an
// ES module worker and stream-compile WebAssembly.
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

// Starts serving root on 127.0.0.1:port (0: a free port chosen by the system).
// Resolves to { url, close() } once listening; "/" serves index.html and a
// path that leaves root or names no file answers 404. types maps file
// extensions to content types that replace the usual ones.
export async function serve(root, port = 0, types = {}) {
  const base = path.resolve(root);
  const server = http.createServer(async (request, response) => {
    const { pathname } = new URL(request.url, 'http://localhost');
    const relative = decodeURIComponent(pathname).replace(/\/$/, '/index.html');
    const file = path.resolve(base, '.' + relative);
    if (request.method !== 'GET' || !file.startsWith(base + path.sep)) {
      response.writeHead(404).end();
      return;
    }
    try {
      const body = await fs.readFile(file);
      const extension = path.extname(file);
      const type = types[extension] ?? TYPES[extension] ?? 'application/octet-stream';
      response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', resolve);
  });
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();  // a browser keeps idle connections open
    }),
  };
}

// Run directly: node tests/web/server.mjs <folder> [port] serves until stopped.
if (import.meta.url === `file://${process.argv[1]}`) {
  const [root = 'build-web/site', port = '8000'] = process.argv.slice(2);
  const { url } = await serve(root, Number(port));
  console.log(`Serving ${root} at ${url}`);
}

// Drives headless Chromium through the DevTools protocol over a pipe (no
// network port, no npm package): start it, open pages, evaluate script in
// them, take screenshots and catch downloads.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--remote-debugging-pipe'];

// Starts Chromium (CHROMIUM or /usr/bin/chromium) with a fresh empty profile.
// Resolves to a Browser; close() ends it and removes the profile.
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'varnholt-chromium-'));
  const executable = process.env.CHROMIUM ?? '/usr/bin/chromium';
  const child = spawn(executable, [...FLAGS, `--user-data-dir=${profile}`, 'about:blank'],
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  const log = [];
  child.stderr.on('data', (chunk) => log.push(chunk.toString()));
  return new Browser(child, profile, log);
}

class Browser {
  #child; #profile; #log; #next = 1; #pending = new Map(); #listeners = new Set(); #buffer = '';

  constructor(child, profile, log) {
    this.#child = child;
    this.#profile = profile;
    this.#log = log;
    child.stdio[4].on('data', (chunk) => this.#receive(chunk.toString()));
    child.once('exit', (code) => {
      const error = new Error(`chromium exited (${code}): ${this.#log.join('').slice(-2000)}`);
      for (const { reject } of this.#pending.values()) reject(error);
      this.#pending.clear();
    });
  }

  // Messages arrive NUL-terminated; a chunk may hold several or part of one.
  #receive(text) {
    this.#buffer += text;
    let end;
    while ((end = this.#buffer.indexOf('\0')) >= 0) {
      const message = JSON.parse(this.#buffer.slice(0, end));
      this.#buffer = this.#buffer.slice(end + 1);
      if (message.id !== undefined) {
        const call = this.#pending.get(message.id);
        this.#pending.delete(message.id);
        if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
        else call.resolve(message.result);
      } else {
        for (const listener of this.#listeners) listener(message);
      }
    }
  }

  // Sends one protocol command, to the browser or (sessionId) to a page.
  send(method, params = {}, sessionId = undefined) {
    const id = this.#next++;
    this.#child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => this.#pending.set(id, { resolve, reject, method }));
  }

  // Calls listener with every event message from now on.
  listen(listener) { this.#listeners.add(listener); }

  // Resolves to the params of the first event named method (and from
  // sessionId, when given) for which accept returns true; rejects after
  // timeoutMs.
  waitForEvent(method, { sessionId, accept = () => true, timeoutMs = 30000 } = {}) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.#listeners.delete(listener);
        reject(new Error(`no ${method} within ${timeoutMs} ms`));
      }, timeoutMs);
      const listener = (message) => {
        if (message.method !== method || (sessionId && message.sessionId !== sessionId)) return;
        if (!accept(message.params)) return;
        clearTimeout(timer);
        this.#listeners.delete(listener);
        resolve(message.params);
      };
      this.#listeners.add(listener);
    });
  }

  // Opens a new tab of width x height CSS pixels; resolves to its Page.
  async newPage(width = 1280, height = 1000) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setDeviceMetricsOverride',
      { width, height, deviceScaleFactor: 1, mobile: false });
    return page;
  }

  // Ends the browser and removes its profile.
  async close() {
    if (this.#child.exitCode === null) {
      const exited = new Promise((resolve) => this.#child.once('exit', resolve));
      this.send('Browser.close').catch(() => {});
      const timer = setTimeout(() => this.#child.kill('SIGKILL'), 5000);
      await exited;
      clearTimeout(timer);
    }
    fs.rmSync(this.#profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.errors = [];
    browser.listen((message) => {
      if (message.method === 'Runtime.exceptionThrown' && message.sessionId === sessionId) {
        this.errors.push(message.params.exceptionDetails);
      }
    });
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  // Loads url and resolves once its load event has fired.
  async goto(url) {
    const loaded = this.browser.waitForEvent('Page.loadEventFired', { sessionId: this.sessionId });
    const { errorText } = await this.send('Page.navigate', { url });
    if (errorText) throw new Error(`${url}: ${errorText}`);
    await loaded;
  }

  // Evaluates an expression in the page (promises awaited) and resolves to
  // its value, which must be JSON-serialisable; a thrown error rejects.
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send('Runtime.evaluate',
      { expression, awaitPromise: true, returnByValue: true });
    if (exceptionDetails) {
      throw new Error(`${expression}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
    }
    return result.value;
  }

  // Resolves once expression is truthy in the page, polling every 20 ms;
  // rejects after timeoutMs.
  async waitFor(expression, timeoutMs = 30000) {
    const until = Date.now() + timeoutMs;
    for (;;) {
      if (await this.evaluate(expression)) return;
      if (Date.now() > until) throw new Error(`still false after ${timeoutMs} ms: ${expression}`);
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }

  // Saves the whole page, beyond the window too, as a PNG file.
  async screenshot(file) {
    const { width, height } = await this.evaluate(
      `({ width: document.documentElement.scrollWidth, height: document.documentElement.scrollHeight })`);
    const { data } = await this.send('Page.captureScreenshot',
      { format: 'png', captureBeyondViewport: true, clip: { x: 0, y: 0, width, height, scale: 1 } });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }

  // Lets downloads land in folder; each file keeps the name the page gave it.
  async allowDownloads(folder) {
    await this.browser.send('Browser.setDownloadBehavior',
      { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
  }

  // Runs trigger (an expression that starts a download) and resolves to the
  // file name the page suggested once the file is complete.
  async download(trigger) {
    const begun = this.browser.waitForEvent('Browser.downloadWillBegin');
    await this.evaluate(trigger);
    const { guid, suggestedFilename } = await begun;
    await this.browser.waitForEvent('Browser.downloadProgress',
      { accept: (event) => event.guid === guid && event.state === 'completed' });
    return suggestedFilename;
  }
}

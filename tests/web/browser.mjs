// Headless Chromium for the page's tests, driven by puppeteer-core over a
// pipe (no network port): Debian's browser (CHROMIUM or /usr/bin/chromium),
// pages of a fixed size whose script errors are collected, and downloads that
// land in a folder under the name the page gave them.
import puppeteer from 'puppeteer-core';

const ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--disable-background-networking',
  '--disable-component-update', '--disable-sync'];

// Starts Chromium with a fresh empty profile (removed again by close()).
// Resolves to a Browser.
export async function launch() {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    pipe: true,
    args: ARGS,
    defaultViewport: null,
  });
  return new Browser(browser);
}

class Browser {
  #browser;

  constructor(browser) { this.#browser = browser; }

  // Opens a new tab of width x height CSS pixels; resolves to its Page.
  async newPage(width = 1280, height = 1000) {
    const page = await this.#browser.newPage();
    await page.setViewport({ width, height, deviceScaleFactor: 1 });
    return new Page(page, this.#browser);
  }

  // Ends the browser; puppeteer removes the profile it made.
  async close() { await this.#browser.close(); }
}

class Page {
  #page;
  #browser;
  #downloads;

  constructor(page, browser) {
    this.#page = page;
    this.#browser = browser;
    this.errors = [];  // uncaught script errors of the page, in order
    page.on('pageerror', (error) => this.errors.push(error));
  }

  // Loads url and resolves once its load event has fired.
  async goto(url) { await this.#page.goto(url, { waitUntil: 'load' }); }

  // Evaluates an expression in the page (promises awaited) and resolves to
  // its value, which must be JSON-serialisable; a thrown error rejects.
  evaluate(expression) { return this.#page.evaluate(expression); }

  // Resolves once expression is truthy in the page, polling every 20 ms;
  // rejects after timeoutMs.
  async waitFor(expression, timeoutMs = 30000) {
    await this.#page.waitForFunction(expression, { polling: 20, timeout: timeoutMs });
  }

  // Saves the whole page, beyond the window too, as a PNG file.
  async screenshot(file) { await this.#page.screenshot({ path: file, fullPage: true }); }

  // Lets downloads land in folder; each file keeps the name the page gave it.
  async allowDownloads(folder) {
    this.#downloads = await this.#browser.target().createCDPSession();
    await this.#downloads.send('Browser.setDownloadBehavior',
      { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
  }

  // Runs trigger (an expression that starts a download) and resolves to the
  // file name the page suggested once the file is complete.
  async download(trigger, timeoutMs = 30000) {
    const session = this.#downloads;
    const begun = nextEvent(session, 'Browser.downloadWillBegin', () => true, timeoutMs);
    await this.evaluate(trigger);
    const { guid, suggestedFilename } = await begun;
    await nextEvent(session, 'Browser.downloadProgress',
      (event) => event.guid === guid && event.state === 'completed', timeoutMs);
    return suggestedFilename;
  }
}

// Resolves to the params of the first event named method on session for
// which accept returns true; rejects after timeoutMs.
function nextEvent(session, method, accept, timeoutMs) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => {
      session.off(method, listener);
      reject(new Error(`no ${method} within ${timeoutMs} ms`));
    }, timeoutMs);
    const listener = (params) => {
      if (!accept(params)) return;
      clearTimeout(timer);
      session.off(method, listener);
      resolve(params);
    };
    session.on(method, listener);
  });
}

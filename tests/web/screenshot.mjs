// Opens the built page in headless Chromium, lets it make the default map
// and saves a screenshot of the whole page: node tests/web/screenshot.mjs <out.png> [query].
// Prints the timings the page showed for that first map.
import { launch } from './browser.mjs';
import { SITE } from './reference.mjs';
import { serve } from './server.mjs';

const [out = 'docs/web.png', query = ''] = process.argv.slice(2);
const server = await serve(SITE);
const browser = await launch();
try {
  const page = await browser.newPage(1100, 1000);
  await page.goto(server.url + query);
  await page.waitFor(`document.body.dataset.state === 'ready'`);
  console.log(await page.evaluate(`document.getElementById('status').textContent`));
  await page.screenshot(out);
} finally {
  await browser.close();
  await server.close();
}

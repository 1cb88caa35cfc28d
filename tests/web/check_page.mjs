// Checks the web page in headless Chromium, driven through the DevTools protocol as a
// user would use it: it serves the built site (build-web/site) on 127.0.0.1 together
// with the test ROM, boots it with ?rom=, types, loads a tape through #ace-load-file and
// a dropped snapshot, hears a BEEP, takes the downloads of SAVE and "Save snapshot", and
// checks focus loss, stored settings and a wrong ROM. Prints "N passed, N failed".
//
//   node tests/web/check_page.mjs build-web/site
// Needs NOLTACE_TEST_ROM and NOLTACE_TESTDATA; exits 77 (skipped) when the site, the
// ROM or the data is missing, unless NOLTACE_REQUIRE_DATA is set.
import { createServer } from 'node:http';
import { existsSync, readFileSync, readdirSync, statSync } from 'node:fs';
import { extname, join, resolve } from 'node:path';
import { Browser, dropFile, evaluate, typeKeys, waitFor } from './cdp.mjs';

const site = resolve(process.argv[2] || 'build-web/site');
const rom = process.env.NOLTACE_TEST_ROM || '';
const data = process.env.NOLTACE_TESTDATA || '';
const tape = join(data, 'ace/tap/starfield.tap');
const snapshot = join(data, 'ace/snapshot/tut-tut.ace');

const missing = [[join(site, 'noltace.wasm'), 'the web build (bash scripts/build-web.sh)'],
  [rom, 'the ROM (NOLTACE_TEST_ROM)'], [tape, 'the test data (NOLTACE_TESTDATA)']]
  .filter(([path]) => !path || !existsSync(path));
if (missing.length) {
  console.log('skipped: missing ' + missing.map(([, what]) => what).join(', '));
  process.exit(process.env.NOLTACE_REQUIRE_DATA ? 1 : 77);
}

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = createServer((request, response) => {
  const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
  const file = path === '/test-rom/ace.rom' ? rom : join(site, path === '/' ? 'index.html' : path);
  if (!file.startsWith(site) && file !== rom || !existsSync(file)) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
  response.end(readFileSync(file));
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));
const origin = `http://127.0.0.1:${server.address().port}`;

let passed = 0;
let failed = 0;
function check(name, ok, detail = '') {
  if (ok) ++passed; else ++failed;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${ok || !detail ? '' : ': ' + detail}`);
}
const screen = (page) => evaluate(page, "document.getElementById('ace-screen-text').textContent");
const screenShows = (page, text, seconds) =>
  waitFor(page, `document.getElementById('ace-screen-text').textContent.includes(${JSON.stringify(text)})`, seconds);

async function loadThroughInput(page, path) {
  const { root } = await page.send('DOM.getDocument', {});
  const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#ace-load-file' });
  await page.send('DOM.setFileInputFiles', { nodeId, files: [path] });
}

const siteBytes = readdirSync(site).reduce((sum, name) => sum + statSync(join(site, name)).size, 0);
check('the page downloads less than 1 MB', siteBytes < 1024 * 1024, `${siteBytes} bytes`);

const browser = await Browser.launch();
try {
  const page = await browser.open(`${origin}/index.html?rom=/test-rom/ace.rom`);

  // The boot screen: the ROM's copyright line at the bottom, on a canvas that shows it.
  const booted = await waitFor(page, `noltacePage.running && document.getElementById('ace-screen-text').textContent.split('\\n')[23]?.trim()`, 30);
  const canvasPixels = await evaluate(page, `(() => { const c = document.getElementById('ace-canvas');
      const d = c.getContext('2d').getImageData(0, 0, 384, 312).data; const seen = new Set();
      for (let i = 0; i < d.length; i += 4) seen.add(d[i] << 16 | d[i + 1] << 8 | d[i + 2]); return seen.size; })()`);
  check('the ROM boots to its copyright line', !!booted && canvasPixels >= 2,
    `screen ${JSON.stringify(await screen(page).catch(() => ''))}, colours ${canvasPixels}; console: ${page.console.join(' | ')}`);

  // Keys typed as a user types them.
  await evaluate(page, "document.getElementById('ace-canvas').focus()");
  await typeKeys(page, '2 3 + .\r');
  check('typed keys give "2 3 + . 5  OK"', !!(await screenShows(page, '2 3 + . 5  OK', 15)),
    JSON.stringify(await screen(page)));
  await typeKeys(page, '7\b8 .\r'); // Backspace is the Ace's DELETE
  check('Backspace deletes as the Ace\'s DELETE', !!(await screenShows(page, '8 . 8  OK', 15)), JSON.stringify(await screen(page)));

  // Sound: the first key started the audio; a BEEP makes samples that are not silence.
  const soundOn = await waitFor(page, 'Module._web_sound_on() === 1', 10);
  const loudBefore = await evaluate(page, 'noltacePage.loudSamples');
  await typeKeys(page, '200 300 beep\r');
  const heard = await waitFor(page, `noltacePage.loudSamples > ${loudBefore} + 1000`, 15);
  check('a BEEP produces sound samples', !!soundOn && !!heard,
    `sound on ${soundOn}, loud samples ${await evaluate(page, 'noltacePage.loudSamples')}`);
  await screenShows(page, 'beep  OK', 10); // the ROM reads no keys while it beeps

  // A tape through the file input, loaded by name with autoload off.
  await evaluate(page, "(() => { const a = document.getElementById('set-autoload'); if (a.checked) a.click(); })()");
  await loadThroughInput(page, tape);
  const inserted = await waitFor(page, "document.getElementById('ace-message').textContent.includes('starfield')", 10);
  await evaluate(page, "document.getElementById('ace-canvas').focus()");
  await typeKeys(page, 'load stars\r');
  check('a tape chosen through #ace-load-file loads by "load stars"',
    !!inserted && !!(await screenShows(page, 'Dict: stars', 20)),
    `message ${JSON.stringify(await evaluate(page, "document.getElementById('ace-message').textContent"))}, ` +
    `screen ${JSON.stringify(await screen(page))}`);

  // The ROM's SAVE and the snapshot button offer their files as downloads.
  await typeKeys(page, 'save stars\r');
  const saved = await waitFor(page, "noltacePage.downloads.find((d) => d.name === 'stars.tap')", 20);
  check('SAVE offers the TAP as a download', !!saved && saved.size > 937, JSON.stringify(await evaluate(page, 'noltacePage.downloads')));
  await evaluate(page, "document.getElementById('ace-save-snapshot').click()");
  const snap = await waitFor(page, "noltacePage.downloads.find((d) => d.name.endsWith('.ace'))", 10);
  check('"Save snapshot" offers an .ace download', !!snap && snap.size > 1000, JSON.stringify(await evaluate(page, 'noltacePage.downloads')));

  // A snapshot dropped on the page.
  await dropFile(page, snapshot);
  check('a snapshot dropped on the page loads', !!(await screenShows(page, 'Dict: TUTTUT', 15)), JSON.stringify(await screen(page)));

  // A key held when the page loses the focus is let go: the ROM's repeat stops.
  await typeKeys(page, '\r');
  await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'x', code: 'KeyX', text: 'x', windowsVirtualKeyCode: 88 });
  await waitFor(page, "(document.getElementById('ace-screen-text').textContent.match(/x/g) || []).length > 3", 10);
  await evaluate(page, "window.dispatchEvent(new Event('blur'))");
  const countXs = "(document.getElementById('ace-screen-text').textContent.match(/x/g) || []).length";
  await new Promise((r) => setTimeout(r, 300));
  const xsAfterBlur = await evaluate(page, countXs);
  await new Promise((r) => setTimeout(r, 1500));
  const xsLater = await evaluate(page, countXs);
  check('losing the focus lets go of held keys', xsAfterBlur > 3 && xsLater === xsAfterBlur, `${xsAfterBlur} then ${xsLater}`);

  // Settings live in the browser's storage: the colour scheme comes back after a reload.
  // Amber, whose red and blue differ, so the canvas shows whether its bytes are in order.
  await evaluate(page, "(() => { const c = document.getElementById('set-colours'); c.value = '4'; c.dispatchEvent(new Event('change')); })()");
  await page.send('Page.reload', {});
  await new Promise((r) => setTimeout(r, 500));
  await waitFor(page, 'noltacePage.running', 20);
  const amber = await waitFor(page, `(() => { const d = document.getElementById('ace-canvas').getContext('2d').getImageData(0, 0, 384, 312).data;
      for (let i = 0; i < d.length; i += 4) if (d[i] === 0xB6 && d[i + 1] === 0x80 && d[i + 2] === 0) return true; return false; })()`, 10);
  check('the colour scheme is kept across visits', (await evaluate(page, "document.getElementById('set-colours').value")) === '4' && !!amber);

  const errors = page.console.filter((line) => line.startsWith('exception'));
  check('the page threw no exception', errors.length === 0, errors.join(' | '));

  // A file that is not the Ace ROM is refused, and the page asks for the ROM instead.
  const wrong = await browser.open(`${origin}/index.html?rom=/noltace.wasm`);
  const refused = await waitFor(wrong, "!document.getElementById('rom-ask').hidden && document.getElementById('rom-problem').textContent", 20);
  check('a file that is not the ROM is refused', /8192/.test(refused || '') && !(await evaluate(wrong, 'noltacePage.running')),
    String(refused));

  // The ROM dropped on the page that asks for it boots it, and the next visit finds it stored.
  await dropFile(wrong, rom);
  const dropped = await waitFor(wrong, 'noltacePage.running', 20);
  const later = await browser.open(`${origin}/index.html`);
  const remembered = await waitFor(later, "noltacePage.running && document.getElementById('rom-ask').hidden", 20);
  check('a dropped ROM boots and is remembered for the next visit', !!dropped && !!remembered);
} catch (e) {
  check('the page check ran to its end', false, e.message);
} finally {
  await browser.close();
  server.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

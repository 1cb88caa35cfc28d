// A small client of the Chrome DevTools protocol over --remote-debugging-pipe: headless
// Chromium is started with its protocol on file descriptors 3 (to it) and 4 (from it),
// messages being JSON texts ended by a NUL byte. Node's built-ins only.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export class Browser {
  static async launch(executable = process.env.CHROMIUM || '/usr/bin/chromium') {
    const profile = mkdtempSync(join(tmpdir(), 'noltace-chromium-'));
    const child = spawn(executable, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--no-default-browser-check',
      '--autoplay-policy=no-user-gesture-required', '--remote-debugging-pipe',
      `--user-data-dir=${profile}`, 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    child.stderr.on('data', (d) => { browser.stderr += d; });
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.stderr = '';
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffer = '';
    child.stdio[4].on('data', (chunk) => {
      buffer += chunk.toString('utf8');
      let end;
      while ((end = buffer.indexOf('\0')) >= 0) {
        const message = JSON.parse(buffer.slice(0, end));
        buffer = buffer.slice(end + 1);
        if (message.id && this.pending.has(message.id)) {
          const { resolve, reject } = this.pending.get(message.id);
          this.pending.delete(message.id);
          if (message.error) reject(new Error(message.error.message)); else resolve(message.result);
        } else {
          for (const listener of this.listeners) listener(message);
        }
      }
    });
    child.on('exit', () => {
      for (const { reject } of this.pending.values()) reject(new Error('Chromium ended:\n' + this.stderr));
      this.pending.clear();
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // A new tab at `url`, with a `send` bound to its session.
  async open(url) {
    // The page's downloads are checked in the page; none lands in the user's folder.
    await this.send('Browser.setDownloadBehavior', { behavior: 'deny' });
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = {
      send: (method, params) => this.send(method, params, sessionId),
      console: [],
    };
    this.listeners.push((m) => {
      if (m.sessionId === sessionId && m.method === 'Runtime.consoleAPICalled')
        page.console.push(m.params.args.map((a) => a.value ?? a.description).join(' '));
      if (m.sessionId === sessionId && m.method === 'Runtime.exceptionThrown')
        page.console.push('exception: ' + JSON.stringify(m.params.exceptionDetails.exception?.description ?? m.params.exceptionDetails.text));
    });
    await page.send('Runtime.enable');
    await page.send('Page.enable');
    await page.send('DOM.enable');
    await page.send('Page.navigate', { url });
    return page;
  }

  // Ends Chromium and removes its profile once it has stopped writing there.
  async close() {
    if (this.child.exitCode === null) {
      const ended = new Promise((r) => this.child.once('exit', r));
      this.send('Browser.close').catch(() => {});
      await Promise.race([ended, new Promise((r) => setTimeout(r, 5000))]);
      if (this.child.exitCode === null) this.child.kill('SIGKILL');
    }
    // Its helper processes may still be writing there for a moment.
    for (let attempt = 0; attempt < 20; ++attempt) {
      try {
        rmSync(this.profile, { recursive: true, force: true });
        return;
      } catch (e) {
        await new Promise((r) => setTimeout(r, 250));
      }
    }
  }
}

// The value of a JavaScript expression in the page (promises awaited).
export async function evaluate(page, expression) {
  const r = await page.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
  if (r.exceptionDetails) throw new Error(expression + ': ' + (r.exceptionDetails.exception?.description ?? r.exceptionDetails.text));
  return r.result.value;
}

// Drops the file at `path` on the page, as a user drags it there from a file manager.
export async function dropFile(page, path) {
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await page.send('Input.dispatchDragEvent', { type, x: 300, y: 300, data: { items: [], files: [path], dragOperationsMask: 1 } });
}

// Waits until `expression` is truthy; its last value, or null after `seconds`.
export async function waitFor(page, expression, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    let value = null;
    try { value = await evaluate(page, expression); } catch (e) { /* the page is still loading */ }
    if (value) return value;
    if (Date.now() > end) return null;
    await new Promise((r) => setTimeout(r, 100));
  }
}

const KEY_CODES = { ' ': ['Space', 32], '\r': ['Enter', 13], '\b': ['Backspace', 8], '+': ['Equal', 187], '.': ['Period', 190] };

// Types `text` as real key presses, each key down and up again at once ('\r' is Return,
// '\b' Backspace).
export async function typeKeys(page, text) {
  for (const ch of text) {
    let code, keyCode, key = ch, shift = false;
    if (KEY_CODES[ch]) [code, keyCode] = KEY_CODES[ch];
    else if (/[0-9]/.test(ch)) { code = 'Digit' + ch; keyCode = ch.charCodeAt(0); }
    else if (/[a-z]/i.test(ch)) { code = 'Key' + ch.toUpperCase(); keyCode = ch.toUpperCase().charCodeAt(0); shift = ch !== ch.toLowerCase(); }
    else { code = ''; keyCode = 0; }
    if (ch === '+') shift = true;
    if (ch === '\r') key = 'Enter';
    if (ch === '\b') key = 'Backspace';
    const common = { key, code, windowsVirtualKeyCode: keyCode, modifiers: shift ? 8 : 0 };
    await page.send('Input.dispatchKeyEvent', { type: 'keyDown', text: ch === '\b' ? '' : ch, ...common });
    await page.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }
}

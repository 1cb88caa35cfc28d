// The NoltACE web page: asks for (or fetches) the ROM, boots the emulator compiled to
// WebAssembly (noltace.js), paces it, draws its frames, and passes keys, files, sound
// and settings between the browser and the emulator's entry points (Module._web_*).
'use strict';

const FRAME_MS = 20;            // 50 frames a second without sound
const AUDIO_AHEAD_SECONDS = 0.06; // sound queued ahead of playback while sound paces
const MAX_FRAMES_PER_TICK = 8;
const ROM_SIZE = 8192;
const SETTINGS_KEY = 'noltace-settings';

const $ = (id) => document.getElementById(id);

// Windows virtual-key codes (the desktop's key numbering) for the keys that go by position.
const VIRTUAL_KEYS = (() => {
  const vk = {
    Backspace: 0x08, Tab: 0x09, Enter: 0x0D, NumpadEnter: 0x0D, ShiftLeft: 0x10, ShiftRight: 0x10,
    ControlLeft: 0x11, ControlRight: 0x11, CapsLock: 0x14, Escape: 0x1B, Space: 0x20,
    PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26,
    ArrowRight: 0x27, ArrowDown: 0x28, Insert: 0x2D, Delete: 0x2E, NumpadMultiply: 0x6A,
    NumpadAdd: 0x6B, NumpadSubtract: 0x6D, NumpadDecimal: 0x6E, NumpadDivide: 0x6F,
    Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC, Minus: 0xBD, Period: 0xBE, Slash: 0xBF,
    Quote: 0xC0, BracketLeft: 0xDB, Backslash: 0xDC, BracketRight: 0xDD, Backquote: 0xDF,
  };
  for (let d = 0; d <= 9; ++d) { vk['Digit' + d] = 0x30 + d; vk['Numpad' + d] = 0x60 + d; }
  for (let c = 65; c <= 90; ++c) vk['Key' + String.fromCharCode(c)] = c;
  for (let f = 1; f <= 12; ++f) vk['F' + f] = 0x6F + f;
  return vk;
})();

const noltacePage = {
  running: false,
  settings: { model: 1, colours: 0, sound: true, volume: 40, fastLoading: true, autoload: true },
  framesRun: 0,      // frames run since the clock's schedule last started
  framesTotal: 0,    // frames run since the page started (the speed can be read from it)
  clockStart: 0,
  lastScreenText: '',
  keyIds: new Map(),
  // Sound: sample frames handed to the worklet, and used up by it.
  audio: null,
  audioNode: null,
  framesSent: 0,
  framesConsumed: 0,
  lastAudioReport: 0,
  soundSamples: 0,   // samples handed over since the start
  loudSamples: 0,    // of those, the ones that were not silence (for the page's check)
  downloads: [],     // names of the files offered, newest last

  // ---- Called from the emulator ----
  showMessage(caption, text) {
    $('ace-message').textContent = caption + ': ' + text.replace(/\s+/g, ' ');
    console.log('NoltACE ' + caption + ': ' + text);
  },
  offerDownload(path) {
    let bytes;
    try { bytes = Module.FS.readFile(path); } catch (e) { return; }
    Module.FS.unlink(path);
    const name = path.substring(path.lastIndexOf('/') + 1);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    this.downloads.push({ name, size: bytes.length });
  },
  audioSampleRate() { return this.audio ? this.audio.sampleRate : 0; },
  audioOpen() { return this.audioNode ? 1 : 0; },
  audioPlay(on) { if (this.audioNode) this.audioNode.port.postMessage({ playing: on }); },
  audioClear() {
    // The worklet counts what it drops as used up.
    if (this.audioNode) this.audioNode.port.postMessage({ clear: true });
  },
  audioQueue(ptr, count, bits, channels) {
    if (!this.audioNode) return;
    let source;
    if (bits === 16) source = new Int16Array(Module.HEAPU8.buffer, ptr, count >> 1);
    else source = new Uint8Array(Module.HEAPU8.buffer, ptr, count);
    const frames = source.length / channels;
    const out = new Float32Array(frames * 2);
    let loud = 0;
    for (let i = 0; i < frames; ++i) {
      for (let c = 0; c < 2; ++c) {
        const raw = source[i * channels + (channels === 2 ? c : 0)];
        const v = bits === 16 ? raw / 32768 : (raw - 128) / 128;
        out[i * 2 + c] = v;
        if (v !== 0) ++loud;
      }
    }
    this.soundSamples += frames;
    this.loudSamples += loud >> 1;
    this.framesSent += frames;
    this.audioNode.port.postMessage({ samples: out }, [out.buffer]);
  },

  // ---- Settings ----
  loadSettings() {
    try { Object.assign(this.settings, JSON.parse(localStorage.getItem(SETTINGS_KEY) || '{}')); } catch (e) { }
    $('set-model').value = this.settings.model;
    $('set-colours').value = this.settings.colours;
    $('set-sound').checked = this.settings.sound;
    $('set-volume').value = this.settings.volume;
    $('set-fast-loading').checked = this.settings.fastLoading;
    $('set-autoload').checked = this.settings.autoload;
  },
  saveSettings() {
    try { localStorage.setItem(SETTINGS_KEY, JSON.stringify(this.settings)); } catch (e) { }
  },
  settingsChanged() {
    if (!this.running) return;
    const s = this.settings;
    s.model = Number($('set-model').value);
    s.colours = Number($('set-colours').value);
    s.sound = $('set-sound').checked;
    s.volume = Number($('set-volume').value);
    s.fastLoading = $('set-fast-loading').checked;
    s.autoload = $('set-autoload').checked;
    this.saveSettings();
    Module._web_set_model(s.model);
    Module._web_set_colours(s.colours);
    Module._web_set_fast_loading(s.fastLoading ? 1 : 0);
    Module._web_set_autoload(s.autoload ? 1 : 0);
    if (s.sound && Module._web_sound_on()) Module._web_set_sound(1, s.volume); // the new volume
    else if (s.sound) this.startAudio();
    else Module._web_set_sound(0, s.volume);
    this.restartClock();
    this.draw(true);
  },

  // ---- The ROM ----
  romProblem(bytes) {
    if (bytes.length !== ROM_SIZE) return 'The file has ' + bytes.length + ' bytes; the Ace ROM has 8192.';
    // The Ace ROM starts by disabling interrupts and pointing HL at the user RAM (DI; LD HL,3C00h).
    if (bytes[0] !== 0xF3 || bytes[1] !== 0x21 || bytes[2] !== 0x00 || bytes[3] !== 0x3C)
      return 'This does not look like the Jupiter Ace ROM.';
    return '';
  },
  openRomStore() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open('noltace', 1);
      request.onupgradeneeded = () => request.result.createObjectStore('files');
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  },
  async storedRom(value) {
    try {
      const db = await this.openRomStore();
      return await new Promise((resolve) => {
        const tx = db.transaction('files', value === undefined ? 'readonly' : 'readwrite');
        const store = tx.objectStore('files');
        const request = value === undefined ? store.get('ace.rom')
          : value === null ? store.delete('ace.rom') : store.put(value, 'ace.rom');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => resolve(undefined);
      });
    } catch (e) {
      return undefined;
    }
  },
  async romChosen(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const problem = this.romProblem(bytes);
    $('rom-problem').textContent = problem;
    if (problem) return;
    await this.storedRom(bytes);
    this.boot(bytes);
  },
  async findRom() {
    const url = new URLSearchParams(location.search).get('rom');
    if (url) {
      const target = new URL(url, location.href);
      if (target.origin !== location.origin) {
        this.askForRom('?rom= must name a file on this page\'s own server.');
        return;
      }
      try {
        const response = await fetch(target);
        if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
        const bytes = new Uint8Array(await response.arrayBuffer());
        const problem = this.romProblem(bytes);
        if (problem) this.askForRom(problem); else this.boot(bytes);
      } catch (e) {
        this.askForRom('The ROM at ' + url + ' could not be read (' + e.message + ').');
      }
      return;
    }
    const stored = await this.storedRom();
    if (stored && !this.romProblem(stored)) this.boot(stored); else this.askForRom('');
  },
  askForRom(problem) {
    $('rom-ask').hidden = false;
    $('rom-problem').textContent = problem;
  },

  // ---- Running ----
  boot(romBytes) {
    Module.FS.mkdirTree('/roms');
    Module.FS.mkdirTree('/load');
    Module.FS.mkdirTree('/downloads');
    Module.FS.writeFile('/roms/ace.rom', romBytes);
    const s = this.settings;
    if (Module.ccall('web_boot', 'number', ['string', 'number', 'number'], ['/roms/ace.rom', s.model, s.colours]) !== 0) {
      this.askForRom('The emulator could not use this ROM.');
      return;
    }
    Module._web_set_fast_loading(s.fastLoading ? 1 : 0);
    Module._web_set_autoload(s.autoload ? 1 : 0);
    $('rom-ask').hidden = true;
    $('ace-toolbar').hidden = false;
    $('ace-stage').hidden = false;
    this.canvas = $('ace-canvas');
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.image = null;
    this.fitCanvas();
    this.canvas.focus();
    this.running = true;
    this.restartClock();
    const bench = new URLSearchParams(location.search).get('bench');
    if (bench) { this.benchmark(Number(bench)); return; }
    this.tick();
  },
  restartClock() {
    this.clockStart = performance.now();
    this.framesRun = 0;
  },
  soundPaces() {
    return Module._web_sound_on() && performance.now() - this.lastAudioReport < 250;
  },
  framesDue() {
    if (this.soundPaces()) return -1; // decided frame by frame below
    const due = Math.floor((performance.now() - this.clockStart) / FRAME_MS) - this.framesRun;
    if (due > MAX_FRAMES_PER_TICK) { // the tab slept or the machine is too slow: no catching up
      this.restartClock();
      return 1;
    }
    return Math.max(0, due);
  },
  tick() {
    let changed = 0;
    const due = this.framesDue();
    if (due < 0) {
      const ahead = this.audio.sampleRate * AUDIO_AHEAD_SECONDS;
      for (let i = 0; i < MAX_FRAMES_PER_TICK && this.framesSent - this.framesConsumed < ahead; ++i) {
        changed |= Module._web_run_frames(1);
        ++this.framesTotal;
      }
      this.restartClock();
    } else if (due > 0) {
      changed = Module._web_run_frames(due);
      this.framesRun += due;
      this.framesTotal += due;
    }
    if (changed) this.draw(false);
    setTimeout(() => this.tick(), 4);
  },
  draw(force) {
    if (force) Module._web_run_frames(0);
    // The image is a view of the machine's own pixels, not a copy; it is made again only
    // when the machine's memory has grown (and the old view has gone dead).
    const pixels = Module._web_canvas_pixels();
    if (!this.image || this.image.data.buffer !== Module.HEAPU8.buffer || this.image.data.byteOffset !== pixels)
      this.image = new ImageData(new Uint8ClampedArray(Module.HEAPU8.buffer, pixels, 384 * 312 * 4), 384, 312);
    this.context.putImageData(this.image, 0, 0);
    const text = Module.UTF8ToString(Module._web_screen_text());
    if (text !== this.lastScreenText) {
      this.lastScreenText = text;
      $('ace-screen-text').textContent = text;
    }
  },
  // The largest whole multiple of the Ace's raster that fits, in device pixels.
  fitCanvas() {
    if (!this.canvas) return;
    const ratio = window.devicePixelRatio || 1;
    const stage = $('ace-stage').getBoundingClientRect();
    const room = Math.min(stage.width * ratio / 384, Math.max(stage.height, 312) * ratio / 312);
    const scale = Math.max(1, Math.floor(room));
    this.canvas.style.width = (384 * scale / ratio) + 'px';
    this.canvas.style.height = (312 * scale / ratio) + 'px';
  },
  benchmark(frames) {
    // A busy screen: the machine prints numbers and scrolls for ever.
    Module.ccall('web_type', null, ['string'], [': T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r']);
    setTimeout(() => {
      Module._web_run_frames(300);
      const seconds = Module._web_benchmark(frames);
      const speed = frames / 50 / seconds;
      this.benchResult = { frames, seconds, speed };
      this.showMessage('Benchmark', frames + ' frames in ' + seconds.toFixed(3) + ' s: ' + speed.toFixed(1) + 'x real time');
      this.draw(false);
    }, 0);
  },

  // ---- Sound ----
  // Browsers let sound start only from a click or a key: the first one starts it.
  async startAudio() {
    if (!this.settings.sound || this.audioStarting || (this.audio && Module._web_sound_on())) return;
    this.audioStarting = true;
    try {
      if (!this.audio) {
        this.audio = new AudioContext({ sampleRate: 44100, latencyHint: 'interactive' });
        await this.audio.audioWorklet.addModule('noltace-audio.js');
        this.audioNode = new AudioWorkletNode(this.audio, 'noltace-audio', { outputChannelCount: [2] });
        this.audioNode.port.onmessage = (e) => {
          this.framesConsumed = e.data.consumed;
          this.lastAudioReport = performance.now();
        };
        this.audioNode.connect(this.audio.destination);
      }
      await this.audio.resume();
      Module._web_set_sound(1, this.settings.volume);
    } catch (e) {
      this.showMessage('Sound', 'Web Audio could not start (' + e.message + '); the emulator runs silently.');
      this.audio = null;
      this.audioNode = null;
    } finally {
      this.audioStarting = false;
    }
  },

  // ---- Keys and files ----
  keyId(code) {
    if (!this.keyIds.has(code)) this.keyIds.set(code, this.keyIds.size + 1);
    return this.keyIds.get(code);
  },
  // AltGr (Ctrl+Alt on some systems) types characters on many layouts: it is no SYMBOL SHIFT.
  altGraph(e) {
    return !!(e.getModifierState && e.getModifierState('AltGraph'));
  },
  keyForAce(e) {
    if (!this.running || e.metaKey || (e.altKey && !this.altGraph(e))) return false;
    const t = e.target;
    return !(t && (t.tagName === 'INPUT' || t.tagName === 'SELECT' || t.tagName === 'BUTTON' || t.tagName === 'SUMMARY'));
  },
  keyDown(e) {
    this.startAudio();
    if (!this.keyForAce(e)) return;
    const chars = Array.from(e.key);
    const character = chars.length === 1 && e.key !== ' ' ? e.key.codePointAt(0) : -1;
    const vk = VIRTUAL_KEYS[e.code] ?? -1;
    const ctrl = e.ctrlKey && !this.altGraph(e);
    if (Module._web_key_down(this.keyId(e.code || e.key), character, vk, ctrl ? 1 : 0)) e.preventDefault();
  },
  keyUp(e) {
    if (!this.running) return;
    if (Module._web_key_up(this.keyId(e.code || e.key))) e.preventDefault();
  },
  releaseKeys() {
    if (this.running) Module._web_release_keys();
  },
  async loadFiles(files, dropped) {
    for (const file of files) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      const path = '/load/' + file.name.replace(/[\/\\]/g, '_');
      Module.FS.writeFile(path, bytes);
      const failed = Module.ccall('web_load', 'number', ['string', 'number'], [path, dropped ? 1 : 0]);
      Module.FS.unlink(path);
      if (!failed) $('ace-message').textContent = 'Loaded ' + file.name;
    }
    this.canvas.focus();
  },
  wire() {
    window.addEventListener('keydown', (e) => this.keyDown(e));
    window.addEventListener('keyup', (e) => this.keyUp(e));
    window.addEventListener('pointerdown', () => this.startAudio());
    window.addEventListener('blur', () => this.releaseKeys());
    document.addEventListener('visibilitychange', () => { if (document.hidden) this.releaseKeys(); });
    new ResizeObserver(() => this.fitCanvas()).observe($('ace-stage'));
    window.addEventListener('dragover', (e) => { e.preventDefault(); document.body.classList.add('dragging'); });
    window.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    window.addEventListener('drop', (e) => {
      e.preventDefault();
      document.body.classList.remove('dragging');
      const files = Array.from(e.dataTransfer.files);
      if (!files.length) return;
      if (this.running) this.loadFiles(files, true); else this.romChosen(files[0]);
    });
    $('rom-file').addEventListener('change', (e) => { if (e.target.files[0]) this.romChosen(e.target.files[0]); });
    $('ace-load-file').addEventListener('change', (e) => {
      this.loadFiles(Array.from(e.target.files), false);
      e.target.value = '';
    });
    $('ace-save-snapshot').addEventListener('click', () => {
      Module.ccall('web_save_snapshot', null, ['string'], ['noltace']);
      this.canvas.focus();
    });
    $('ace-reset').addEventListener('click', () => { Module._web_reset(); this.canvas.focus(); });
    $('forget-rom').addEventListener('click', async () => { await this.storedRom(null); location.reload(); });
    for (const id of ['set-model', 'set-colours', 'set-sound', 'set-volume', 'set-fast-loading', 'set-autoload'])
      $(id).addEventListener('change', () => this.settingsChanged());
  },
};

var Module = {
  onRuntimeInitialized() {
    noltacePage.loadSettings();
    noltacePage.wire();
    noltacePage.findRom();
  },
};

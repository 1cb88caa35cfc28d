// The web build's unpaced speed on a busy screen, run by Node on the same noltace.js and
// noltace.wasm the page loads: boots the ROM, starts a loop that prints and scrolls for
// ever, then times frames (each one drawn into the canvas's pixels, as in the page).
//
//   node bench/web_speed.mjs [build-web/site] [frames]     (NOLTACE_TEST_ROM names the ROM)
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { runInThisContext } from 'node:vm';

const site = resolve(process.argv[2] || 'build-web/site');
const frames = Number(process.argv[3] || 20000);
const rom = readFileSync(process.env.NOLTACE_TEST_ROM || '../shared/roms/ace.rom');

globalThis.noltacePage = { showMessage: (c, t) => console.log(c + ': ' + t), offerDownload() {} };
globalThis.Module = {
  // Given here: this emscripten would fetch() it, which Node cannot do from a path.
  wasmBinary: readFileSync(resolve(site, 'noltace.wasm')),
  onRuntimeInitialized() {
    const M = globalThis.Module;
    M.FS.mkdirTree('/roms');
    M.FS.writeFile('/roms/ace.rom', rom);
    if (M.ccall('web_boot', 'number', ['string', 'number', 'number'], ['/roms/ace.rom', 1, 0]) !== 0) process.exit(1);
    M._web_run_frames(150);
    M.ccall('web_type', null, ['string'], [': T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r']);
    M._web_run_frames(300);
    const cpuBefore = process.cpuUsage();
    const seconds = M._web_benchmark(frames);
    const cpu = process.cpuUsage(cpuBefore);
    const cpuSeconds = (cpu.user + cpu.system) / 1e6;
    // The speed by processor time as well: on a shared machine the clock also counts
    // the time other programs had the processor.
    console.log(`frames=${frames} seconds=${seconds.toFixed(3)} speed=${(frames / 50 / seconds).toFixed(1)}` +
      ` cpu_seconds=${cpuSeconds.toFixed(3)} cpu_speed=${(frames / 50 / cpuSeconds).toFixed(1)}`);
    console.log(M.UTF8ToString(M._web_screen_text()).split('\n').filter((l) => l.trim()).slice(-3).join('\n'));
  },
};
// Run as a classic script, as the page does, so that it finds the Module above.
globalThis.require = createRequire(import.meta.url);
globalThis.__dirname = site;
runInThisContext(readFileSync(resolve(site, 'noltace.js'), 'utf8'), { filename: 'noltace.js' });

// The web page's entry points: the page (site/noltace-page.js) calls these through
// Module._web_*; everything they do goes through the same core calls as the desktop
// application (frame driver, key queue, Load File, snapshots, sound output).
#include <emscripten.h>

#include <string>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "display/display_settings.h"
#include "display/renderer.h"
#include "display/screen_text.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"
#include "tape/ace_snapshot.h"
#include "tape/load_file.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "web_audio_device.h"
#include "web_host.h"
#include "web_keys.h"

namespace {

WebHost webHost;
WebAudioDevice audioDevice;
bool soundWanted = false;

void RestartSound() {
    ShutdownSound();
    runState.FastMode = true; // without sound the page paces by its clock
    if (!soundWanted) return;
    SetAudioDevice(&audioDevice);
    if (InitSound() == 0) runState.FastMode = false;
}

} // namespace

extern "C" {

// Loads the ROM the page wrote to `path` (8192 bytes, checked by the page) and boots
// the machine with the given model and colours. 0 when it runs.
EMSCRIPTEN_KEEPALIVE int web_boot(const char* path, int model, int colours) {
    SetHost(&webHost);
    runState.Reset();
    runState.FastMode = true;
    const std::string rom = path;
    romState.romFolder = rom.substr(0, rom.find_last_of('/') + 1);
    if (LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded) return 1;
    machine.model = uint32_t(model);
    ApplyModelLimits(machine.model);
    BuildBeamMap();
    UseColourScheme(colours);
    ResetKeyboard();
    ResetMachine();
    return 0;
}

// Runs `count` frames; 1 when the canvas needs redrawing.
EMSCRIPTEN_KEEPALIVE int web_run_frames(int count) {
    for (int i = 0; i < count; ++i) {
        const uint64_t before = frameDriver.frameCounter;
        RunFrame();
        if (frameDriver.frameCounter != before) KeyQueueFrameEnded();
    }
    webHost.OfferWrittenFiles();
    const bool changed = webHost.frameChanged;
    webHost.frameChanged = false;
    return changed ? 1 : 0;
}

// Unpaced run for the benchmark: `count` frames; the seconds it took. Every frame is
// presented, so the renderer draws each one into the canvas's pixels (UseColourScheme),
// more often than the page shows them.
EMSCRIPTEN_KEEPALIVE double web_benchmark(int count) {
    const bool fast = runState.FastMode;
    runState.FastMode = true;
    const double start = webHost.NowSeconds();
    for (int i = 0; i < count; ++i)
        RunFrame();
    runState.FastMode = fast;
    return webHost.NowSeconds() - start;
}

EMSCRIPTEN_KEEPALIVE const uint8_t* web_canvas_pixels() {
    return webHost.CanvasPixels();
}

EMSCRIPTEN_KEEPALIVE const char* web_screen_text() {
    static std::string text;
    text = ScreenText();
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE int web_key_down(int heldId, int character, int virtualKey, int ctrl) {
    return WebKeyPressed(heldId, character, virtualKey, ctrl != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int web_key_up(int heldId) {
    return WebKeyReleased(heldId) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void web_release_keys() {
    WebReleaseAllKeys();
}

// Loads a tape, snapshot, spool text or ROM the page wrote to `path`, as the Load File
// command or a drop on the desktop window does. 0 when it loaded.
EMSCRIPTEN_KEEPALIVE int web_load(const char* path, int dropped) {
    const LoadRoute route = dropped ? LoadRoute::Dropped : LoadRoute::LoadFileDialog;
    return LoadFileByName(path, route) == LoadResult::Loaded ? 0 : 1;
}

// Types `text` into the machine as a spool file does.
EMSCRIPTEN_KEEPALIVE void web_type(const char* text) {
    StartSpool(text);
}

EMSCRIPTEN_KEEPALIVE void web_save_snapshot(const char* name) {
    FileDialogRequest request;
    request.initialName = name;
    request.defaultExtension = "ace";
    const std::string path = webHost.ChooseSaveFile(request);
    if (!SaveAceSnapshot(path)) webHost.ShowMessage("Error", "The snapshot could not be written.");
    webHost.OfferWrittenFiles();
}

EMSCRIPTEN_KEEPALIVE void web_reset() {
    WebReleaseAllKeys();
    ResetMachine();
}

EMSCRIPTEN_KEEPALIVE void web_set_model(int model) {
    if (model < 0 || model > 3 || uint32_t(model) == machine.model) return;
    machine.model = uint32_t(model);
    SetModel();
    ResetMachine();
}

EMSCRIPTEN_KEEPALIVE void web_set_colours(int scheme) {
    UseColourScheme(scheme);
}

EMSCRIPTEN_KEEPALIVE void web_set_fast_loading(int on) {
    opt_fastloadtzx = on != 0;
}

EMSCRIPTEN_KEEPALIVE void web_set_autoload(int on) {
    opt_autoload = on != 0;
}

// Sound on or off (the page turns it on only once its audio context runs), and the
// volume 0-100; both take effect by restarting the stream.
EMSCRIPTEN_KEEPALIVE void web_set_sound(int on, int volume) {
    soundWanted = on != 0;
    opt_snd_volume = uint8_t(volume < 0 ? 0 : volume > 100 ? 100 : volume);
    RestartSound();
}

EMSCRIPTEN_KEEPALIVE int web_sound_on() {
    return SoundOutputOn() ? 1 : 0;
}

} // extern "C"

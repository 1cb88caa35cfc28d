#include "app/qt/run_commands.h"

#include "base/host.h"
#include "app/qt/input_routing.h"
#include "app/shell_state.h"
#include "debugger/debugger_session.h"
#include "machine/reset.h"
#include "sound/sound_output.h"
#include "tape/wav_deck.h"

namespace run_commands {

void TogglePause() {
    Paused = !Paused;
    PauseSound(Paused);
}

void ToggleFast() {
    FastMode = !FastMode;
    // Unpaced frames would overrun the sound stream: it stops while Fast is on.
    PauseSound(FastMode);
    RestartSampleClock();
}

void GenerateNmi() {
    NmiRequested = true;
}

void SoftReset() {
    ::SoftReset();
}

void HardReset() {
    ::HardReset();
}

void RunDebugger() {
    RunDebuggerModally();
}

void FocusLost(bool toolWindowActive) {
    if (!opt_focus_on || wavPlaying || toolWindowActive || Paused) return;
    FocusPaused = true;
    ReleaseEveryKey();
    StopSound();
}

void FocusGained() {
    // A WAV tape keeps playing into the machine whatever has the focus.
    if (wavPlaying) return;
    FocusPaused = false;
    PauseSound(false);
}

bool ConfirmQuit() {
    Paused = true;
    StopSound();
    if (opt_exit_msg && !host().AskYesNo("Exit", "Are you sure you want to quit NoltACE?")) {
        ClearStream();
        PauseSound(false);
        Paused = false;
        return false;
    }
    return true;
}

} // namespace run_commands

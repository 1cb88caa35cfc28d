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
    runState.Paused = !runState.Paused;
    PauseSound(runState.Paused);
}

void ToggleFast() {
    runState.FastMode = !runState.FastMode;
    // Unpaced frames would overrun the sound stream: it stops while Fast is on.
    PauseSound(runState.FastMode);
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
    if (!opt_focus_on || wavPlaying || toolWindowActive || runState.Paused) return;
    runState.FocusPaused = true;
    ReleaseEveryKey();
    StopSound();
}

void FocusGained() {
    // A WAV tape keeps playing into the machine whatever has the focus.
    if (wavPlaying) return;
    runState.FocusPaused = false;
    PauseSound(false);
}

bool ConfirmQuit() {
    runState.Paused = true;
    StopSound();
    if (opt_exit_msg && !host().AskYesNo("Exit", "Are you sure you want to quit NoltACE?")) {
        ClearStream();
        PauseSound(false);
        runState.Paused = false;
        return false;
    }
    return true;
}

} // namespace run_commands

#include "machine/frame.h"

#include <cstdio>

#include "base/host.h"
#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "machine/ace_keyboard.h"
#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "machine/z80.h"
#include "sound/sound_output.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

int frameSkipPeriod = 1;
int frameSkipCountdown = 1;
uint64_t frameCounter = 0;
int pcLogLimitMb = kPcLogStartLimitMb;
void (*pcLogStoppedHandler)(int menuItem) = nullptr;
void (*wavTimeUpdater)() = nullptr;

namespace {

constexpr int kMenuPcLogOneFrame = 129;
constexpr int kMenuPcLogging = 128;
constexpr int kHelperCycleFrames = 6;
// Spun, not slept, before a frame is due. A high-resolution sleep already wakes within
// some tens of microseconds, so the spin only trims what is left: every microsecond of
// it is processor time that an idle machine spends fifty times a second.
constexpr double kPacingSpinSeconds = 0.00002;

// Host time at the end of the last paced frame; 0 = none yet, so the first paced frame
// does not wait.
double lastPacedTime = 0.0;

void StopPcLogFile(int menuItem) {
    if (pcLogFile) {
        std::fclose(pcLogFile);
        pcLogFile = nullptr;
    }
    if (pcLogStoppedHandler) pcLogStoppedHandler(menuItem);
}

// The Keyboard Helper types its pending character once every six frames. Its keys are
// let go on the cycle's last frame: the ROM only takes a new key after it has seen the
// keyboard released, so releasing and pressing in one frame would lose characters
// clicked in consecutive cycles.
void HelperTypingTick() {
    if (typingCounter == 1) {
        ReleaseAllKeys();
        TypeHelperCharacter(helperPendingCharacter);
        helperPendingCharacter = 0;
    } else if (typingCounter >= kHelperCycleFrames) {
        ReleaseAllKeys();
    }
    typingCounter = typingCounter >= kHelperCycleFrames ? 1 : typingCounter + 1;
}

// The one-frame PC log ends with its frame; a continuous log asks before it grows past
// its size limit.
void DebugEndOfFrame() {
    if (pcLogOneFrame) {
        pcLogOneFrame = false;
        UpdateDebugHooks(); // breakpoints stay armed
        StopPcLogFile(kMenuPcLogOneFrame);
    }
    if (!pcLogOn || !pcLogFile) return;
    std::fflush(pcLogFile);
    const long bytes = std::ftell(pcLogFile);
    const int sizeMb = bytes > 0 ? int(bytes / 1048576) : 0;
    if (sizeMb < pcLogLimitMb) return;
    char question[96];
    std::snprintf(question, sizeof question, "File is %dMB in size \n\nDo you wish to continue?", sizeMb);
    if (host().AskYesNoWarning("DEBUG", question)) {
        pcLogLimitMb *= 2;
    } else {
        pcLogOn = false;
        UpdateDebugHooks();
        StopPcLogFile(kMenuPcLogging);
    }
}

// Sleeps to the frame's due time: one high-resolution sleep until shortly before it,
// then a spin over what is left, so the frame ends within a fraction of a millisecond of
// its time while the processor rests for nearly all of it. The wake-up usually comes
// later than the margin, and then there is no spin at all.
//
// On a busy system the wake-up can still come late. Measuring the next frame from that
// late moment would let every delay add up (a steady 48 frames a second instead of 50),
// so a frame that ended less than a period late keeps the schedule: the next one is due
// a period after this one was due. Only a longer gap (a first frame, frames paced by
// sound or Fast mode) starts the schedule again from now, without waiting.
void PaceToFramePeriod() {
    Host& h = host();
    const double due = lastPacedTime + kFramePeriodSeconds;
    double now = h.NowSeconds();
    if (now < due - kPacingSpinSeconds) {
        h.SleepUntil(due - kPacingSpinSeconds);
        now = h.NowSeconds();
    }
    while (now < due)
        now = h.NowSeconds();
    lastPacedTime = now - due < kFramePeriodSeconds ? due : now;
}

} // namespace

void RunFrame() {
    if (Paused || FocusPaused) {
        host().SleepMs(1);
        return;
    }
    MachineState& m = machine;
    ExecuteInstructionsUntil(m.frameTstates);
    m.intLine = 1; // accepted during the first intLength T-states of the next frame

    PollJoystick();
    TapeFrameEnded();
    if (spoolActive) SpoolFrameEnded();
    if (helperTyping) HelperTypingTick();
    if (debugHooksOn) DebugEndOfFrame();
    if (wavTimeUpdater && (wavPlaying || recording)) wavTimeUpdater();

    ++frameCounter;
    if (--frameSkipCountdown <= 0) {
        PresentFrame();
        frameSkipCountdown = frameSkipPeriod;
    }
    EndSoundFrame(m.tstates, m.frameTstates);
    m.tstates -= m.frameTstates;
    ResetBeam();

    if (SoundOutputOn() || FastMode) return;
    PaceToFramePeriod();
}

void RestartFrameSkip() {
    frameSkipCountdown = frameSkipPeriod < 1 ? 1 : frameSkipPeriod;
}

void ResetFrameDriver() {
    frameSkipPeriod = 1;
    RestartFrameSkip();
    frameCounter = 0;
    pcLogLimitMb = kPcLogStartLimitMb;
    lastPacedTime = 0.0;
}

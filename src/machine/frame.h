// The frame driver: RunFrame advances the machine by one 50 Hz frame (64584 T-states),
// raises the frame interrupt, does the once-a-frame work (joystick, typing, the end of
// a one-frame PC log, frame counting, presentation every frameSkipPeriod frames) and
// paces to 50 frames a second of host time unless sound or Fast mode sets the pace.
//
// Usage: the application's loop calls RunFrame() once per pass; noltace-headless and the
// benchmarks call it with FastMode set. The last instruction of a frame usually runs a
// few T-states past its end; that overshoot is carried into the next frame, so a frame
// that ended at 64590 starts the next one at T-state 6, inside the interrupt window.
#pragma once

#include <cstdint>

constexpr double kFramePeriodSeconds = 0.02; // 50 frames a second

extern int frameSkipPeriod; // a setting: present one frame in this many (at least 1)

struct FrameDriverState {
    int frameSkipCountdown = 1; // frames left until the next presented frame
    uint64_t frameCounter = 0;  // frames run; the status bar reads and clears it
    // Set by the WAV browser while it is open (may stay null): called at the end of each
    // frame while a WAV recording plays or records.
    void (*wavTimeUpdater)() = nullptr;
    // Host time at the end of the last paced frame; 0 = none yet, so the first paced
    // frame does not wait.
    double lastPacedTime = 0.0;

    // Back to the start-up state: every frame presented (the period back at 1), counters
    // cleared, pacing restarted.
    void Reset();
};
extern FrameDriverState frameDriver;

void RunFrame();
void RestartFrameSkip();

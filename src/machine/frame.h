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

extern int frameSkipPeriod;    // present one frame in this many (at least 1)
extern int frameSkipCountdown; // frames left until the next presented frame
extern uint64_t frameCounter;  // frames run; the status bar reads and clears it

// The PC log's size limit in whole megabytes; switching logging on sets it to 10, and
// each "continue" answer to the size question doubles it.
extern int pcLogLimitMb;
constexpr int kPcLogStartLimitMb = 10;

// Set by the application (may stay null):
// called when the frame driver switched PC logging off by itself, with the menu item to
// untick: 129 "PC log One frame" when a one-frame log ended, 128 "PC Logging" when the
// user declined to continue a large log;
extern void (*pcLogStoppedHandler)(int menuItem);
// called at the end of each frame while a WAV recording plays or records and the WAV
// browser is open (the browser sets it when it opens and clears it when it closes).
extern void (*wavTimeUpdater)();

void RunFrame();
void RestartFrameSkip();
// Back to the start-up state: every frame presented, counters cleared, pacing restarted.
void ResetFrameDriver();

// The frame driver: RunFrame advances the machine by one 50 Hz frame (64584 T-states),
// raises the frame interrupt, does the once-a-frame work (joystick, typing, frame
// counting, presentation every frameSkipPeriod frames) and paces to 50 frames a second
// of host time unless sound or Fast mode sets the pace.
#pragma once

#include <cstdint>

extern int frameSkipPeriod;    // present one frame in this many (at least 1)
extern int frameSkipCountdown; // frames left until the next presented frame
extern uint64_t frameCounter;  // frames run; the status bar reads and clears it

void RunFrame();
void RestartFrameSkip();

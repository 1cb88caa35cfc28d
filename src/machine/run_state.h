// The shell's run-state flags, read by the frame driver and the instruction step.
#pragma once

extern bool Paused;       // the user paused, or a modal window is open
extern bool FocusPaused;  // the main window lost the focus
extern bool FastMode;     // run unpaced
extern bool NmiRequested; // taken after the current instruction

void ResetRunState();

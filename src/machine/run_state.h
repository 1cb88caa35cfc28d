// The shell's run-state flags, read by the frame driver and the instruction step.
#pragma once

#include "machine/hook_switches.h"

extern bool Paused;      // the user paused, or a modal window is open
extern bool FocusPaused; // the main window lost the focus
extern bool FastMode;    // run unpaced
// Taken after the current instruction.
inline bool& NmiRequested = rareHookSwitches.nmiRequested;

void ResetRunState();

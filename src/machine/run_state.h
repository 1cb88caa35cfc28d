// The shell's run-state flags, read by the frame driver and the instruction step.
#pragma once

#include "machine/hook_switches.h"

struct RunState {
    bool Paused = false;      // the user paused, or a modal window is open
    bool FocusPaused = false; // the main window lost the focus
    bool FastMode = false;    // run unpaced

    // Running, paced, no NMI waiting.
    void Reset();
};
extern RunState runState;
// Taken after the current instruction.
inline bool& NmiRequested = rareHookSwitches.nmiRequested;

// The run-state commands: Pause, Fast, NMI, the two resets, the debugger, pausing while
// the window is in the background, and the question before quitting.
#pragma once

#include "machine/run_state.h"

// Holds the machine still for the length of a command. The flag is not a counter: when
// the guard ends emulation resumes, even if an outer command had set it.
class PauseAround {
  public:
    PauseAround() { runState.Paused = true; }
    ~PauseAround() { runState.Paused = false; }
    PauseAround(const PauseAround&) = delete;
    PauseAround& operator=(const PauseAround&) = delete;
};

namespace run_commands {

void TogglePause();
void ToggleFast();
void GenerateNmi();
void SoftReset();
void HardReset();
// The modal debugger: sound stops while it is open, emulation resumes when it closes.
void RunDebugger();

// The main window lost or regained the focus. `toolWindowActive` is true when the focus
// went to one of the tool windows that keep the machine running (browsers, keyboard
// helper).
void FocusLost(bool toolWindowActive);
void FocusGained();

// Pauses and, when opt_exit_msg is on, asks "Are you sure you want to quit NoltACE?".
// False (emulation and sound resumed) when the user said no.
bool ConfirmQuit();

} // namespace run_commands

#include "machine/run_state.h"

bool Paused = false;
bool FocusPaused = false;
bool FastMode = false;

void ResetRunState() { Paused = FocusPaused = FastMode = NmiRequested = false; }

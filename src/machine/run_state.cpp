#include "machine/run_state.h"

bool Paused = false;
bool FocusPaused = false;
bool FastMode = false;
bool NmiRequested = false;

void ResetRunState() { Paused = FocusPaused = FastMode = NmiRequested = false; }

#include "machine/run_state.h"

RunState runState;

void RunState::Reset() {
    *this = RunState{};
    NmiRequested = false;
}

// Breakpoints, tested by the instruction step after every instruction.
#pragma once

#include "machine/hook_switches.h"

// The step consults breakpoints and the PC log only while set.
inline bool& debugHooksOn = rareHookSwitches.debugHooksOn;

void checkBreakpoints();

// Breakpoints, tested by the instruction step after every instruction.
#pragma once

extern bool debugHooksOn; // the step consults breakpoints and the PC log only while set

void checkBreakpoints();

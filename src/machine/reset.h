// The resets: the machine's two, and the whole emulator's.
#pragma once

// Hard reset of the machine's state: clears RAM, releases keys, ejects the tape and
// sets the registers to their power-on values (HL = 0xFFFF, the rest 0).
void ResetMachine();

// Releases every key and restarts at address 0; memory and the other registers stay.
void SoftReset();

// Hard Reset as the menu does it: ResetMachine, then the standard ROM again.
void HardReset();

// Every subsystem back to its start-up state, as if the program had just started: no
// ROM loaded (and no ROM folder), the 3K model, nothing in the decks, no spool, no
// breakpoints, no log, the debugger closed, sound off, running and paced. Start-up, the
// headless runner, the fuzz targets and the tests begin here. Settings other than the
// ones a subsystem owns (frame skip, spool speed) keep their values.
void ResetEmulator();

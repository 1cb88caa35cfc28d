// The two resets of the machine.
#pragma once

// Hard reset of the machine's state: clears RAM, releases keys, ejects the tape and
// sets the registers to their power-on values (HL = 0xFFFF, the rest 0).
void ResetMachine();

// Releases every key and restarts at address 0; memory and the other registers stay.
void SoftReset();

// Hard Reset as the menu does it: ResetMachine, then the standard ROM again.
void HardReset();

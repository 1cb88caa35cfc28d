// The instruction step of the Ace's Z80.
//
// ExecuteInstruction runs one step on the global machine: either the acceptance of a
// pending interrupt, after which the renderer, breakpoints and the PC log look at pc on
// the handler's first instruction, or one instruction, then the per-instruction hooks in
// their fixed order: renderer, NMI, sound clocks, the ROM address hooks for tape playback
// and recording, the fast tape loop, the tape and WAV clocks, breakpoints and the PC log.
//
// The instructions themselves live in z80_core.h, written once over a Bus so that the
// conformance runner can drive the same code on a flat 64 KB memory without any hook.
#pragma once

#include <cstdint>

void ExecuteInstruction();
// ExecuteInstruction while `tstates` is below `end`: the frame driver's loop, with the
// step inlined into it.
void ExecuteInstructionsUntil(uint32_t end);

// The ROM at the FORTH prompt waits for the frame interrupt in a loop of two instructions
// that only the interrupt can end (it sets the flag the loop tests):
//
//   059B  CB 6E   BIT 5,(HL)   12 T-states
//   059D  28 FC   JR Z,059B    12 T-states
//
// Past the frame's interrupt window nothing else runs until the next frame, so the
// iterations left before the frame's end are counted at once instead of stepped: the
// clock and R move on by theirs, WZ holds the loop's address as after any taken jump, and
// the next iteration is stepped as usual, so F, lastPc and q come out as stepping left
// them. Anything that watches steps (breakpoints, watchpoints, the PC log, tape clocks,
// an NMI) turns this off, as do other bytes at the address (another ROM).
#pragma once

#include <cstdint>

#include "machine/hook_switches.h"
#include "machine/machine_state.h"
#include "machine/memory.h"

constexpr uint16_t kRomWaitLoopPc = 0x059B;

inline void SkipWaitLoop(MachineState& m, uint32_t end) {
    constexpr uint32_t kIterationTstates = 24;
    if (AnyRareHookOn() || m.tstates < m.intLength || m.tstates >= end) return;
    const uint16_t pc = m.pc;
    const uint8_t bitOp = FetchOpcodeByte(uint16_t(pc + 1));
    // BIT b,(HL) is CB 46+8b; the jump goes back 4 bytes, to the BIT.
    if (FetchOpcodeByte(pc) != 0xCB || (bitOp & 0xC7) != 0x46 || FetchOpcodeByte(uint16_t(pc + 2)) != 0x28 ||
        FetchOpcodeByte(uint16_t(pc + 3)) != 0xFC)
        return;
    if (ReadMemory(m.hl.w) >> ((bitOp >> 3) & 7) & 1) return; // the flag is up: the loop ends
    // Whole iterations whose every step starts before `end`; the stepping does the rest.
    const uint32_t iterations = (end - 1 - m.tstates) / kIterationTstates;
    if (iterations == 0) return;
    m.tstates += iterations * kIterationTstates;
    m.r = uint8_t(m.r + 3 * iterations); // CB and its opcode, then JR: three M1 cycles
    m.memptr = pc;
}

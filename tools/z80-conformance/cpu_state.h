// The programmer-visible Z80 state as the test suites write it down, and the two
// translations between it and the core's MachineState.
//
// The suites see R as one 8-bit register whose bit 7 never changes by itself; the core
// counts all eight bits of `r` and keeps the bit 7 last loaded by LD R,A in `r7`. The
// visible R is therefore (r7 & 0x80) | (r & 0x7F), and loading R sets both.
#pragma once

#include <cstdint>
#include <string>

#include "machine/machine_state.h"

struct Z80Regs {
    uint16_t af = 0, bc = 0, de = 0, hl = 0;
    uint16_t af2 = 0, bc2 = 0, de2 = 0, hl2 = 0; // the alternate set
    uint16_t ix = 0, iy = 0, sp = 0, pc = 0, wz = 0;
    uint8_t i = 0, r = 0, iff1 = 0, iff2 = 0, im = 0;
    uint8_t halted = 0;
    uint8_t q = 0;  // the core's latch: 1 when the last instruction wrote F
    uint8_t ei = 0; // 1 after EI: no interrupt before the next instruction
};

// Which of the optional fields a suite records.
struct CompareFields {
    bool halted = false;
    bool q = false;
    bool ei = false;
};

// A fresh core state holding `regs`: no interrupt pending, T-states at 0.
void LoadRegs(MachineState& m, const Z80Regs& regs);
Z80Regs ReadRegs(const MachineState& m);

// "" when equal; otherwise one "name want X got Y" item per differing field, with the
// differing flag bits named for F (S Z 5 H 3 P N C).
std::string DescribeDifferences(const Z80Regs& want, const Z80Regs& got, CompareFields fields);

// Hex helpers for the reports.
std::string Hex2(unsigned v);
std::string Hex4(unsigned v);

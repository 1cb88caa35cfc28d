// Flag look-up tables of the Z80 core.
//
// Flag bits of F: 0 C, 1 N, 2 P/V, 3 copy of result bit 3, 4 H, 5 copy of result bit 5,
// 6 Z, 7 S.
#pragma once

#include <cstdint>

enum : uint8_t {
    kFlagC = 0x01,
    kFlagN = 0x02,
    kFlagPV = 0x04,
    kFlag3 = 0x08,
    kFlagH = 0x10,
    kFlag5 = 0x20,
    kFlagZ = 0x40,
    kFlagS = 0x80,
};

extern uint8_t sz53[256];   // S, 5, 3 copied from the value; Z for 0
extern uint8_t parity[256]; // 0x04 for an even number of set bits
extern uint8_t sz53p[256];  // sz53 | parity

// Indexed by a 3-bit code built from bit 3 (or 7 for overflow) of the two operands and result.
inline constexpr uint8_t halfCarryAdd[8] = {0, 0x10, 0x10, 0x10, 0, 0, 0, 0x10};
inline constexpr uint8_t halfCarrySub[8] = {0, 0, 0x10, 0, 0x10, 0, 0x10, 0x10};
inline constexpr uint8_t overflowAdd[8] = {0, 0, 0, 0x04, 0x04, 0, 0, 0};
inline constexpr uint8_t overflowSub[8] = {0, 0x04, 0, 0, 0, 0, 0x04, 0};

void BuildFlagTables();

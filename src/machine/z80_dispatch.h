// Spells out the 256 cases of an opcode switch from one template, so that every opcode
// gets its own code with its fields (register, bit number, operation) fixed at compile
// time instead of decoded again at run time:
//
//   #define CASE(n) case n: OneOpcode<n>(m, bus); break;
//   switch (op) { Z80_CASES_256(CASE) }
#pragma once

#define Z80_CASES_4(F, n) F(n) F(n + 1) F(n + 2) F(n + 3)
#define Z80_CASES_16(F, n) Z80_CASES_4(F, n) Z80_CASES_4(F, n + 4) Z80_CASES_4(F, n + 8) Z80_CASES_4(F, n + 12)
#define Z80_CASES_64(F, n) Z80_CASES_16(F, n) Z80_CASES_16(F, n + 16) Z80_CASES_16(F, n + 32) Z80_CASES_16(F, n + 48)
#define Z80_CASES_256(F) Z80_CASES_64(F, 0) Z80_CASES_64(F, 64) Z80_CASES_64(F, 128) Z80_CASES_64(F, 192)

// The Z80's arithmetic and flag rules, register addressing and stack moves, shared by
// every opcode table of the core (z80_ops_*.h). Include z80_core.h, not this file.
//
// Flag helpers write F and set the `q` latch; the table dispatchers clear `q` before
// each instruction, so an instruction that never calls one leaves `q` = 0. All results
// wrap at 8 or 16 bits. F is `af.lo`, A is `af.hi`, and likewise B/C, D/E, H/L.
#pragma once

#include <cstddef>
#include <cstdint>

#include "machine/machine_state.h"
#include "machine/z80_tables.h"

namespace z80 {

// ---------------------------------------------------------------------------------
// Register addressing by the 3-bit code of the opcode (B C D E H L (HL) A).

// Byte offsets of the eight register codes inside MachineState; code 6 is the memory
// operand and never used here. Pairs are little-endian, so the high register is +1.
inline constexpr size_t kReg8Offset[8] = {
    offsetof(MachineState, bc) + 1, offsetof(MachineState, bc),
    offsetof(MachineState, de) + 1, offsetof(MachineState, de),
    offsetof(MachineState, hl) + 1, offsetof(MachineState, hl),
    0,                              offsetof(MachineState, af) + 1,
};

inline uint8_t& Reg8(MachineState& m, unsigned code) {
    return reinterpret_cast<uint8_t*>(&m)[kReg8Offset[code]];
}

// The same with H and L replaced by the halves of an index register (IXH/IXL, IYH/IYL).
inline uint8_t& IndexReg8(MachineState& m, RegPair& xy, unsigned code) {
    if (code == 4) return xy.hi;
    if (code == 5) return xy.lo;
    return Reg8(m, code);
}

// ---------------------------------------------------------------------------------
// Operand fetches, memory words and the stack. Operands go through the data path.

template <class Bus> [[gnu::always_inline]] inline uint8_t Imm8(MachineState& m, Bus& bus) { return bus.Read(m.pc++); }

template <class Bus> [[gnu::always_inline]] inline uint16_t Imm16(MachineState& m, Bus& bus) {
    const uint8_t lo = bus.Read(m.pc++);
    return uint16_t(lo | (bus.Read(m.pc++) << 8));
}

template <class Bus> [[gnu::always_inline]] inline uint16_t ReadWord(Bus& bus, uint16_t a) {
    const uint8_t lo = bus.Read(a);
    return uint16_t(lo | (bus.Read(uint16_t(a + 1)) << 8));
}

template <class Bus> [[gnu::always_inline]] inline void WriteWord(Bus& bus, uint16_t a, uint16_t v) {
    bus.Write(a, uint8_t(v));
    bus.Write(uint16_t(a + 1), uint8_t(v >> 8));
}

// PUSH writes the high byte first, at SP - 1.
template <class Bus> [[gnu::always_inline]] inline void Push(MachineState& m, Bus& bus, uint16_t v) {
    bus.Write(--m.sp, uint8_t(v >> 8));
    bus.Write(--m.sp, uint8_t(v));
}

template <class Bus> [[gnu::always_inline]] inline uint16_t Pop(MachineState& m, Bus& bus) {
    const uint8_t lo = bus.Read(m.sp++);
    return uint16_t(lo | (bus.Read(m.sp++) << 8));
}

// EX (SP),rr: read low and high, then write high and low, as the processor does.
template <class Bus> inline void ExchangeWithStack(MachineState& m, Bus& bus, uint16_t& rr) {
    const uint8_t lo = bus.Read(m.sp);
    const uint8_t hi = bus.Read(uint16_t(m.sp + 1));
    bus.Write(uint16_t(m.sp + 1), uint8_t(rr >> 8));
    bus.Write(m.sp, uint8_t(rr));
    rr = m.memptr = uint16_t(lo | (hi << 8));
}

// Signed displacement of a relative jump or an (IX+d) operand.
inline uint16_t Displace(uint16_t base, uint8_t d) { return uint16_t(base + int8_t(d)); }

// ---------------------------------------------------------------------------------
// 8-bit arithmetic. The half-carry and overflow tables are indexed by bit 3 (low three
// bits of k) and bit 7 (high three bits) of A, the operand and the result.

inline unsigned CarryIndex8(unsigned a, unsigned v, unsigned t) {
    return ((a & 0x88) >> 3) | ((v & 0x88) >> 2) | ((t & 0x88) >> 1);
}

// ADD/ADC: H and V from the tables, C from bit 8, S Z 5 3 from the result.
inline void Add8(MachineState& m, uint8_t v, unsigned carry = 0) {
    const unsigned a = m.af.hi;
    const unsigned t = a + v + carry;
    const unsigned k = CarryIndex8(a, v, t);
    m.af.hi = uint8_t(t);
    m.af.lo = uint8_t(halfCarryAdd[k & 7] | overflowAdd[k >> 4] | sz53[t & 0xFF] | (t >> 8));
    m.q = 1;
}

// SUB/SBC/NEG: as ADD with the borrow tables, and N set.
inline void Sub8(MachineState& m, uint8_t v, unsigned carry = 0) {
    const unsigned a = m.af.hi;
    const unsigned t = a - v - carry;
    const unsigned k = CarryIndex8(a, v, t);
    m.af.hi = uint8_t(t);
    m.af.lo = uint8_t(halfCarrySub[k & 7] | overflowSub[k >> 4] | sz53[t & 0xFF] | ((t >> 8) & 1) | kFlagN);
    m.q = 1;
}

// CP: a subtraction that keeps A; bits 3 and 5 come from the operand, not the result.
inline void Cp8(MachineState& m, uint8_t v) {
    const unsigned a = m.af.hi;
    const unsigned t = a - v;
    const unsigned k = CarryIndex8(a, v, t);
    m.af.lo = uint8_t(halfCarrySub[k & 7] | overflowSub[k >> 4] | (sz53[t & 0xFF] & ~(kFlag3 | kFlag5)) |
                      (v & (kFlag3 | kFlag5)) | ((t >> 8) & 1) | kFlagN);
    m.q = 1;
}

// AND sets H; AND, OR and XOR take S Z 5 3 and parity from the result and clear N and C.
inline void And8(MachineState& m, uint8_t v) {
    m.af.hi &= v;
    m.af.lo = sz53p[m.af.hi] | kFlagH;
    m.q = 1;
}
inline void Or8(MachineState& m, uint8_t v) {
    m.af.hi |= v;
    m.af.lo = sz53p[m.af.hi];
    m.q = 1;
}
inline void Xor8(MachineState& m, uint8_t v) {
    m.af.hi ^= v;
    m.af.lo = sz53p[m.af.hi];
    m.q = 1;
}

// The eight ALU operations in opcode order (bits 5-3 of 80-BF and C6-FE).
inline void Alu8(MachineState& m, unsigned op, uint8_t v) {
    switch (op) {
    case 0: Add8(m, v); break;
    case 1: Add8(m, v, m.af.lo & kFlagC); break;
    case 2: Sub8(m, v); break;
    case 3: Sub8(m, v, m.af.lo & kFlagC); break;
    case 4: And8(m, v); break;
    case 5: Xor8(m, v); break;
    case 6: Or8(m, v); break;
    default: Cp8(m, v); break;
    }
}

// INC r: C kept; V when the result is 0x80; H when the low nibble wrapped to 0.
inline uint8_t Inc8(MachineState& m, uint8_t v) {
    const uint8_t r = uint8_t(v + 1);
    m.af.lo = uint8_t((m.af.lo & kFlagC) | (r == 0x80 ? kFlagPV : 0) | ((r & 0x0F) == 0 ? kFlagH : 0) | sz53[r]);
    m.q = 1;
    return r;
}

// DEC r: C kept; N set; V when the result is 0x7F; H when the old low nibble was 0.
inline uint8_t Dec8(MachineState& m, uint8_t v) {
    const uint8_t r = uint8_t(v - 1);
    m.af.lo = uint8_t((m.af.lo & kFlagC) | ((v & 0x0F) == 0 ? kFlagH : 0) | kFlagN | sz53[r] |
                      (r == 0x7F ? kFlagPV : 0));
    m.q = 1;
    return r;
}

// ---------------------------------------------------------------------------------
// 16-bit arithmetic. The index is built from bits 11 (half carry) and 15 (overflow).

inline unsigned CarryIndex16(unsigned a, unsigned v, unsigned t) {
    return ((a & 0x8800) >> 11) | ((v & 0x8800) >> 10) | ((t & 0x8800) >> 9);
}

// ADD HL/IX/IY,rr: S Z P/V kept; H from bit 11; C from bit 16; 5 and 3 from the high byte.
inline void Add16(MachineState& m, uint16_t& dst, uint16_t v) {
    const unsigned t = unsigned(dst) + v;
    const unsigned k = CarryIndex16(dst, v, t);
    m.af.lo = uint8_t((m.af.lo & (kFlagS | kFlagZ | kFlagPV)) | (t >> 16) | ((t >> 8) & (kFlag5 | kFlag3)) |
                      halfCarryAdd[k & 7]);
    dst = uint16_t(t);
    m.q = 1;
}

// ADC HL,rr: every flag from the 16-bit result; S 5 3 from its high byte.
[[gnu::always_inline]] inline void Adc16(MachineState& m, uint16_t v) {
    const unsigned hl = m.hl.w;
    const unsigned t = hl + v + (m.af.lo & kFlagC);
    const unsigned k = CarryIndex16(hl, v, t);
    m.hl.w = uint16_t(t);
    m.af.lo = uint8_t(halfCarryAdd[k & 7] | overflowAdd[k >> 4] | (t >> 16) | (m.hl.hi & (kFlagS | kFlag5 | kFlag3)) |
                      (m.hl.w == 0 ? kFlagZ : 0));
    m.q = 1;
}

// SBC HL,rr: as ADC with the borrow tables and N set.
[[gnu::always_inline]] inline void Sbc16(MachineState& m, uint16_t v) {
    const unsigned hl = m.hl.w;
    const unsigned t = hl - v - (m.af.lo & kFlagC);
    const unsigned k = CarryIndex16(hl, v, t);
    m.hl.w = uint16_t(t);
    m.af.lo = uint8_t(halfCarrySub[k & 7] | overflowSub[k >> 4] | ((t >> 16) & 1) | kFlagN |
                      (m.hl.hi & (kFlagS | kFlag5 | kFlag3)) | (m.hl.w == 0 ? kFlagZ : 0));
    m.q = 1;
}

// ---------------------------------------------------------------------------------
// CB rotates and shifts: F = S Z 5 3 and parity of the result, C = the bit shifted out.

[[gnu::always_inline]] inline uint8_t ShiftFlags(MachineState& m, uint8_t r, unsigned out) {
    m.af.lo = uint8_t(sz53p[r] | out);
    m.q = 1;
    return r;
}

// kind = bits 5-3 of the CB opcode: RLC RRC RL RR SLA SRA SLL SRL.
[[gnu::always_inline]] inline uint8_t Shift8(MachineState& m, unsigned kind, uint8_t v) {
    const unsigned c = m.af.lo & kFlagC;
    switch (kind) {
    case 0: return ShiftFlags(m, uint8_t((v << 1) | (v >> 7)), v >> 7);
    case 1: return ShiftFlags(m, uint8_t((v >> 1) | (v << 7)), v & 1);
    case 2: return ShiftFlags(m, uint8_t((v << 1) | c), v >> 7);
    case 3: return ShiftFlags(m, uint8_t((v >> 1) | (c << 7)), v & 1);
    case 4: return ShiftFlags(m, uint8_t(v << 1), v >> 7);
    case 5: return ShiftFlags(m, uint8_t((v >> 1) | (v & 0x80)), v & 1);
    case 6: return ShiftFlags(m, uint8_t((v << 1) | 1), v >> 7); // SLL: a 1 enters bit 0
    default: return ShiftFlags(m, uint8_t(v >> 1), v & 1);
    }
}

// BIT n: Z and P/V when the bit is 0, S only for a set bit 7, H set, C kept. `xy` supplies
// bits 5 and 3: the register itself, or for memory operands the high byte of memptr.
// (The S Z P/V part is sz53p of the tested bit alone, without its bits 5 and 3.)
[[gnu::always_inline]] inline void Bit8(MachineState& m, unsigned n, uint8_t v, uint8_t xy) {
    const unsigned bit = v & (1u << n);
    const unsigned szp = bit ? (bit & kFlagS) : (kFlagZ | kFlagPV);
    m.af.lo = uint8_t((m.af.lo & kFlagC) | kFlagH | szp | (xy & (kFlag5 | kFlag3)));
    m.q = 1;
}

// ---------------------------------------------------------------------------------
// Conditions of JP/JR/CALL/RET cc, by the 3-bit code: NZ Z NC C PO PE P M.
inline bool Condition(uint8_t f, unsigned cc) {
    static constexpr uint8_t kMask[4] = {kFlagZ, kFlagC, kFlagPV, kFlagS};
    const bool set = (f & kMask[cc >> 1]) != 0;
    return (cc & 1) ? set : !set;
}

} // namespace z80

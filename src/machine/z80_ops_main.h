// The unprefixed Z80 opcodes: one switch over the opcode byte, each case doing its
// whole instruction and adding its whole Zilog T-state cost once. The CB, ED and DD/FD
// prefixes hand over to their own tables. Include z80_core.h, not this file.
#pragma once

#include <utility>

#include "machine/z80_ops_cb.h"
#include "machine/z80_ops_ed.h"
#include "machine/z80_ops_index.h"

namespace z80 {

// Conditional flow. Only a taken branch moves memptr (to the new pc).
template <class Bus> inline void JumpRelativeIf(MachineState& m, Bus& bus, bool take) {
    const uint8_t d = Imm8(m, bus);
    if (take) {
        m.pc = Displace(m.pc, d);
        m.memptr = m.pc;
        m.tstates += 12;
    } else {
        m.tstates += 7;
    }
}

template <class Bus> inline void JumpIf(MachineState& m, Bus& bus, bool take) {
    const uint16_t nn = Imm16(m, bus);
    if (take) m.pc = m.memptr = nn;
    m.tstates += 10;
}

template <class Bus> inline void CallIf(MachineState& m, Bus& bus, bool take) {
    const uint16_t nn = Imm16(m, bus);
    if (take) {
        Push(m, bus, m.pc);
        m.pc = m.memptr = nn;
        m.tstates += 17;
    } else {
        m.tstates += 10;
    }
}

template <class Bus> inline void ReturnIf(MachineState& m, Bus& bus, bool take) {
    if (take) {
        m.pc = m.memptr = Pop(m, bus);
        m.tstates += 11;
    } else {
        m.tstates += 5;
    }
}

template <class Bus> inline void Restart(MachineState& m, Bus& bus, uint16_t target) {
    Push(m, bus, m.pc);
    m.pc = m.memptr = target;
    m.tstates += 11;
}

// DAA: the correction (0x06, 0x60 or both) is added or, after a subtraction, subtracted
// with the full arithmetic flags; C is then the decimal carry and P/V the parity of A.
inline void DecimalAdjust(MachineState& m) {
    const uint8_t a = m.af.hi;
    unsigned carry = m.af.lo & kFlagC;
    uint8_t fix = 0;
    if ((m.af.lo & kFlagH) || (a & 0x0F) > 9) fix = 0x06;
    if (carry || a > 0x99) fix |= 0x60;
    if (a > 0x99) carry = 1;
    if (m.af.lo & kFlagN) Sub8(m, fix);
    else Add8(m, fix);
    m.af.lo = uint8_t((m.af.lo & ~(kFlagC | kFlagPV)) | carry | parity[m.af.hi]);
}

// SCF and CCF: bits 5 and 3 are A's when the previous instruction wrote F (q = 1), and
// A's ORed with the old F's when it did not.
inline uint8_t ScfCcfKeepMask(uint8_t lastQ) { return lastQ ? 0xC4 : 0xEC; }

template <class Bus> [[gnu::always_inline]] inline void ExecMain(MachineState& m, Bus& bus, uint8_t op) {
    uint8_t &A = m.af.hi, &F = m.af.lo, &B = m.bc.hi, &C = m.bc.lo;
    uint8_t &D = m.de.hi, &E = m.de.lo, &H = m.hl.hi, &L = m.hl.lo;
    uint32_t& T = m.tstates;
    // Every flag helper sets q; an instruction that writes no flag leaves it 0.
    const uint8_t lastQ = m.q;
    m.q = 0;

    switch (op) {
    case 0x00: T += 4; break; // NOP
    case 0x01: m.bc.w = Imm16(m, bus); T += 10; break; // LD BC,nn
    case 0x02: // LD (BC),A
        bus.Write(m.bc.w, A);
        m.memptr = uint16_t(((m.bc.w + 1) & 0xFF) | (A << 8));
        T += 7;
        break;
    case 0x03: m.bc.w++; T += 6; break;                 // INC BC
    case 0x04: B = Inc8(m, B); T += 4; break;           // INC B
    case 0x05: B = Dec8(m, B); T += 4; break;           // DEC B
    case 0x06: B = Imm8(m, bus); T += 7; break;         // LD B,n
    case 0x07: // RLCA: C and bits 5, 3 from the rotated A; S Z P/V kept
        A = uint8_t((A << 1) | (A >> 7));
        F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV)) | (A & (kFlag5 | kFlag3 | kFlagC)));
        m.q = 1;
        T += 4;
        break;
    case 0x08: std::swap(m.af.w, m.afAlt.w); T += 4; break; // EX AF,AF'
    case 0x09: Add16(m, m.hl.w, m.bc.w); T += 11; break; // ADD HL,BC
    case 0x0A: A = bus.Read(m.bc.w); m.memptr = uint16_t(m.bc.w + 1); T += 7; break; // LD A,(BC)
    case 0x0B: m.bc.w--; T += 6; break;                 // DEC BC
    case 0x0C: C = Inc8(m, C); T += 4; break;           // INC C
    case 0x0D: C = Dec8(m, C); T += 4; break;           // DEC C
    case 0x0E: C = Imm8(m, bus); T += 7; break;         // LD C,n
    case 0x0F: // RRCA
        F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV)) | (A & kFlagC));
        A = uint8_t((A >> 1) | (A << 7));
        F |= A & (kFlag5 | kFlag3);
        m.q = 1;
        T += 4;
        break;

    case 0x10: { // DJNZ e
        const uint8_t d = Imm8(m, bus);
        if (--B) {
            m.pc = m.memptr = Displace(m.pc, d);
            T += 13;
        } else {
            T += 8;
        }
        break;
    }
    case 0x11: m.de.w = Imm16(m, bus); T += 10; break; // LD DE,nn
    case 0x12: // LD (DE),A
        bus.Write(m.de.w, A);
        m.memptr = uint16_t(((m.de.w + 1) & 0xFF) | (A << 8));
        T += 7;
        break;
    case 0x13: m.de.w++; T += 6; break;                 // INC DE
    case 0x14: D = Inc8(m, D); T += 4; break;           // INC D
    case 0x15: D = Dec8(m, D); T += 4; break;           // DEC D
    case 0x16: D = Imm8(m, bus); T += 7; break;         // LD D,n
    case 0x17: { // RLA: the old carry enters bit 0
        const uint8_t out = A >> 7;
        A = uint8_t((A << 1) | (F & kFlagC));
        F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV)) | (A & (kFlag5 | kFlag3)) | out);
        m.q = 1;
        T += 4;
        break;
    }
    case 0x18: { // JR e
        const uint8_t d = Imm8(m, bus);
        m.pc = m.memptr = Displace(m.pc, d);
        T += 12;
        break;
    }
    case 0x19: Add16(m, m.hl.w, m.de.w); T += 11; break; // ADD HL,DE
    case 0x1A: A = bus.Read(m.de.w); m.memptr = uint16_t(m.de.w + 1); T += 7; break; // LD A,(DE)
    case 0x1B: m.de.w--; T += 6; break;                 // DEC DE
    case 0x1C: E = Inc8(m, E); T += 4; break;           // INC E
    case 0x1D: E = Dec8(m, E); T += 4; break;           // DEC E
    case 0x1E: E = Imm8(m, bus); T += 7; break;         // LD E,n
    case 0x1F: { // RRA: the old carry enters bit 7
        const uint8_t out = A & 1;
        A = uint8_t((A >> 1) | ((F & kFlagC) << 7));
        F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV)) | (A & (kFlag5 | kFlag3)) | out);
        m.q = 1;
        T += 4;
        break;
    }

    case 0x20: JumpRelativeIf(m, bus, !(F & kFlagZ)); break; // JR NZ,e
    case 0x21: m.hl.w = Imm16(m, bus); T += 10; break;       // LD HL,nn
    case 0x22: { // LD (nn),HL
        const uint16_t nn = Imm16(m, bus);
        WriteWord(bus, nn, m.hl.w);
        m.memptr = uint16_t(nn + 1);
        T += 16;
        break;
    }
    case 0x23: m.hl.w++; T += 6; break;                 // INC HL
    case 0x24: H = Inc8(m, H); T += 4; break;           // INC H
    case 0x25: H = Dec8(m, H); T += 4; break;           // DEC H
    case 0x26: H = Imm8(m, bus); T += 7; break;         // LD H,n
    case 0x27: DecimalAdjust(m); T += 4; break;         // DAA
    case 0x28: JumpRelativeIf(m, bus, F & kFlagZ); break; // JR Z,e
    case 0x29: Add16(m, m.hl.w, m.hl.w); T += 11; break; // ADD HL,HL
    case 0x2A: { // LD HL,(nn)
        const uint16_t nn = Imm16(m, bus);
        m.hl.w = ReadWord(bus, nn);
        m.memptr = uint16_t(nn + 1);
        T += 16;
        break;
    }
    case 0x2B: m.hl.w--; T += 6; break;                 // DEC HL
    case 0x2C: L = Inc8(m, L); T += 4; break;           // INC L
    case 0x2D: L = Dec8(m, L); T += 4; break;           // DEC L
    case 0x2E: L = Imm8(m, bus); T += 7; break;         // LD L,n
    case 0x2F: // CPL: H and N set, bits 5 and 3 from the new A
        A = uint8_t(~A);
        F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV | kFlagC)) | (A & (kFlag5 | kFlag3)) | kFlagH | kFlagN);
        m.q = 1;
        T += 4;
        break;

    case 0x30: JumpRelativeIf(m, bus, !(F & kFlagC)); break; // JR NC,e
    case 0x31: m.sp = Imm16(m, bus); T += 10; break;         // LD SP,nn
    case 0x32: { // LD (nn),A
        const uint16_t nn = Imm16(m, bus);
        bus.Write(nn, A);
        m.memptr = uint16_t(((nn + 1) & 0xFF) | (A << 8));
        T += 13;
        break;
    }
    case 0x33: m.sp++; T += 6; break; // INC SP
    case 0x34: bus.Write(m.hl.w, Inc8(m, bus.Read(m.hl.w))); T += 11; break; // INC (HL)
    case 0x35: bus.Write(m.hl.w, Dec8(m, bus.Read(m.hl.w))); T += 11; break; // DEC (HL)
    case 0x36: bus.Write(m.hl.w, Imm8(m, bus)); T += 10; break;              // LD (HL),n
    case 0x37: // SCF
        F = uint8_t((F & ScfCcfKeepMask(lastQ)) | kFlagC | (A & (kFlag5 | kFlag3)));
        m.q = 1;
        T += 4;
        break;
    case 0x38: JumpRelativeIf(m, bus, F & kFlagC); break; // JR C,e
    case 0x39: Add16(m, m.hl.w, m.sp); T += 11; break;    // ADD HL,SP
    case 0x3A: { // LD A,(nn)
        const uint16_t nn = Imm16(m, bus);
        A = bus.Read(nn);
        m.memptr = uint16_t(nn + 1);
        T += 13;
        break;
    }
    case 0x3B: m.sp--; T += 6; break;                 // DEC SP
    case 0x3C: A = Inc8(m, A); T += 4; break;         // INC A
    case 0x3D: A = Dec8(m, A); T += 4; break;         // DEC A
    case 0x3E: A = Imm8(m, bus); T += 7; break;       // LD A,n
    case 0x3F: // CCF: H takes the old carry, C is inverted
        F = uint8_t((F & ScfCcfKeepMask(lastQ)) | ((F & kFlagC) ? kFlagH : kFlagC) | (A & (kFlag5 | kFlag3)));
        m.q = 1;
        T += 4;
        break;

    case 0x76: // HALT: stay on the opcode, re-executed every step until an interrupt or NMI
        m.pc--;
        m.halted = 1;
        T += 4;
        break;

    // LD r,r' and LD r,(HL) / LD (HL),r
    case 0x40: T += 4; break; // LD B,B
    case 0x41: B = C; T += 4; break; // LD B,C
    case 0x42: B = D; T += 4; break; // LD B,D
    case 0x43: B = E; T += 4; break; // LD B,E
    case 0x44: B = H; T += 4; break; // LD B,H
    case 0x45: B = L; T += 4; break; // LD B,L
    case 0x46: B = bus.Read(m.hl.w); T += 7; break; // LD B,(HL)
    case 0x47: B = A; T += 4; break; // LD B,A
    case 0x48: C = B; T += 4; break; // LD C,B
    case 0x49: T += 4; break; // LD C,C
    case 0x4A: C = D; T += 4; break; // LD C,D
    case 0x4B: C = E; T += 4; break; // LD C,E
    case 0x4C: C = H; T += 4; break; // LD C,H
    case 0x4D: C = L; T += 4; break; // LD C,L
    case 0x4E: C = bus.Read(m.hl.w); T += 7; break; // LD C,(HL)
    case 0x4F: C = A; T += 4; break; // LD C,A
    case 0x50: D = B; T += 4; break; // LD D,B
    case 0x51: D = C; T += 4; break; // LD D,C
    case 0x52: T += 4; break; // LD D,D
    case 0x53: D = E; T += 4; break; // LD D,E
    case 0x54: D = H; T += 4; break; // LD D,H
    case 0x55: D = L; T += 4; break; // LD D,L
    case 0x56: D = bus.Read(m.hl.w); T += 7; break; // LD D,(HL)
    case 0x57: D = A; T += 4; break; // LD D,A
    case 0x58: E = B; T += 4; break; // LD E,B
    case 0x59: E = C; T += 4; break; // LD E,C
    case 0x5A: E = D; T += 4; break; // LD E,D
    case 0x5B: T += 4; break; // LD E,E
    case 0x5C: E = H; T += 4; break; // LD E,H
    case 0x5D: E = L; T += 4; break; // LD E,L
    case 0x5E: E = bus.Read(m.hl.w); T += 7; break; // LD E,(HL)
    case 0x5F: E = A; T += 4; break; // LD E,A
    case 0x60: H = B; T += 4; break; // LD H,B
    case 0x61: H = C; T += 4; break; // LD H,C
    case 0x62: H = D; T += 4; break; // LD H,D
    case 0x63: H = E; T += 4; break; // LD H,E
    case 0x64: T += 4; break; // LD H,H
    case 0x65: H = L; T += 4; break; // LD H,L
    case 0x66: H = bus.Read(m.hl.w); T += 7; break; // LD H,(HL)
    case 0x67: H = A; T += 4; break; // LD H,A
    case 0x68: L = B; T += 4; break; // LD L,B
    case 0x69: L = C; T += 4; break; // LD L,C
    case 0x6A: L = D; T += 4; break; // LD L,D
    case 0x6B: L = E; T += 4; break; // LD L,E
    case 0x6C: L = H; T += 4; break; // LD L,H
    case 0x6D: T += 4; break; // LD L,L
    case 0x6E: L = bus.Read(m.hl.w); T += 7; break; // LD L,(HL)
    case 0x6F: L = A; T += 4; break; // LD L,A
    case 0x70: bus.Write(m.hl.w, B); T += 7; break; // LD (HL),B
    case 0x71: bus.Write(m.hl.w, C); T += 7; break; // LD (HL),C
    case 0x72: bus.Write(m.hl.w, D); T += 7; break; // LD (HL),D
    case 0x73: bus.Write(m.hl.w, E); T += 7; break; // LD (HL),E
    case 0x74: bus.Write(m.hl.w, H); T += 7; break; // LD (HL),H
    case 0x75: bus.Write(m.hl.w, L); T += 7; break; // LD (HL),L
    case 0x77: bus.Write(m.hl.w, A); T += 7; break; // LD (HL),A
    case 0x78: A = B; T += 4; break; // LD A,B
    case 0x79: A = C; T += 4; break; // LD A,C
    case 0x7A: A = D; T += 4; break; // LD A,D
    case 0x7B: A = E; T += 4; break; // LD A,E
    case 0x7C: A = H; T += 4; break; // LD A,H
    case 0x7D: A = L; T += 4; break; // LD A,L
    case 0x7E: A = bus.Read(m.hl.w); T += 7; break; // LD A,(HL)
    case 0x7F: T += 4; break; // LD A,A

    // 8-bit arithmetic and logic on A
    case 0x80: Add8(m, B); T += 4; break; // ADD A,B
    case 0x81: Add8(m, C); T += 4; break; // ADD A,C
    case 0x82: Add8(m, D); T += 4; break; // ADD A,D
    case 0x83: Add8(m, E); T += 4; break; // ADD A,E
    case 0x84: Add8(m, H); T += 4; break; // ADD A,H
    case 0x85: Add8(m, L); T += 4; break; // ADD A,L
    case 0x86: Add8(m, bus.Read(m.hl.w)); T += 7; break; // ADD A,(HL)
    case 0x87: Add8(m, A); T += 4; break; // ADD A,A
    case 0x88: Add8(m, B, F & kFlagC); T += 4; break; // ADC A,B
    case 0x89: Add8(m, C, F & kFlagC); T += 4; break; // ADC A,C
    case 0x8A: Add8(m, D, F & kFlagC); T += 4; break; // ADC A,D
    case 0x8B: Add8(m, E, F & kFlagC); T += 4; break; // ADC A,E
    case 0x8C: Add8(m, H, F & kFlagC); T += 4; break; // ADC A,H
    case 0x8D: Add8(m, L, F & kFlagC); T += 4; break; // ADC A,L
    case 0x8E: Add8(m, bus.Read(m.hl.w), F & kFlagC); T += 7; break; // ADC A,(HL)
    case 0x8F: Add8(m, A, F & kFlagC); T += 4; break; // ADC A,A
    case 0x90: Sub8(m, B); T += 4; break; // SUB B
    case 0x91: Sub8(m, C); T += 4; break; // SUB C
    case 0x92: Sub8(m, D); T += 4; break; // SUB D
    case 0x93: Sub8(m, E); T += 4; break; // SUB E
    case 0x94: Sub8(m, H); T += 4; break; // SUB H
    case 0x95: Sub8(m, L); T += 4; break; // SUB L
    case 0x96: Sub8(m, bus.Read(m.hl.w)); T += 7; break; // SUB (HL)
    case 0x97: Sub8(m, A); T += 4; break; // SUB A
    case 0x98: Sub8(m, B, F & kFlagC); T += 4; break; // SBC A,B
    case 0x99: Sub8(m, C, F & kFlagC); T += 4; break; // SBC A,C
    case 0x9A: Sub8(m, D, F & kFlagC); T += 4; break; // SBC A,D
    case 0x9B: Sub8(m, E, F & kFlagC); T += 4; break; // SBC A,E
    case 0x9C: Sub8(m, H, F & kFlagC); T += 4; break; // SBC A,H
    case 0x9D: Sub8(m, L, F & kFlagC); T += 4; break; // SBC A,L
    case 0x9E: Sub8(m, bus.Read(m.hl.w), F & kFlagC); T += 7; break; // SBC A,(HL)
    case 0x9F: Sub8(m, A, F & kFlagC); T += 4; break; // SBC A,A
    case 0xA0: And8(m, B); T += 4; break; // AND B
    case 0xA1: And8(m, C); T += 4; break; // AND C
    case 0xA2: And8(m, D); T += 4; break; // AND D
    case 0xA3: And8(m, E); T += 4; break; // AND E
    case 0xA4: And8(m, H); T += 4; break; // AND H
    case 0xA5: And8(m, L); T += 4; break; // AND L
    case 0xA6: And8(m, bus.Read(m.hl.w)); T += 7; break; // AND (HL)
    case 0xA7: And8(m, A); T += 4; break; // AND A
    case 0xA8: Xor8(m, B); T += 4; break; // XOR B
    case 0xA9: Xor8(m, C); T += 4; break; // XOR C
    case 0xAA: Xor8(m, D); T += 4; break; // XOR D
    case 0xAB: Xor8(m, E); T += 4; break; // XOR E
    case 0xAC: Xor8(m, H); T += 4; break; // XOR H
    case 0xAD: Xor8(m, L); T += 4; break; // XOR L
    case 0xAE: Xor8(m, bus.Read(m.hl.w)); T += 7; break; // XOR (HL)
    case 0xAF: Xor8(m, A); T += 4; break; // XOR A
    case 0xB0: Or8(m, B); T += 4; break; // OR B
    case 0xB1: Or8(m, C); T += 4; break; // OR C
    case 0xB2: Or8(m, D); T += 4; break; // OR D
    case 0xB3: Or8(m, E); T += 4; break; // OR E
    case 0xB4: Or8(m, H); T += 4; break; // OR H
    case 0xB5: Or8(m, L); T += 4; break; // OR L
    case 0xB6: Or8(m, bus.Read(m.hl.w)); T += 7; break; // OR (HL)
    case 0xB7: Or8(m, A); T += 4; break; // OR A
    case 0xB8: Cp8(m, B); T += 4; break; // CP B
    case 0xB9: Cp8(m, C); T += 4; break; // CP C
    case 0xBA: Cp8(m, D); T += 4; break; // CP D
    case 0xBB: Cp8(m, E); T += 4; break; // CP E
    case 0xBC: Cp8(m, H); T += 4; break; // CP H
    case 0xBD: Cp8(m, L); T += 4; break; // CP L
    case 0xBE: Cp8(m, bus.Read(m.hl.w)); T += 7; break; // CP (HL)
    case 0xBF: Cp8(m, A); T += 4; break; // CP A

    case 0xC0: ReturnIf(m, bus, !(F & kFlagZ)); break; // RET NZ
    case 0xC1: m.bc.w = Pop(m, bus); T += 10; break;  // POP BC
    case 0xC2: JumpIf(m, bus, !(F & kFlagZ)); break;   // JP NZ,nn
    case 0xC3: m.pc = m.memptr = Imm16(m, bus); T += 10; break; // JP nn
    case 0xC4: CallIf(m, bus, !(F & kFlagZ)); break;   // CALL NZ,nn
    case 0xC5: Push(m, bus, m.bc.w); T += 11; break;  // PUSH BC
    case 0xC6: Add8(m, Imm8(m, bus)); T += 7; break;  // ADD A,n
    case 0xC7: Restart(m, bus, 0x00); break;          // RST 00
    case 0xC8: ReturnIf(m, bus, F & kFlagZ); break;   // RET Z
    case 0xC9: m.pc = m.memptr = Pop(m, bus); T += 10; break; // RET
    case 0xCA: JumpIf(m, bus, F & kFlagZ); break;     // JP Z,nn
    case 0xCB: ExecCb(m, bus); break;
    case 0xCC: CallIf(m, bus, F & kFlagZ); break;     // CALL Z,nn
    case 0xCD: CallIf(m, bus, true); break;           // CALL nn
    case 0xCE: Add8(m, Imm8(m, bus), F & kFlagC); T += 7; break; // ADC A,n
    case 0xCF: Restart(m, bus, 0x08); break;          // RST 08

    case 0xD0: ReturnIf(m, bus, !(F & kFlagC)); break; // RET NC
    case 0xD1: m.de.w = Pop(m, bus); T += 10; break;  // POP DE
    case 0xD2: JumpIf(m, bus, !(F & kFlagC)); break;   // JP NC,nn
    case 0xD3: { // OUT (n),A: A supplies the high byte of the port address
        const uint8_t n = Imm8(m, bus);
        bus.Out(uint16_t((A << 8) | n), A);
        m.memptr = uint16_t(((n + 1) & 0xFF) | (A << 8));
        T += 11;
        break;
    }
    case 0xD4: CallIf(m, bus, !(F & kFlagC)); break;   // CALL NC,nn
    case 0xD5: Push(m, bus, m.de.w); T += 11; break;  // PUSH DE
    case 0xD6: Sub8(m, Imm8(m, bus)); T += 7; break;  // SUB n
    case 0xD7: Restart(m, bus, 0x10); break;          // RST 10
    case 0xD8: ReturnIf(m, bus, F & kFlagC); break;   // RET C
    case 0xD9: // EXX
        std::swap(m.bc.w, m.bcAlt.w);
        std::swap(m.de.w, m.deAlt.w);
        std::swap(m.hl.w, m.hlAlt.w);
        T += 4;
        break;
    case 0xDA: JumpIf(m, bus, F & kFlagC); break;     // JP C,nn
    case 0xDB: { // IN A,(n): no flags
        const uint16_t port = uint16_t((A << 8) | Imm8(m, bus));
        m.memptr = uint16_t(port + 1);
        A = bus.In(port);
        T += 11;
        break;
    }
    case 0xDC: CallIf(m, bus, F & kFlagC); break;     // CALL C,nn
    case 0xDD: ExecIndexed(m, bus, m.ix, lastQ); break;
    case 0xDE: Sub8(m, Imm8(m, bus), F & kFlagC); T += 7; break; // SBC A,n
    case 0xDF: Restart(m, bus, 0x18); break;          // RST 18

    case 0xE0: ReturnIf(m, bus, !(F & kFlagPV)); break; // RET PO
    case 0xE1: m.hl.w = Pop(m, bus); T += 10; break;   // POP HL
    case 0xE2: JumpIf(m, bus, !(F & kFlagPV)); break;   // JP PO,nn
    case 0xE3: ExchangeWithStack(m, bus, m.hl.w); T += 19; break; // EX (SP),HL
    case 0xE4: CallIf(m, bus, !(F & kFlagPV)); break;   // CALL PO,nn
    case 0xE5: Push(m, bus, m.hl.w); T += 11; break;   // PUSH HL
    case 0xE6: And8(m, Imm8(m, bus)); T += 7; break;   // AND n
    case 0xE7: Restart(m, bus, 0x20); break;           // RST 20
    case 0xE8: ReturnIf(m, bus, F & kFlagPV); break;   // RET PE
    case 0xE9: m.pc = m.hl.w; T += 4; break;           // JP (HL)
    case 0xEA: JumpIf(m, bus, F & kFlagPV); break;     // JP PE,nn
    case 0xEB: std::swap(m.de.w, m.hl.w); T += 4; break; // EX DE,HL
    case 0xEC: CallIf(m, bus, F & kFlagPV); break;     // CALL PE,nn
    case 0xED: ExecEd(m, bus, lastQ); break;
    case 0xEE: Xor8(m, Imm8(m, bus)); T += 7; break;   // XOR n
    case 0xEF: Restart(m, bus, 0x28); break;           // RST 28

    case 0xF0: ReturnIf(m, bus, !(F & kFlagS)); break; // RET P
    case 0xF1: m.af.w = Pop(m, bus); T += 10; break;  // POP AF: a register load, not a flag result
    case 0xF2: JumpIf(m, bus, !(F & kFlagS)); break;   // JP P,nn
    case 0xF3: m.iff1 = m.iff2 = 0; T += 4; break;    // DI
    case 0xF4: CallIf(m, bus, !(F & kFlagS)); break;   // CALL P,nn
    case 0xF5: Push(m, bus, m.af.w); T += 11; break;  // PUSH AF
    case 0xF6: Or8(m, Imm8(m, bus)); T += 7; break;   // OR n
    case 0xF7: Restart(m, bus, 0x30); break;          // RST 30
    case 0xF8: ReturnIf(m, bus, F & kFlagS); break;   // RET M
    case 0xF9: m.sp = m.hl.w; T += 6; break;          // LD SP,HL
    case 0xFA: JumpIf(m, bus, F & kFlagS); break;     // JP M,nn
    case 0xFB: // EI: no interrupt before the next instruction has run
        m.iff1 = m.iff2 = 1;
        m.eiDelay = 1;
        T += 4;
        break;
    case 0xFC: CallIf(m, bus, F & kFlagS); break;     // CALL M,nn
    case 0xFD: ExecIndexed(m, bus, m.iy, lastQ); break;
    case 0xFE: Cp8(m, Imm8(m, bus)); T += 7; break;   // CP n
    case 0xFF: Restart(m, bus, 0x38); break;          // RST 38
    }
}

} // namespace z80

// The ED-prefixed Z80 opcodes: port I/O through C, 16-bit ADC/SBC and loads, NEG,
// RETN/RETI, IM, the I and R transfers, RRD/RLD, the block instructions, and the three
// trap opcodes through which the tape deck takes over the ROM's tape routines
// (ED FC load, ED FD save, ED FE reserved). Every other ED opcode is an 8-T-state NOP.
// Include z80_core.h, not this file.
#pragma once

#include "machine/z80_alu.h"

namespace z80 {

// LD (nn),rr and LD rr,(nn), the ED forms: memptr is nn + 1.
template <class Bus> [[gnu::always_inline]] inline void StorePair(MachineState& m, Bus& bus, uint16_t rr) {
    const uint16_t nn = Imm16(m, bus);
    WriteWord(bus, nn, rr);
    m.memptr = uint16_t(nn + 1);
    m.tstates += 20;
}
template <class Bus> [[gnu::always_inline]] inline void LoadPair(MachineState& m, Bus& bus, uint16_t& rr) {
    const uint16_t nn = Imm16(m, bus);
    rr = ReadWord(bus, nn);
    m.memptr = uint16_t(nn + 1);
    m.tstates += 20;
}

// IN r,(C) / IN (C): C kept, S Z 5 3 and parity from the byte read.
template <class Bus> inline uint8_t InFromC(MachineState& m, Bus& bus) {
    const uint8_t v = bus.In(m.bc.w);
    m.memptr = uint16_t(m.bc.w + 1);
    m.af.lo = uint8_t((m.af.lo & kFlagC) | sz53p[v]);
    m.q = 1;
    return v;
}

// RLD (left) and RRD (right) rotate nibbles between A's low half and (HL).
template <class Bus> inline void RotateDigit(MachineState& m, Bus& bus, bool left) {
    const uint8_t v = bus.Read(m.hl.w);
    uint8_t& a = m.af.hi;
    if (left) {
        bus.Write(m.hl.w, uint8_t((v << 4) | (a & 0x0F)));
        a = uint8_t((a & 0xF0) | (v >> 4));
    } else {
        bus.Write(m.hl.w, uint8_t((a << 4) | (v >> 4)));
        a = uint8_t((a & 0xF0) | (v & 0x0F));
    }
    m.af.lo = uint8_t((m.af.lo & kFlagC) | sz53p[a]);
    m.memptr = uint16_t(m.hl.w + 1);
    m.q = 1;
    m.tstates += 18;
}

// A repeating block instruction whose condition still holds runs again: pc goes back
// onto the ED byte and the pass costs 21 instead of 16.
inline void RepeatBlock(MachineState& m) {
    m.pc -= 2;
    m.tstates += 21;
}

// LDI/LDD/LDIR/LDDR. Bits 5 and 3 come from bits 1 and 3 of (byte + A); P/V says BC != 0.
template <class Bus> inline void BlockLoad(MachineState& m, Bus& bus, int step, bool repeat) {
    const uint8_t v = bus.Read(m.hl.w);
    bus.Write(m.de.w, v);
    m.hl.w = uint16_t(m.hl.w + step);
    m.de.w = uint16_t(m.de.w + step);
    m.bc.w--;
    const uint8_t n = uint8_t(v + m.af.hi);
    m.af.lo = uint8_t((m.af.lo & (kFlagS | kFlagZ | kFlagC)) | (m.bc.w ? kFlagPV : 0) | (n & kFlag3) |
                      ((n & 0x02) ? kFlag5 : 0));
    m.q = 1;
    if (repeat && m.bc.w) {
        RepeatBlock(m);
        m.memptr = uint16_t(m.pc + 1);
    } else {
        m.tstates += 16;
    }
}

// CPI/CPD/CPIR/CPDR: a compare that keeps C; bits 5 and 3 from A - byte - H.
template <class Bus> inline void BlockCompare(MachineState& m, Bus& bus, int step, bool repeat) {
    const uint8_t a = m.af.hi;
    const uint8_t v = bus.Read(m.hl.w);
    uint8_t n = uint8_t(a - v);
    const unsigned k = ((a & 0x08) >> 3) | ((v & 0x08) >> 2) | ((n & 0x08) >> 1);
    m.hl.w = uint16_t(m.hl.w + step);
    m.bc.w--;
    uint8_t f = uint8_t((m.af.lo & kFlagC) | kFlagN | (m.bc.w ? kFlagPV : 0) | halfCarrySub[k] | (n == 0 ? kFlagZ : 0) |
                        (n & kFlagS));
    if (f & kFlagH) n--;
    f |= uint8_t((n & kFlag3) | ((n & 0x02) ? kFlag5 : 0));
    m.af.lo = f;
    m.q = 1;
    m.memptr = uint16_t(m.memptr + step);
    if (repeat && m.bc.w && !(f & kFlagZ)) {
        RepeatBlock(m);
        m.memptr = uint16_t(m.pc + 1);
    } else {
        m.tstates += 16;
    }
}

// Flags shared by the block input and output instructions, from the byte moved, the
// sum k that the processor forms internally, and B after its decrement.
inline void BlockIoFlags(MachineState& m, uint8_t v, unsigned k) {
    const uint8_t b = m.bc.hi;
    m.af.lo = uint8_t(((v & 0x80) ? kFlagN : 0) | (k > 255 ? (kFlagH | kFlagC) : 0) | parity[(k & 7) ^ b] | sz53[b]);
    m.q = 1;
}

// INI/IND/INIR/INDR: the port is read with the B before the decrement.
template <class Bus> inline void BlockIn(MachineState& m, Bus& bus, int step, bool repeat) {
    const uint8_t v = bus.In(m.bc.w);
    m.memptr = uint16_t(m.bc.w + step);
    bus.Write(m.hl.w, v);
    m.bc.hi--;
    m.hl.w = uint16_t(m.hl.w + step);
    BlockIoFlags(m, v, unsigned(v) + uint8_t(m.bc.lo + step));
    if (repeat && m.bc.hi) RepeatBlock(m);
    else m.tstates += 16;
}

// OUTI/OUTD/OTIR/OTDR: B is decremented before it appears on the port address.
template <class Bus> inline void BlockOut(MachineState& m, Bus& bus, int step, bool repeat) {
    const uint8_t v = bus.Read(m.hl.w);
    m.bc.hi--;
    bus.Out(m.bc.w, v);
    m.memptr = uint16_t(m.bc.w + step);
    m.hl.w = uint16_t(m.hl.w + step);
    BlockIoFlags(m, v, unsigned(v) + m.hl.lo);
    if (repeat && m.bc.hi) RepeatBlock(m);
    else m.tstates += 16;
}

// The ED opcode `op`, both bytes fetched. `lastQ` is q from before this instruction:
// the trap opcodes leave it.
template <class Bus> [[gnu::always_inline]] inline void ExecEdOpcode(MachineState& m, Bus& bus, uint8_t op, uint8_t lastQ) {
    uint8_t &A = m.af.hi, &F = m.af.lo;
    uint32_t& T = m.tstates;

    switch (op) {
    // IN r,(C) and IN (C), whose byte only sets the flags
    case 0x40: case 0x48: case 0x50: case 0x58: case 0x60: case 0x68: case 0x78:
        Reg8(m, (op >> 3) & 7) = InFromC(m, bus);
        T += 12;
        break;
    case 0x70: InFromC(m, bus); T += 12; break;

    // OUT (C),r and OUT (C),0
    case 0x41: case 0x49: case 0x51: case 0x59: case 0x61: case 0x69: case 0x79:
        bus.Out(m.bc.w, Reg8(m, (op >> 3) & 7));
        m.memptr = uint16_t(m.bc.w + 1);
        T += 12;
        break;
    case 0x71:
        bus.Out(m.bc.w, 0);
        m.memptr = uint16_t(m.bc.w + 1);
        T += 12;
        break;

    // SBC HL,rr / ADC HL,rr / LD (nn),rr / LD rr,(nn), one case each so the pair is fixed
    case 0x42: Sbc16(m, m.bc.w); T += 15; break;
    case 0x52: Sbc16(m, m.de.w); T += 15; break;
    case 0x62: Sbc16(m, m.hl.w); T += 15; break;
    case 0x72: Sbc16(m, m.sp); T += 15; break;
    case 0x4A: Adc16(m, m.bc.w); T += 15; break;
    case 0x5A: Adc16(m, m.de.w); T += 15; break;
    case 0x6A: Adc16(m, m.hl.w); T += 15; break;
    case 0x7A: Adc16(m, m.sp); T += 15; break;
    case 0x43: StorePair(m, bus, m.bc.w); break;
    case 0x53: StorePair(m, bus, m.de.w); break;
    case 0x63: StorePair(m, bus, m.hl.w); break;
    case 0x73: StorePair(m, bus, m.sp); break;
    case 0x4B: LoadPair(m, bus, m.bc.w); break;
    case 0x5B: LoadPair(m, bus, m.de.w); break;
    case 0x6B: LoadPair(m, bus, m.hl.w); break;
    case 0x7B: LoadPair(m, bus, m.sp); break;

    case 0x44: case 0x4C: case 0x54: case 0x5C: case 0x64: case 0x6C: case 0x74: case 0x7C: { // NEG
        const uint8_t v = A;
        A = 0;
        Sub8(m, v);
        T += 8;
        break;
    }

    // RETN and RETI (the same here): restore IFF1 from IFF2 and return
    case 0x45: case 0x4D: case 0x55: case 0x5D: case 0x65: case 0x6D: case 0x75: case 0x7D:
        m.iff1 = m.iff2;
        m.pc = m.memptr = Pop(m, bus);
        T += 14;
        break;

    case 0x46: case 0x4E: case 0x66: case 0x6E: m.im = 0; T += 8; break;
    case 0x56: case 0x76: m.im = 1; T += 8; break;
    case 0x5E: case 0x7E: m.im = 2; T += 8; break;

    case 0x47: m.i = A; T += 9; break; // LD I,A
    case 0x4F: m.r7 = m.r = A; T += 9; break; // LD R,A: bit 7 of R now stays as written
    case 0x57: // LD A,I: P/V shows IFF2
        A = m.i;
        F = uint8_t((F & kFlagC) | sz53[A] | (m.iff2 ? kFlagPV : 0));
        m.q = 1;
        T += 9;
        break;
    case 0x5F: // LD A,R: the refresh counter's low 7 bits with bit 7 as last written
        A = uint8_t((m.r7 & 0x80) | (m.r & 0x7F));
        F = uint8_t((F & kFlagC) | sz53[A] | (m.iff2 ? kFlagPV : 0));
        m.q = 1;
        T += 9;
        break;

    case 0x67: RotateDigit(m, bus, false); break; // RRD
    case 0x6F: RotateDigit(m, bus, true); break;  // RLD

    case 0xA0: BlockLoad(m, bus, +1, false); break;    // LDI
    case 0xA8: BlockLoad(m, bus, -1, false); break;    // LDD
    case 0xB0: BlockLoad(m, bus, +1, true); break;     // LDIR
    case 0xB8: BlockLoad(m, bus, -1, true); break;     // LDDR
    case 0xA1: BlockCompare(m, bus, +1, false); break; // CPI
    case 0xA9: BlockCompare(m, bus, -1, false); break; // CPD
    case 0xB1: BlockCompare(m, bus, +1, true); break;  // CPIR
    case 0xB9: BlockCompare(m, bus, -1, true); break;  // CPDR
    case 0xA2: BlockIn(m, bus, +1, false); break;      // INI
    case 0xAA: BlockIn(m, bus, -1, false); break;      // IND
    case 0xB2: BlockIn(m, bus, +1, true); break;       // INIR
    case 0xBA: BlockIn(m, bus, -1, true); break;       // INDR
    case 0xA3: BlockOut(m, bus, +1, false); break;     // OUTI
    case 0xAB: BlockOut(m, bus, -1, false); break;     // OUTD
    case 0xB3: BlockOut(m, bus, +1, true); break;      // OTIR
    case 0xBB: BlockOut(m, bus, -1, true); break;      // OTDR

    // The tape traps planted in the ROM image cost nothing and leave q as it was.
    case 0xFC: // load: only with a tape in the deck; the ROM's loader returns with C set
        if (bus.LoadTrap()) F = uint8_t((F & (kFlagS | kFlagZ | kFlagPV)) | kFlagC | (A & (kFlag5 | kFlag3)));
        m.q = lastQ;
        break;
    case 0xFD: bus.SaveTrap(); m.q = lastQ; break; // save: DE bytes from HL
    case 0xFE: m.q = lastQ; break;                 // reserved

    default: T += 8; break; // undefined: an 8-T-state NOP
    }
}

// Entered with the ED byte fetched; fetches the second opcode byte (one more M1).
template <class Bus> inline void ExecEd(MachineState& m, Bus& bus, uint8_t lastQ) {
    const uint8_t op = bus.Fetch(m.pc++);
    m.r++;
    ExecEdOpcode(m, bus, op, lastQ);
}

} // namespace z80

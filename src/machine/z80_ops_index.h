// The DD- and FD-prefixed Z80 opcodes: HL replaced by IX or IY, H and L by the index
// register's halves (undocumented IXH/IXL/IYH/IYL forms), (HL) by (IX+d)/(IY+d), and
// the DDCB/FDCB bit instructions with their undocumented register copies.
//
// A prefix in front of an opcode that it does not modify does nothing by itself: the
// opcode byte is handed back (pc and R step back), no T-states are counted, q stays,
// and `prefixDelay` holds off interrupts until that opcode has run in the next step.
// Include z80_core.h, not this file.
#pragma once

#include "machine/z80_alu.h"

namespace z80 {

// (IX+d): reads the displacement operand; every indexed access leaves WZ on the address.
template <class Bus> inline uint16_t IndexedAddress(MachineState& m, Bus& bus, const RegPair& xy) {
    const uint16_t a = Displace(xy.w, Imm8(m, bus));
    m.memptr = a;
    return a;
}

// DDCB d op / FDCB d op: the displacement and operation bytes come straight from the page
// table without M1 cycles, so R does not count them. Rotates, shifts, RES and SET also
// copy their result into the register named by bits 2-0 (B C D E H L - A).
template <class Bus> inline void ExecIndexedCb(MachineState& m, Bus& bus, const RegPair& xy) {
    const uint16_t a = Displace(xy.w, bus.Fetch(m.pc++));
    const uint8_t op = bus.Fetch(m.pc++);
    m.memptr = a;
    const unsigned y = (op >> 3) & 7;
    const uint8_t v = bus.Read(a);
    uint8_t result;
    switch (op >> 6) {
    case 0: result = Shift8(m, y, v); break;
    case 1: // BIT n,(IX+d): bits 5 and 3 from the high byte of the address
        Bit8(m, y, v, uint8_t(a >> 8));
        m.tstates += 20;
        return;
    case 2: result = uint8_t(v & ~(1u << y)); break;
    default: result = uint8_t(v | (1u << y)); break;
    }
    bus.Write(a, result);
    if ((op & 7) != 6) Reg8(m, op & 7) = result;
    m.tstates += 23;
}

// Entered with the DD or FD byte fetched; `xy` is IX or IY. Fetches the opcode byte (one
// more M1). `lastQ` is q from before the prefix, restored when the prefix stands alone.
template <class Bus> inline void ExecIndexed(MachineState& m, Bus& bus, RegPair& xy, uint8_t lastQ) {
    const uint8_t op = bus.Fetch(m.pc++);
    m.r++;
    uint32_t& T = m.tstates;

    switch (op) {
    case 0x09: Add16(m, xy.w, m.bc.w); T += 15; break; // ADD IX,BC
    case 0x19: Add16(m, xy.w, m.de.w); T += 15; break; // ADD IX,DE
    case 0x29: Add16(m, xy.w, xy.w); T += 15; break;   // ADD IX,IX
    case 0x39: Add16(m, xy.w, m.sp); T += 15; break;   // ADD IX,SP

    case 0x21: xy.w = Imm16(m, bus); T += 14; break; // LD IX,nn
    case 0x22: { // LD (nn),IX
        const uint16_t nn = Imm16(m, bus);
        WriteWord(bus, nn, xy.w);
        m.memptr = uint16_t(nn + 1);
        T += 20;
        break;
    }
    case 0x2A: { // LD IX,(nn)
        const uint16_t nn = Imm16(m, bus);
        xy.w = ReadWord(bus, nn);
        m.memptr = uint16_t(nn + 1);
        T += 20;
        break;
    }
    case 0x23: xy.w++; T += 10; break; // INC IX
    case 0x2B: xy.w--; T += 10; break; // DEC IX

    case 0x24: xy.hi = Inc8(m, xy.hi); T += 8; break;     // INC IXH
    case 0x25: xy.hi = Dec8(m, xy.hi); T += 8; break;     // DEC IXH
    case 0x2C: xy.lo = Inc8(m, xy.lo); T += 8; break;     // INC IXL
    case 0x2D: xy.lo = Dec8(m, xy.lo); T += 8; break;     // DEC IXL
    case 0x26: xy.hi = Imm8(m, bus); T += 11; break;      // LD IXH,n
    case 0x2E: xy.lo = Imm8(m, bus); T += 11; break;      // LD IXL,n

    case 0x34: { // INC (IX+d)
        const uint16_t a = IndexedAddress(m, bus, xy);
        bus.Write(a, Inc8(m, bus.Read(a)));
        T += 23;
        break;
    }
    case 0x35: { // DEC (IX+d)
        const uint16_t a = IndexedAddress(m, bus, xy);
        bus.Write(a, Dec8(m, bus.Read(a)));
        T += 23;
        break;
    }
    case 0x36: { // LD (IX+d),n: the displacement comes before the immediate
        const uint16_t a = IndexedAddress(m, bus, xy);
        bus.Write(a, Imm8(m, bus));
        T += 19;
        break;
    }

    // LD between registers where H/L mean IXH/IXL
    case 0x44: case 0x45: case 0x4C: case 0x4D: case 0x54: case 0x55: case 0x5C: case 0x5D:
    case 0x60: case 0x61: case 0x62: case 0x63: case 0x64: case 0x65: case 0x67:
    case 0x68: case 0x69: case 0x6A: case 0x6B: case 0x6C: case 0x6D: case 0x6F:
    case 0x7C: case 0x7D:
        IndexReg8(m, xy, (op >> 3) & 7) = IndexReg8(m, xy, op & 7);
        T += 8;
        break;

    // LD r,(IX+d) and LD (IX+d),r: here H and L stay H and L
    case 0x46: case 0x4E: case 0x56: case 0x5E: case 0x66: case 0x6E: case 0x7E: {
        const uint16_t a = IndexedAddress(m, bus, xy);
        Reg8(m, (op >> 3) & 7) = bus.Read(a);
        T += 19;
        break;
    }
    case 0x70: case 0x71: case 0x72: case 0x73: case 0x74: case 0x75: case 0x77: {
        const uint16_t a = IndexedAddress(m, bus, xy);
        bus.Write(a, Reg8(m, op & 7));
        T += 19;
        break;
    }

    // 8-bit arithmetic with IXH/IXL or (IX+d)
    case 0x84: case 0x85: case 0x8C: case 0x8D: case 0x94: case 0x95: case 0x9C: case 0x9D:
    case 0xA4: case 0xA5: case 0xAC: case 0xAD: case 0xB4: case 0xB5: case 0xBC: case 0xBD:
        Alu8(m, (op >> 3) & 7, IndexReg8(m, xy, op & 7));
        T += 8;
        break;
    case 0x86: case 0x8E: case 0x96: case 0x9E: case 0xA6: case 0xAE: case 0xB6: case 0xBE: {
        const uint16_t a = IndexedAddress(m, bus, xy);
        Alu8(m, (op >> 3) & 7, bus.Read(a));
        T += 19;
        break;
    }

    case 0xCB: ExecIndexedCb(m, bus, xy); break;

    case 0xE1: xy.w = Pop(m, bus); T += 14; break;                   // POP IX
    case 0xE3: ExchangeWithStack(m, bus, xy.w); T += 23; break;      // EX (SP),IX
    case 0xE5: Push(m, bus, xy.w); T += 15; break;                   // PUSH IX
    case 0xE9: m.pc = xy.w; T += 8; break;                           // JP (IX)
    case 0xF9: m.sp = xy.w; T += 10; break;                          // LD SP,IX

    default: // a lone prefix: hand the opcode back to the next step
        m.pc--;
        m.r--;
        m.prefixDelay = 1;
        m.q = lastQ;
        break;
    }
}

} // namespace z80

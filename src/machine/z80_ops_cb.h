// The CB-prefixed Z80 opcodes: rotates and shifts (including the undocumented SLL),
// BIT, RES and SET on the eight operands. The opcode decodes as bits 7-6 group,
// bits 5-3 shift kind or bit number, bits 2-0 operand (B C D E H L (HL) A).
// Include z80_core.h, not this file.
#pragma once

#include "machine/z80_alu.h"

namespace z80 {

// Entered with the CB byte fetched; fetches the second opcode byte (one more M1).
template <class Bus> inline void ExecCb(MachineState& m, Bus& bus) {
    const uint8_t op = bus.Fetch(m.pc++);
    m.r++;
    const unsigned y = (op >> 3) & 7;
    const unsigned code = op & 7;

    if (code == 6) {
        const uint16_t a = m.hl.w;
        const uint8_t v = bus.Read(a);
        switch (op >> 6) {
        case 0: bus.Write(a, Shift8(m, y, v)); m.tstates += 15; break;
        // BIT n,(HL): bits 5 and 3 leak from the internal WZ register, not from the byte.
        case 1: Bit8(m, y, v, uint8_t(m.memptr >> 8)); m.tstates += 12; break;
        case 2: bus.Write(a, uint8_t(v & ~(1u << y))); m.tstates += 15; break;
        default: bus.Write(a, uint8_t(v | (1u << y))); m.tstates += 15; break;
        }
        return;
    }

    uint8_t& reg = Reg8(m, code);
    switch (op >> 6) {
    case 0: reg = Shift8(m, y, reg); break;
    case 1: Bit8(m, y, reg, reg); break;
    case 2: reg = uint8_t(reg & ~(1u << y)); break;
    default: reg = uint8_t(reg | (1u << y)); break;
    }
    m.tstates += 8;
}

} // namespace z80

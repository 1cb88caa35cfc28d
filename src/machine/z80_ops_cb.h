// The CB-prefixed Z80 opcodes: rotates and shifts (including the undocumented SLL),
// BIT, RES and SET on the eight operands. The opcode decodes as bits 7-6 group,
// bits 5-3 shift kind or bit number, bits 2-0 operand (B C D E H L (HL) A).
// Include z80_core.h, not this file.
#pragma once

#include "machine/z80_alu.h"
#include "machine/z80_dispatch.h"

namespace z80 {

// One CB opcode, decoded at compile time.
template <unsigned op, class Bus> [[gnu::always_inline]] inline void ExecCbOpcode(MachineState& m, Bus& bus) {
    constexpr unsigned group = op >> 6, y = (op >> 3) & 7, code = op & 7;
    if constexpr (code == 6) {
        const uint16_t a = m.hl.w;
        const uint8_t v = bus.Read(a);
        if constexpr (group == 0) {
            bus.Write(a, Shift8(m, y, v));
            m.tstates += 15;
        } else if constexpr (group == 1) {
            // BIT n,(HL): bits 5 and 3 leak from the internal WZ register, not from the byte.
            Bit8(m, y, v, uint8_t(m.memptr >> 8));
            m.tstates += 12;
        } else if constexpr (group == 2) {
            bus.Write(a, uint8_t(v & ~(1u << y)));
            m.tstates += 15;
        } else {
            bus.Write(a, uint8_t(v | (1u << y)));
            m.tstates += 15;
        }
    } else {
        uint8_t& reg = Reg8(m, code);
        if constexpr (group == 0) reg = Shift8(m, y, reg);
        else if constexpr (group == 1) Bit8(m, y, reg, reg);
        else if constexpr (group == 2) reg = uint8_t(reg & ~(1u << y));
        else reg = uint8_t(reg | (1u << y));
        m.tstates += 8;
    }
}

// Entered with the CB byte fetched; fetches the second opcode byte (one more M1).
template <class Bus> [[gnu::always_inline]] inline void ExecCb(MachineState& m, Bus& bus) {
    const uint8_t op = bus.Fetch(m.pc++);
    m.r++;
    switch (op) {
#define Z80_CB_CASE(n)                                                                                     \
    case n: ExecCbOpcode<n>(m, bus); break;
        Z80_CASES_256(Z80_CB_CASE)
#undef Z80_CB_CASE
    }
}

} // namespace z80

// The Z80 processor of the Ace, written once over a Bus so that the machine (AceBus,
// with the Ace's memory map, ports and tape traps) and the conformance runner (a flat
// 64 KB memory) run the same instruction code.
//
// A Bus provides:
//   uint8_t Fetch(uint16_t)            opcode bytes (M1 fetches and DDCB/FDCB d/op bytes)
//   uint8_t Read(uint16_t)             data reads: operands, stack, memory operands
//   void    Write(uint16_t, uint8_t)   data writes
//   uint8_t In(uint16_t)               port reads (the full 16-bit port address)
//   void    Out(uint16_t, uint8_t)     port writes
//   bool    LoadTrap()                 ED FC; false when there is no tape (then no effect)
//   void    SaveTrap()                 ED FD
//
// Entry points:
//   Z80Step(m, bus)             one step: take a pending interrupt, then one instruction
//   Z80TakeInterrupt(m, bus)    the interrupt check alone; the machine's step stops after
//                               an acceptance so that its hooks see pc at the handler
//   Z80StepInstruction(m, bus)  one instruction after an interrupt check that took none
//   Z80StepNoInterrupt(m, bus)  one instruction without the interrupt check (fast tape loop)
//   Z80AcceptNmi(m, bus)        take an NMI (the caller owns the request)
//
// Every instruction adds its whole fixed cost to `tstates`; `instrStart` marks where it
// began. The opcode tables are in z80_ops_main.h (unprefixed), z80_ops_cb.h, z80_ops_ed.h
// and z80_ops_index.h (DD/FD/DDCB/FDCB); the flag rules in z80_alu.h.
#pragma once

#include "machine/machine_state.h"
#include "machine/z80_alu.h"
#include "machine/z80_ops_main.h"

namespace z80 {

// Maskable interrupt. IM 0 acts as IM 1; IM 2 reads
// its vector at I:idleBus. A HALT is left first, so the handler returns past it.
template <class Bus> inline void AcceptInterrupt(MachineState& m, Bus& bus) {
    if (m.halted) {
        m.pc++;
        m.halted = 0;
    }
    m.iff1 = m.iff2 = 0;
    Push(m, bus, m.pc);
    m.r++;
    if (m.im == 2) {
        m.pc = ReadWord(bus, uint16_t((m.i << 8) | m.idleBus));
        m.tstates += 19;
    } else {
        m.pc = 0x0038;
        m.tstates += 13;
    }
    m.memptr = m.pc;
}

// Steps 3-5 of the step: mark the start, fetch the opcode (one M1: R counts), execute.
template <class Bus> [[gnu::always_inline]] inline void FetchAndExecute(MachineState& m, Bus& bus) {
    m.instrStart = m.tstates;
    m.lastPc = m.pc;
    const uint8_t op = bus.Fetch(m.pc++);
    m.r++;
    ExecMain(m, bus, op);
}

} // namespace z80

// The interrupt check: accepts a pending maskable interrupt; true when it did.
template <class Bus> [[gnu::always_inline]] inline bool Z80TakeInterrupt(MachineState& m, Bus& bus) {
    // The line is sampled only in the frame's first intLength T-states, and never right
    // after EI or between a lone prefix and its opcode. The T-state test comes first: it
    // fails for all but a few instructions of a frame.
    if (m.tstates < m.intLength && m.intLine && !m.eiDelay && !m.prefixDelay && m.iff1) [[unlikely]] {
        z80::AcceptInterrupt(m, bus);
        return true;
    }
    return false;
}

// One instruction after the interrupt check, without a look in between.
template <class Bus> [[gnu::always_inline]] inline void Z80StepInstruction(MachineState& m, Bus& bus) {
    m.eiDelay = 0;
    m.prefixDelay = 0;
    z80::FetchAndExecute(m, bus);
}

template <class Bus> [[gnu::always_inline]] inline void Z80Step(MachineState& m, Bus& bus) {
    Z80TakeInterrupt(m, bus);
    Z80StepInstruction(m, bus);
}

template <class Bus> inline void Z80StepNoInterrupt(MachineState& m, Bus& bus) { z80::FetchAndExecute(m, bus); }

// NMI: IFF2 keeps the interrupt state for RETN; the handler is at 0x0066.
template <class Bus> inline void Z80AcceptNmi(MachineState& m, Bus& bus) {
    m.iff1 = 0;
    if (m.halted) {
        m.pc++;
        m.halted = 0;
    }
    z80::Push(m, bus, m.pc);
    m.r++;
    m.pc = m.memptr = 0x0066;
    m.tstates += 11;
}

// PLACEHOLDER: the instruction set is being written; this only fetches and counts NOPs.
#pragma once

#include "machine/machine_state.h"

template <class Bus> void Z80StepNoInterrupt(MachineState& m, Bus& bus) {
    m.instrStart = m.tstates;
    m.lastPc = m.pc;
    (void)bus.Fetch(m.pc++);
    m.r++;
    m.tstates += 4;
}

template <class Bus> void Z80Step(MachineState& m, Bus& bus) {
    m.eiDelay = m.prefixDelay = 0;
    Z80StepNoInterrupt(m, bus);
}

template <class Bus> void Z80AcceptNmi(MachineState& m, Bus& bus) {
    (void)m;
    (void)bus;
}

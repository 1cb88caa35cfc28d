#include "machine/ace_bus.h"
#include "machine/instruction_hooks.h"
#include "machine/watching_bus.h"
#include "machine/z80.h"

namespace {

// Runs steps on one bus until `end`, or until watchpoints come or go.
template <class Bus> void StepsUntil(MachineState& m, uint32_t end) {
    Bus bus;
    while (m.tstates < end)
        if (!MachineStep(m, bus)) return;
}

} // namespace

void ExecuteInstruction() {
    if (watchpointsOn) {
        WatchingBus bus;
        MachineStep(machine, bus);
    } else {
        AceBus bus;
        MachineStep(machine, bus);
    }
    // The loop leaves this to the rare hooks; a single step keeps it for whoever looks.
    if (machine.tstates >= machine.instrStart) machine.instrTstates = machine.tstates - machine.instrStart;
}

void ExecuteInstructionsUntil(uint32_t end) {
    MachineState& m = machine;
    while (m.tstates < end) {
        if (watchpointsOn)
            StepsUntil<WatchingBus>(m, end);
        else
            StepsUntil<AceBus>(m, end);
    }
}

#include "machine/ace_bus.h"
#include "machine/instruction_hooks.h"
#include "machine/z80.h"

void ExecuteInstruction() {
    AceBus bus;
    MachineStep(machine, bus);
}

void ExecuteInstructionsUntil(uint32_t end) {
    AceBus bus;
    MachineState& m = machine;
    while (m.tstates < end) {
        MachineStep(m, bus);
    }
}

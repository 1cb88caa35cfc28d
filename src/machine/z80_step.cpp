#include "machine/ace_bus.h"
#include "machine/instruction_hooks.h"
#include "machine/z80.h"

void ExecuteInstruction() {
    AceBus bus;
    Z80Step(machine, bus);
    RunInstructionHooks(machine, bus);
}

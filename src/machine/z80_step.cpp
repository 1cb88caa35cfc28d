#include <algorithm>

#include "machine/ace_bus.h"
#include "machine/instruction_hooks.h"
#include "machine/rom_paths.h"
#include "machine/wait_loop.h"
#include "machine/watching_bus.h"
#include "machine/z80.h"

namespace {

// Past the interrupt window the steps run in stretches of this many T-states; between
// two, the ROM's wait for the next frame is counted rather than stepped (wait_loop.h).
// Looking only there keeps the look off every step.
constexpr uint32_t kStretchTstates = 1024;

// Runs steps on one bus until `end`, or until the caller must look again: watchpoints
// came or went, or a hook moved the clock back into the interrupt window.
template <class Bus> void StepsUntil(MachineState& m, uint32_t end) {
    Bus bus;
    // The frame's interrupt window: a step may take the interrupt.
    while (m.tstates < end && m.tstates < m.intLength)
        if (!MachineStep(m, bus)) return;
    // Past it no interrupt comes, so the steps leave the check out.
    while (m.tstates < end) {
        const uint32_t stretchEnd = std::min(end, m.tstates + kStretchTstates);
        while (m.tstates < stretchEnd) {
            if constexpr (std::is_same_v<Bus, AceBus>)
                if (RunRomPath(m, bus, end)) continue;
            if (!InstructionStep(m, bus)) return;
        }
        // At the loop's jump, one step more reaches its start.
        if (m.pc == kRomWaitLoopPc + 2 && m.tstates < end && !InstructionStep(m, bus)) return;
        if (m.pc == kRomWaitLoopPc) {
            SkipWaitLoop(m, end);
            MoveBeam(m.tstates);
        }
    }
}

} // namespace

void ExecuteInstruction() {
    SyncMemoryMap();
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
    SyncMemoryMap();
    while (m.tstates < end) {
        if (watchpointsOn)
            StepsUntil<WatchingBus>(m, end);
        else
            StepsUntil<AceBus>(m, end);
    }
}

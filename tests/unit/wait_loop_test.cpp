// The frame loop counts the ROM's wait for the next frame instead of stepping it
// (machine/wait_loop.h). Whatever it skips, it must end in the very state that stepping
// one instruction at a time (ExecuteInstruction, which never skips) reaches: registers,
// WZ, R, the clock, the beam and memory, at every way the wait can be entered and the
// frame can end.
#include "machine/wait_loop.h"
#include "machine/z80.h"
#include "machine_snapshot.h"
#include "rom_machine_test.h"

namespace {

class WaitLoopTest : public RomMachineTest {};

TEST_F(WaitLoopTest, CountingTheWaitEndsWhereSteppingEnds) {
    if (!Boot()) return;
    RunFrames(5); // settled at the prompt
    ASSERT_TRUE(WaitingForKey());
    ASSERT_EQ(FetchOpcodeByte(kRomWaitLoopPc), 0xCB);

    // Frame starts and ends, and ways into the loop: each from the same prompt.
    struct Case {
        const char* what;
        uint32_t startTstates; // 0 keeps the frame's own start (interrupt included)
        int pcOffset;          // -1 keeps pc; else the loop's start plus this
        bool strangeMemptr;
        uint32_t endShort; // the frame ends this many T-states early
    };
    const Case cases[] = {
        {"a whole frame from its start, interrupt and all", 0, -1, false, 0},
        {"entering at the BIT with WZ from elsewhere", 500, 0, true, 0},
        {"entering at the jump", 500, 2, false, 0},
        {"entering at the jump with WZ from elsewhere", 500, 2, true, 0},
        {"the frame ends 1 T-state short", 500, 0, false, 1},
        {"the frame ends 11 T-states short", 500, 0, false, 11},
        {"the frame ends 12 T-states short", 500, 0, false, 12},
        {"the frame ends 13 T-states short", 500, 2, false, 13},
        {"the frame ends 23 T-states short", 500, 0, true, 23},
        {"the frame ends 24 T-states short", 500, 2, true, 24},
        {"the frame ends 1000 T-states short", 40000, 0, false, 1000},
    };
    RunFrames(1);
    const MachineSnapshot prompt = Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restore(prompt);
        if (c.startTstates) {
            machine.tstates = c.startTstates;
            RenderToBeam(c.startTstates);
        }
        if (c.pcOffset >= 0) {
            machine.pc = uint16_t(kRomWaitLoopPc + c.pcOffset);
            // At the jump, Z is up as the BIT before it left it.
            if (c.pcOffset == 2) machine.af.lo |= 0x40;
        }
        if (c.strangeMemptr) machine.memptr = 0x1234;
        const uint32_t end = machine.frameTstates - c.endShort;
        const MachineSnapshot start = Take();

        ExecuteInstructionsUntil(end);
        const MachineSnapshot counted = Take();

        Restore(start);
        while (machine.tstates < end)
            ExecuteInstruction();
        const MachineSnapshot stepped = Take();

        EXPECT_EQ(Differences(counted, stepped), "");
        EXPECT_TRUE(counted.state.pc == kRomWaitLoopPc || counted.state.pc == kRomWaitLoopPc + 2)
            << "still waiting";
    }
}

// With the flag up the loop ends: nothing is skipped, the ROM goes on.
TEST_F(WaitLoopTest, AWaitWhoseFlagIsUpIsNotSkipped) {
    if (!Boot()) return;
    RunFrames(5);
    machine.tstates = 500;
    RenderToBeam(500);
    machine.pc = kRomWaitLoopPc;
    const uint8_t flags = ReadMemory(machine.hl.w);
    WriteMemory(machine.hl.w, uint8_t(flags | 0x20));
    const MachineSnapshot start = Take();
    const MachineState before = machine;
    SkipWaitLoop(machine, machine.frameTstates);
    EXPECT_EQ(machine.tstates, before.tstates);
    EXPECT_EQ(machine.ir, before.ir);

    ExecuteInstructionsUntil(machine.frameTstates);
    const MachineSnapshot counted = Take();
    Restore(start);
    while (machine.tstates < machine.frameTstates)
        ExecuteInstruction();
    EXPECT_EQ(Differences(counted, Take()), "");
}

} // namespace

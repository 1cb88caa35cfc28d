// The frame loop runs the ROM's hottest paths without the opcode dispatch
// (machine/rom_paths.h). Whatever a path runs, the machine must end as stepping one
// instruction at a time (ExecuteInstruction, which never takes a path) leaves it, on the
// real ROM running a FORTH loop that prints: at every path's start, with the BREAK test
// going its other way, with other bytes in the ROM, and with the frame ending anywhere.
#include <cstdint>
#include <string>
#include <vector>

#include "debugger/breakpoints.h"
#include "machine/ace_bus.h"
#include "machine/memory_map.h"
#include "machine/rom.h"
#include "machine/rom_paths.h"
#include "machine/z80.h"
#include "machine_snapshot.h"
#include "rom_machine_test.h"
#include "tape/spool.h"

namespace {

constexpr uint8_t kShiftBit = 0x01; // half-row 0 (port FEFE), bit 0: SHIFT, half of BREAK

class RomPathsTest : public RomMachineTest {
  protected:
    // Booted, with the word T printing numbers for ever; false after a skip (no ROM) or a
    // failure.
    bool StartPrintingLoop() {
        if (!Boot()) {
            if (!IsSkipped()) ADD_FAILURE() << "the ROM never reached its prompt";
            return false;
        }
        StartSpool(": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r");
        for (int i = 0; i < 2000 && spool.spoolActive; ++i)
            RunFrame();
        RunFrames(20);
        EXPECT_FALSE(spool.spoolActive) << "the line was never typed";
        return !spool.spoolActive;
    }
    // Steps until `at` holds with room after it in the frame; false if it never does.
    template <class At> static bool StepUntil(At at) {
        for (int i = 0; i < 200000; ++i) {
            if (machine.tstates >= machine.frameTstates) RunFrame(); // ends the frame only
            if (at() && machine.tstates > machine.intLength && machine.tstates + 2000 < machine.frameTstates)
                return true;
            ExecuteInstruction();
        }
        return false;
    }
    static bool StepTo(uint16_t entry) {
        return StepUntil([entry] { return machine.pc == entry; });
    }
    // To an instruction (its first bytes) wherever it is.
    static bool StepToInstruction(uint8_t op, int op2 = -1) {
        return StepUntil([op, op2] {
            return FetchOpcodeByte(machine.pc) == op &&
                   (op2 < 0 || FetchOpcodeByte(uint16_t(machine.pc + 1)) == op2);
        });
    }
    // Steps to the clock `tstates` one instruction at a time.
    static MachineSnapshot SteppedTo(const MachineSnapshot& start, uint32_t tstates) {
        Restore(start);
        while (machine.tstates < tstates)
            ExecuteInstruction();
        return Take();
    }
};

TEST_F(RomPathsTest, EachPathEndsWhereSteppingEnds) {
    if (!StartPrintingLoop()) return;
    struct Case {
        const char* what;
        int entry;            // an address, or -1 for the instruction below wherever it is
        uint8_t op, op2;      // that instruction
        uint16_t iy;          // 0, or JP (IY) goes there instead of the word dispatch
        bool stackOnScreen;   // the data stack moved into video RAM: the pushes show
        bool speakerHigh;     // an OUT to the speaker before: the BREAK test's IN ends the tone
        bool afterFlagsAndEi; // the instruction before wrote F (q) and was EI
    };
    const Case cases[] = {
        {"the word dispatch", 0x04C8, 0, 0, 0, false, false, false},
        {"the word dispatch with the speaker high", 0x04C8, 0, 0, 0, false, true, false},
        {"NEXT", 0x04B9, 0, 0, 0, false, false, false},
        {"NEXT past its POP", 0x04BA, 0, 0, 0, false, false, false},
        {"the push", 0x0010, 0, 0, 0, false, false, false},
        {"the push onto the screen", 0x0010, 0, 0, 0, true, false, false},
        {"the pop", 0x0018, 0, 0, 0, false, false, false},
        {"the pop into BC", 0x084E, 0, 0, 0, false, false, false},
        {"the division step", 0x0CDB, 0, 0, 0, false, false, true},
        {"a primitive's JP (IY)", -1, 0xFD, 0xE9, 0, false, false, false},
        {"a JP (IY) to NEXT, midway along the path", -1, 0xFD, 0xE9, 0x04B9, false, false, false},
        {"a JP (IY) elsewhere", -1, 0xFD, 0xE9, 0x0F8F, false, false, false},
        {"a JP (IY) into RAM, alone", -1, 0xFD, 0xE9, 0x3C80, false, false, true},
        {"an RST 10", -1, 0xD7, 0, 0, false, false, false},
        {"an RST 10 onto the screen", -1, 0xD7, 0, 0, true, false, false},
        {"an RST 18", -1, 0xDF, 0, 0, false, false, true},
    };
    const MachineSnapshot printing = Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restore(printing);
        ASSERT_TRUE(c.entry >= 0 ? StepTo(uint16_t(c.entry)) : StepToInstruction(c.op, c.op2 ? c.op2 : -1))
            << "the loop never gets there";
        if (c.iy) machine.iy.w = c.iy;
        if (c.speakerHigh) machine.speakerToggle = machine.earLevel = 1;
        if (c.afterFlagsAndEi) machine.q = machine.eiDelay = 1;
        if (c.stackOnScreen) {
            constexpr uint16_t kSpare = 0x3C3B, kRowFive = 0x2400 + 5 * 32;
            WriteMemory(kSpare, kRowFive & 0xFF);
            WriteMemory(kSpare + 1, kRowFive >> 8);
            machine.de.w = 0x4142;
        }
        const MachineSnapshot start = Take();
        AceBus bus;
        SyncMemoryMap();
        ASSERT_TRUE(RunRomPath(machine, bus, machine.frameTstates)) << "the path did not run";
        const MachineSnapshot run = Take();
        EXPECT_GT(run.state.tstates, start.state.tstates);
        if (c.stackOnScreen) {
            EXPECT_EQ(run.screenWrites.size(), start.screenWrites.size() + 2);
        }
        EXPECT_EQ(Differences(run, SteppedTo(start, run.state.tstates)), "");
    }
}

TEST_F(RomPathsTest, APathThatDoesNotFitOrDoesNotMatchDoesNotRun) {
    if (!StartPrintingLoop()) return;
    ASSERT_TRUE(StepTo(0x04C8));
    const MachineSnapshot start = Take();
    AceBus bus;
    EXPECT_FALSE(RunRomPath(machine, bus, machine.tstates + 100)) << "no room for every step";
    machine.pages[0][0x04C8] = 0x00; // another ROM: a NOP where the path starts
    EXPECT_FALSE(RunRomPath(machine, bus, machine.frameTstates));
    RestoreRomBytes(0x04C8, 1);
    EXPECT_EQ(Differences(Take(), start), "");
}

// Anything that watches the steps turns the paths off: a breakpoint inside one stops
// there, from the frame loop as from stepping.
TEST_F(RomPathsTest, ABreakpointInsideAPathStopsThere) {
    class StopHost : public CapturingHost {
      public:
        std::vector<uint16_t> stoppedAt;
        void RunDebugger() override { stoppedAt.push_back(machine.pc); }
    } stops;
    if (!StartPrintingLoop()) return;
    SetHost(&stops);
    for (const char* address : {"#04E6", "#0013", "#0CE5"}) {
        SCOPED_TRACE(address);
        ClearBreakpoints();
        ASSERT_EQ(AddBreakpoint(address, ""), BreakpointResult::Ok);
        stops.stoppedAt.clear();
        RunFrames(2);
        ASSERT_FALSE(stops.stoppedAt.empty()) << "never stopped";
        EXPECT_EQ(stops.stoppedAt.front(), std::stoi(address + 1, nullptr, 16));
    }
    ClearBreakpoints();
    SetHost(&dialogs);
}

// Whole runs of the frame loop against stepping, the run ending at many points of a
// path or between them, with the loop as it runs and disturbed.
TEST_F(RomPathsTest, TheFrameLoopEndsWhereSteppingEnds) {
    if (!StartPrintingLoop()) return;
    struct Case {
        const char* what;
        uint8_t shiftHeld;
        uint16_t patchedAt; // 0: the ROM as it is; else a step's byte made a NOP
    };
    const Case cases[] = {
        {"the loop as it runs", 0, 0},
        {"SHIFT held: the BREAK test goes on past its RET C", kShiftBit, 0},
        {"NEXT's EX DE,HL another instruction", 0, 0x04BF},
        {"the free-space check's JR C another instruction", 0, 0x0F97},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(StepTo(0x04C8));
        machine.keyMatrix[0] = uint8_t(0xFF & ~c.shiftHeld);
        if (c.patchedAt) machine.pages[0][c.patchedAt] = 0x00;
        const MachineSnapshot start = Take();
        // Ends from one T-state on to well past several paths, at uneven strides.
        for (uint32_t after = 1; after < 3000; after += 1 + after / 7) {
            const uint32_t end = start.state.tstates + after;
            Restore(start);
            ExecuteInstructionsUntil(end);
            const MachineSnapshot run = Take();
            const std::string differences = Differences(run, SteppedTo(start, end));
            EXPECT_EQ(differences, "") << "ending " << after << " T-states on";
            if (!differences.empty()) break;
        }
        Restore(start);
        machine.keyMatrix[0] = 0xFF;
        if (c.patchedAt) RestoreRomBytes(c.patchedAt, 1);
    }
}

// Whole programs typed at the prompt, a few seconds of each, through the frame loop and
// stepped: the words that end in errors (the dispatch's checks go their other way), BREAK
// held, division, and the printing loop.
TEST_F(RomPathsTest, ProgramsRunAsTheyDoStepped) {
    if (!Boot()) return;
    struct Case {
        const char* what;
        const char* typed;
        uint8_t shiftAndSpace; // held from the start: BREAK
    };
    const Case cases[] = {
        {"printing numbers", ": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r", 0},
        {"dividing", ": D 30000 0 DO I 7 /MOD . . LOOP ; D\r", 0},
        {"an empty stack", "DROP DROP . 1 2 + .\r", 0},
        {"a word that does not exist", "FROB\r", 0},
        {"a deep stack", "1 2 3 4 5 6 7 8 9 + + + + + + + + .\r", 0},
        {"BREAK held in a loop", ": B BEGIN 1 DROP 0 UNTIL ; B\r", 1},
    };
    const MachineSnapshot prompt = Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MachineSnapshot ends[2];
        for (int stepped = 0; stepped < 2; ++stepped) {
            Restore(prompt);
            spool.Reset();
            StartSpool(std::string(c.typed), 0); // as fast as the ROM takes keys
            for (int frame = 0; frame < 300; ++frame) {
                if (c.shiftAndSpace && frame == 250) {
                    machine.keyMatrix[0] &= uint8_t(~kShiftBit);
                    machine.keyMatrix[7] &= uint8_t(~0x01); // SPACE
                }
                if (stepped)
                    while (machine.tstates < machine.frameTstates)
                        ExecuteInstruction();
                RunFrame();
            }
            ends[stepped] = Take();
            machine.keyMatrix[0] = machine.keyMatrix[7] = 0xFF;
        }
        EXPECT_EQ(Differences(ends[0], ends[1]), "");
    }
    spool.Reset();
}

} // namespace

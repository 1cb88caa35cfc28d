// The debugger's commands on the machine: frames completed only once run, Step Over and
// Step Out with their way out, run-until, and the text of the panes.
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/debugger_text.h"
#include "debugger/forth_views.h"
#include "debugger/memory_editor.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "running_machine.h"

namespace {

class DebuggerSessionTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        machine.model = 3;
        machine.topPage = 7;
        machine.ramTop = 0xFFFF;
        ClearBreakpoints();
        debuggerSession.runUntilHalt = debuggerSession.runUntilLdAR = debuggerSession.runUntilLdRA = false;
        BeginDebuggerSession();
        machine.sp = 0xF000;
        machine.iff1 = 0;
    }
    void TearDown() override {
        EndDebuggerSession();
        ClearBreakpoints();
        RunningMachineTest::TearDown();
    }
    static void Code(uint16_t at, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            WriteMemory(at++, b);
    }
    static RunStop Run(RunKind kind, uint64_t instructions = 10000000) {
        const RunStop started = StartRun(kind);
        return started == RunStop::Running ? FinishRun(instructions) : started;
    }
};

TEST_F(DebuggerSessionTest, SingleStepCompletesTheFrameItEnds) {
    Code(0x8000, {0x00, 0x00});
    machine.pc = 0x8000;
    machine.tstates = kFrameTstates - 2;
    machine.intLine = 1;
    const uint64_t frames = frameDriver.frameCounter;
    SingleStep();
    EXPECT_EQ(machine.tstates, 2u);
    EXPECT_EQ(frameDriver.frameCounter, frames + 1);
    EXPECT_EQ(machine.intLine, 0) << "a pending interrupt request is dropped";
    SingleStep();
    EXPECT_EQ(machine.tstates, 6u);
    EXPECT_EQ(frameDriver.frameCounter, frames + 1);
}

TEST_F(DebuggerSessionTest, FrameRunsNeverCloseAFrameThatHasNotRun) {
    Code(0x8000, {0x18, 0xFE}); // JR $: 12 T-states a pass
    machine.pc = 0x8000;
    machine.tstates = 100; // mid-frame, as after F5
    const uint64_t frames = frameDriver.frameCounter;
    EXPECT_EQ(Run(RunKind::EndOfFrame), RunStop::Done);
    EXPECT_GE(machine.tstates, kFrameTstates);
    EXPECT_LT(machine.tstates, kFrameTstates + 12);
    EXPECT_EQ(frameDriver.frameCounter, frames) << "left for the next command to close";

    machine.intLine = 1; // raised by the frame driver before the debugger opened
    EXPECT_EQ(Run(RunKind::EndOfFrame), RunStop::Done);
    EXPECT_EQ(frameDriver.frameCounter, frames + 1);
    EXPECT_EQ(machine.intLine, 0) << "frames closed by the debugger bring no interrupt";
    EXPECT_GE(machine.tstates, kFrameTstates);

    EXPECT_EQ(Run(RunKind::StartOfFrame), RunStop::Done);
    EXPECT_EQ(frameDriver.frameCounter, frames + 3);
    EXPECT_LT(machine.tstates, 12u) << "stopped at the start of the next frame";

    machine.tstates = 50;
    EXPECT_FALSE(CompleteFrame());
    EXPECT_EQ(machine.tstates, 50u);
}

TEST_F(DebuggerSessionTest, StepOverRunsTheCallAndHasAWayOut) {
    Code(0x8000, {0xCD, 0x00, 0x90, 0x00}); // CALL 9000; NOP
    Code(0x9000, {0x3E, 0x07, 0xC9});       // LD A,7; RET
    machine.pc = 0x8000;
    EXPECT_EQ(Run(RunKind::StepOver), RunStop::Done);
    EXPECT_EQ(machine.pc, 0x8003);
    EXPECT_EQ(machine.af.hi, 7);

    machine.tstates = kFrameTstates + 5; // a non-CALL leaves the frame as it is
    EXPECT_EQ(StartRun(RunKind::StepOver), RunStop::Done);
    EXPECT_EQ(machine.pc, 0x8004);
    EXPECT_EQ(machine.tstates, kFrameTstates + 9);

    Code(0x9000, {0x18, 0xFE}); // a routine that never returns
    machine.pc = 0x8000;
    machine.tstates = 0;
    EXPECT_EQ(Run(RunKind::StepOver, uint64_t(kStepFrameBound) * kFrameTstates / 4), RunStop::Bound);
    EXPECT_EQ(machine.pc, 0x9000);
    EXPECT_LT(machine.tstates, kFrameTstates) << "frames were closed as they ran";

    machine.pc = 0x8000;
    EXPECT_EQ(StartRun(RunKind::StepOver), RunStop::Running);
    EXPECT_EQ(ContinueRun(1000), RunStop::Running);
    EXPECT_EQ(CancelRun(), RunStop::Cancelled);
    EXPECT_EQ(CurrentRun(), RunKind::None);

    AddBreakpoint("#9000", "");
    machine.pc = 0x8000;
    EXPECT_EQ(Run(RunKind::StepOver), RunStop::Breakpoint);
    EXPECT_EQ(machine.pc, 0x9000);
}

TEST_F(DebuggerSessionTest, StepOutEndsAfterTheFirstReturn) {
    Code(0x8000, {0xC9});
    Code(0xEFFE, {0x34, 0x12}); // the return address on the stack
    machine.sp = 0xEFFE;
    machine.pc = 0x8000;
    EXPECT_EQ(Run(RunKind::StepOut), RunStop::Done);
    EXPECT_EQ(machine.pc, 0x1234) << "on a RET, just that RET";

    Code(0x8000, {0x00, 0x3C, 0xC8}); // NOP; INC A; RET Z (not taken)
    machine.pc = 0x8000;
    machine.af.hi = 0;
    EXPECT_EQ(Run(RunKind::StepOut), RunStop::Done);
    EXPECT_EQ(machine.pc, 0x8003) << "the first RET met ends it, taken or not";
}

// Accepting an interrupt is a step of its own: a single step and a breakpoint both stop
// on the handler's first instruction, before it runs.
TEST_F(DebuggerSessionTest, InterruptHandlersStopOnTheirFirstInstruction) {
    struct Case {
        const char* name;
        uint8_t im;
        bool nmi;
        uint16_t handler;
        uint32_t tstates; // after the step that reaches the handler
    };
    const Case cases[] = {
        {"IM 1", 1, false, 0x0038, 13},
        {"IM 2", 2, false, 0x9000, 19},
        {"NMI", 1, true, 0x0066, 4 + 11}, // after the NOP at 8000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto arm = [&c] {
            Code(0x8000, {0x00, 0x00});
            Code(0x3F20, {0x00, 0x90}); // the IM 2 vector at I:idle bus
            Code(0x9000, {0x00});
            machine.i = 0x3F;
            machine.im = c.im;
            machine.iff1 = machine.iff2 = c.nmi ? 0 : 1;
            machine.intLine = c.nmi ? 0 : 1;
            NmiRequested = c.nmi;
            machine.tstates = 0;
            machine.pc = 0x8000;
            machine.sp = 0xF000;
        };
        arm();
        SingleStep();
        EXPECT_EQ(machine.pc, c.handler);
        EXPECT_EQ(machine.tstates, c.tstates);
        EXPECT_EQ(ReadMemory(0xEFFE) | ReadMemory(0xEFFF) << 8, c.nmi ? 0x8001 : 0x8000)
            << "the return address";

        arm();
        ASSERT_EQ(AddBreakpoint(std::to_string(c.handler), ""), BreakpointResult::Ok);
        EXPECT_EQ(Run(RunKind::EndOfFrame), RunStop::Breakpoint);
        EXPECT_EQ(machine.pc, c.handler);
        EXPECT_EQ(machine.tstates, c.tstates) << "stopped before the handler's first instruction";
        ClearBreakpoints();
        NmiRequested = false;
    }
}

TEST_F(DebuggerSessionTest, RunUntilStopsBeforeTheAwaitedInstruction) {
    Code(0x8000, {0x76});
    machine.pc = 0x8000;
    const uint32_t before = machine.tstates;
    debuggerSession.runUntilHalt = true;
    EXPECT_EQ(Run(RunKind::UntilOpcode), RunStop::Opcode);
    EXPECT_EQ(machine.tstates, before) << "a HALT at pc stops at once, not executed";
    EXPECT_FALSE(debuggerSession.runUntilHalt) << "met, so disarmed";

    Code(0x8000, {0x00, 0x00, 0xED, 0x5F, 0xED, 0x4F});
    machine.pc = 0x8000;
    debuggerSession.runUntilLdRA = debuggerSession.runUntilLdAR = true;
    EXPECT_EQ(Run(RunKind::UntilOpcode), RunStop::Opcode);
    EXPECT_EQ(machine.pc, 0x8002);
    EXPECT_FALSE(debuggerSession.runUntilLdAR);
    EXPECT_TRUE(debuggerSession.runUntilLdRA) << "not met yet, still armed";

    Code(0x9000, {0x18, 0xFE});
    machine.pc = 0x9000;
    EXPECT_EQ(Run(RunKind::UntilOpcode, 200000), RunStop::Cancelled);
    EXPECT_TRUE(debuggerSession.runUntilLdRA) << "Escape ends the run, the request stays armed";
}

TEST_F(DebuggerSessionTest, RunUntilATstate) {
    Code(0x9000, {0x18, 0xFE});
    machine.pc = 0x9000;
    machine.tstates = 0;
    debuggerSession.runUntilTstate = 30000;
    EXPECT_EQ(Run(RunKind::UntilTstate), RunStop::Tstate);
    EXPECT_GT(machine.tstates, 30000u);
    EXPECT_LE(machine.tstates, 30012u);

    debuggerSession.runUntilTstate = 100; // already passed: the next frame's T-state 100
    const uint64_t frames = frameDriver.frameCounter;
    EXPECT_EQ(Run(RunKind::UntilTstate), RunStop::Tstate);
    EXPECT_EQ(frameDriver.frameCounter, frames + 1);
    EXPECT_GT(machine.tstates, 100u);
    EXPECT_LE(machine.tstates, 112u);

    debuggerSession.runUntilTstate = 99999999; // beyond the frame: its end
    EXPECT_EQ(Run(RunKind::UntilTstate), RunStop::FrameEnd);
    EXPECT_LT(machine.tstates, 12u);
}

TEST_F(DebuggerSessionTest, RegisterRowsWrapAtTheTopOfMemory) {
    machine.pc = 0x4000;
    machine.hl.w = 0xFFFF;
    machine.af.w = 0x20D5; // S Z H P C
    machine.ir = 0x3F05;
    machine.im = 1;
    machine.iff1 = 1;
    machine.tstates = 1234;
    Code(0xFFFF, {0x41});
    const std::vector<std::string> rows = RegisterPaneRows();
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[2], "AF  20D5  S Z - H - P - C");
    EXPECT_EQ(rows[5].substr(0, 13), "HL  FFFF  41 ") << "FFFF, then on from 0000";
    EXPECT_EQ(rows[12], "IR  3F05 ");
    EXPECT_EQ(rows[13], "IM 1 INTERRUPTS ON  TStates: 1234");
    EXPECT_EQ(rows[14].substr(0, 18), "MEMPTR 0000  LASTP");
}

TEST_F(DebuggerSessionTest, NonPrintingBytesShowAsDotsInEveryView) {
    const uint8_t bytes[8] = {0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF, 0x00};
    for (int k = 0; k < 8; ++k)
        machine.ram[kPadStart + k] = bytes[k];
    MemoryEditor editor;
    editor.GoTo(kPadStart);
    const std::string rows[] = {MemoryDump(kPadStart), MemoryPaneRows(kPadStart)[0], PadRows()[0],
                                editor.Rows()[0]};
    for (const std::string& row : rows) {
        EXPECT_NE(row.find(". A~...."), std::string::npos) << row;
        EXPECT_EQ(row.find('\x7F'), std::string::npos) << "DEL shows as a dot";
    }
}

TEST_F(DebuggerSessionTest, MemoryPaneShowsWhatTheProcessorReads) {
    machine.model = 0; // 3K
    machine.topPage = 1;
    machine.ramTop = 0x3FFF;
    machine.ram[0x2400] = 0x41; // video RAM, mirrored at 0x2000
    machine.ram[0x2C00] = 0x42; // character RAM: the processor reads 0xFF
    machine.ram[0x3C00] = 0x43; // user RAM, mirrored at 0x3000, 0x3400 and 0x3800
    struct Case {
        uint32_t top;
        const char* row;
    } const cases[] = {
        {0x2000, "2000   41 "}, {0x2400, "2400   41 "}, {0x2800, "2800   FF "}, {0x2C00, "2C00   FF "},
        {0x3000, "3000   43 "}, {0x3800, "3800   43 "}, {0x3C00, "3C00   43 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MemoryPaneRows(c.top)[0].substr(0, 10), c.row);
}

TEST_F(DebuggerSessionTest, PanesStayInsideMemoryAndPortsShowTheirRows) {
    machine.ramTop = 0x3FFF;
    EXPECT_EQ(ClampMemoryTop(0xFFFF), 0x3F00u);
    EXPECT_EQ(ClampMemoryTop(0x1000), 0x2000u);
    const std::vector<std::string> rows = MemoryPaneRows(ClampMemoryTop(0xFFFF));
    ASSERT_EQ(rows.size(), 32u);
    EXPECT_EQ(rows.back().substr(0, 4), "3FF8") << "the last row ends at ramTop";

    machine.sp = 0x3F00;
    EXPECT_EQ(ClampStackTop(0x3FFF), 0x3FE0u) << "16 words still fit";
    EXPECT_EQ(ClampStackTop(0x2000), 0x3F00u) << "never below sp";
    machine.sp = 0x3FF0;
    EXPECT_EQ(ClampStackTop(0x3FFF), 0x3FF0u) << "the stack pointer's word always shows";
    EXPECT_EQ(StackLines(0x3FF0).size(), 8u) << "no line past ramTop";

    for (uint8_t& row : machine.keyMatrix)
        row = 0xFF;
    machine.keyMatrix[7] = 0xFE; // SPACE, read through port 7FFE
    machine.keyMatrix[0] = 0xFD; // Z, read through port FEFE
    machine.portLatches[kLatch01] = 0x1F;
    const std::vector<std::string> ports = PortLines();
    ASSERT_EQ(ports.size(), 16u);
    EXPECT_EQ(ports[0], "7FFE: 11111110 - FE");
    EXPECT_EQ(ports[7], "FEFE: 11111101 - FD");
    EXPECT_EQ(ports[8], "xx01: 00011111 - 1F");
    EXPECT_EQ(AyLines()[7].size(), 33u);
}

} // namespace

// Breakpoints: the number and condition syntax, the table's limits, which entries fire,
// debugHooksOn following what is armed, and a breakpoint stopping the real ROM.
#include <functional>

#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/pc_log.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "machine/z80.h"
#include "running_machine.h"

namespace {

// Counts the debugger openings and remembers where each happened.
class DebuggerHost : public RecordingHost {
  public:
    std::vector<uint16_t> openedAt;
    std::vector<std::string> watchTexts;
    bool pausedWhileOpen = true;
    std::function<void()> whileOpen; // what the user does in the debugger
    void RunDebugger() override {
        openedAt.push_back(machine.pc);
        watchTexts.push_back(WatchHitText());
        pausedWhileOpen = pausedWhileOpen && runState.Paused;
        if (whileOpen) whileOpen();
    }
};

class BreakpointsTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        SetHost(&host);
        ClearBreakpoints();
        pcLogOn = pcLogOneFrame = false;
        debuggerSession.debuggerOpen = false;
        machine.ramTop = 0xFFFF;
    }
    void TearDown() override {
        ClearBreakpoints();
        debuggerSession.debuggerOpen = false;
        RunningMachineTest::TearDown();
    }
    // Sets pc and runs the step's breakpoint test; true when the debugger opened.
    bool FiresAt(uint16_t pc) {
        const size_t before = host.openedAt.size();
        machine.pc = pc;
        checkBreakpoints();
        return host.openedAt.size() > before;
    }
    DebuggerHost host;
};

TEST_F(BreakpointsTest, NumbersAreDecimalOrHexadecimalAndNeverWrap) {
    struct Case {
        const char* text;
        std::optional<uint32_t> value;
    } const cases[] = {
        {"#3C", 0x3C},
        {"$8000", 0x8000},
        {"16384", 16384},
        {"#ffff", 0xFFFF},
        {" # 3c ", 0x3C},
        {"0", 0},
        {"65535", 65535},
        {"65536", std::nullopt},
        {"70000", std::nullopt},
        {"#10000", std::nullopt},
        {"#FFFFFFFFF", std::nullopt},
        {"12A", std::nullopt},
        {"#G1", std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"-1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseNumber(c.text), c.value) << "'" << c.text << "'";
}

TEST_F(BreakpointsTest, ConditionsCompareTheNamedRegister) {
    machine.af.hi = 0x3C;
    machine.bc.w = 0x0500; // B = 5, C = 0
    machine.hl.w = 0x9000;
    machine.sp = 0x4000;
    machine.ir = 0x3F12;
    struct Case {
        const char* condition;
        bool fires;
        bool hasCondition;
    } const cases[] = {
        {"A=#3C", true, true},     {"a = #3c", true, true},   {"A=#3D", false, true},
        {"HL>$8000", true, true},  {"HL>$9000", false, true}, {"SP<16384", false, true},
        {"SP<16385", true, true},  {"C=0", true, true},       {"B=0", false, true}, // 0 is a value
        {"IR=#3F12", true, true},  {"R>#11", true, true},     {"BC=#0500", true, true},
        {"HL=70000", true, false}, {"A=300", true, false},    {"XY=1", true, false},
        {"A", true, false},        {"", true, false},         {"A=", true, false},
    };
    for (const Case& c : cases) {
        ClearBreakpoints();
        ASSERT_EQ(AddBreakpoint("#6000", c.condition), BreakpointResult::Ok);
        EXPECT_EQ(breakpointState.breakpoints[0].hasCondition, c.hasCondition) << c.condition;
        EXPECT_EQ(FiresAt(0x6000), c.fires) << c.condition;
    }
    EXPECT_EQ(breakpointState.breakpoints[0].conditionText, "A=")
        << "kept as typed, squeezed and upper-cased";
    ClearBreakpoints();
    AddBreakpoint("#6000", " hl > $8000 ");
    EXPECT_EQ(breakpointState.breakpoints[0].conditionText, "HL>$8000");
    EXPECT_EQ(breakpointState.breakpoints[0].conditionRegister, 13);
    EXPECT_EQ(breakpointState.breakpoints[0].conditionOperator, kConditionGreater);
}

TEST_F(BreakpointsTest, TableLimitsAndBadAddresses) {
    machine.ramTop = 0x3FFF;
    EXPECT_EQ(AddBreakpoint("#4000", ""), BreakpointResult::BadAddress) << "above ramTop";
    EXPECT_EQ(AddBreakpoint("", ""), BreakpointResult::BadAddress);
    EXPECT_EQ(AddBreakpoint("nonsense", ""), BreakpointResult::BadAddress);
    EXPECT_EQ(breakpointState.breakpointCount, 0);
    for (int k = 0; k < kMaxBreakpoints; ++k)
        ASSERT_EQ(AddBreakpoint(std::to_string(k), ""), BreakpointResult::Ok);
    EXPECT_EQ(AddBreakpoint("0", ""), BreakpointResult::TableFull);
    EXPECT_EQ(breakpointState.breakpointCount, kMaxBreakpoints);

    DeleteBreakpoint(0); // shifts the rest down
    EXPECT_EQ(breakpointState.breakpoints[0].address, 1u);
    DeleteBreakpoint(-1); // no selection: the last one
    EXPECT_EQ(breakpointState.breakpoints[breakpointState.breakpointCount - 1].address, 254u);
    while (breakpointState.breakpointCount > 0)
        DeleteBreakpoint(-1);
    DeleteBreakpoint(-1);
    DeleteBreakpoint(3);
    EXPECT_EQ(breakpointState.breakpointCount, 0) << "Delete on an empty table changes nothing";

    AddBreakpoint("#100", "");
    EXPECT_EQ(UpdateBreakpoint(0, "#4000", "", true), BreakpointResult::BadAddress);
    EXPECT_EQ(breakpointState.breakpoints[0].address, 0x100u) << "a refused update keeps the entry";
    EXPECT_EQ(UpdateBreakpoint(0, "$3C00", "a=1", false), BreakpointResult::Ok);
    EXPECT_EQ(BreakpointAddressText(0), "#3C00");
    EXPECT_EQ(breakpointState.breakpoints[0].conditionText, "A=1");
    EXPECT_EQ(breakpointState.breakpoints[0].active, 1);
}

TEST_F(BreakpointsTest, OnlyActiveEntriesFireAndOnlyOnce) {
    AddBreakpoint("0", "");
    AddBreakpoint("#5000", "");
    AddBreakpoint("#5000", "");
    EXPECT_TRUE(FiresAt(0x0000)) << "address 0 is checked like any other";
    EXPECT_TRUE(FiresAt(0x5000));
    EXPECT_EQ(host.openedAt.size(), 2u) << "two entries at one address stop once";
    EXPECT_TRUE(host.pausedWhileOpen);
    EXPECT_FALSE(runState.Paused) << "resumed afterwards";
    EXPECT_FALSE(FiresAt(0x5001));

    UpdateBreakpoint(1, "#5000", "", false);
    UpdateBreakpoint(2, "#5000", "", false);
    EXPECT_FALSE(FiresAt(0x5000)) << "an inactive entry does not fire";

    debuggerSession.debuggerOpen = true;
    breakpointState.breakpointHit = false;
    EXPECT_FALSE(FiresAt(0x0000)) << "no second debugger while one is open";
    EXPECT_TRUE(breakpointState.breakpointHit) << "the open debugger hears of the hit";
}

TEST_F(BreakpointsTest, HooksFollowWhatIsArmed) {
    EXPECT_FALSE(debugHooksOn);
    AddBreakpoint("#5000", "");
    EXPECT_TRUE(debugHooksOn);
    UpdateBreakpoint(0, "#5000", "", false);
    EXPECT_FALSE(debugHooksOn) << "an inactive entry arms nothing";
    UpdateBreakpoint(0, "#5000", "", true);

    // The PC log stopping, a one-frame log ending or the debugger opening leave the
    // breakpoints armed.
    pcLogOneFrame = true;
    UpdateDebugHooks();
    RunFrame();
    EXPECT_FALSE(pcLogOneFrame);
    EXPECT_TRUE(debugHooksOn);
    pcLogOn = true;
    StopPcLog();
    EXPECT_TRUE(debugHooksOn);
    BeginDebuggerSession();
    EndDebuggerSession();
    EXPECT_TRUE(debugHooksOn);

    DeleteBreakpoint(-1);
    EXPECT_FALSE(debugHooksOn);
    pcLogOn = true;
    UpdateDebugHooks();
    EXPECT_TRUE(debugHooksOn) << "the PC log keeps the hooks on";
    pcLogOn = false;
    UpdateDebugHooks();
}

TEST_F(BreakpointsTest, StopsTheRomAtItsKeyboardScan) {
    if (!BootTestRom()) GTEST_SKIP() << "NOLTACE_TEST_ROM does not name a readable ace.rom";
    for (int frame = 0; frame < 150; ++frame)
        RunFrame();                     // to the FORTH prompt
    AddBreakpoint("#0336", "IX=#1234"); // never holds: the ROM keeps IX at 0x3C00
    for (int frame = 0; frame < 5; ++frame)
        RunFrame();
    EXPECT_TRUE(host.openedAt.empty());
    UpdateBreakpoint(0, "#0336", "IX=#3C00", true);
    for (int frame = 0; frame < 5; ++frame)
        RunFrame();
    ASSERT_EQ(host.openedAt.size(), 5u) << "once a frame, from the frame interrupt";
    EXPECT_EQ(host.openedAt[0], 0x0336);
}

// Watchpoints on a 51K machine running code at 8000: what each kind sees, where the
// step stops (after the instruction that touched it), and what the debugger is told.
TEST_F(BreakpointsTest, WatchpointsStopAfterTheAccess) {
    machine.model = 3;
    machine.topPage = 7;
    struct Case {
        const char* name;
        BreakKind kind;
        const char* address;
        const char* condition;
        std::vector<uint8_t> code;
        int stopAfter;    // instructions run before the stop; 0 = no stop in 3
        const char* said; // WatchHitText while the debugger is open
    } const cases[] = {
        {"write", BreakKind::Write, "#9000", "", {0x32, 0x00, 0x90}, 1, "write to #9000"},
        {"write in a range",
         BreakKind::Write,
         "#8FFF-#9001",
         "",
         {0x21, 0x01, 0x90, 0x77},
         2,
         "write to #9001"},
        {"a read is no write", BreakKind::Write, "#9000", "", {0x3A, 0x00, 0x90}, 0, ""},
        {"read", BreakKind::Read, "#9000", "", {0x00, 0x3A, 0x00, 0x90}, 2, "read of #9000"},
        {"a write is no read", BreakKind::Read, "#9000", "", {0x32, 0x00, 0x90}, 0, ""},
        {"stack push", BreakKind::Write, "#EFFE", "", {0xC5}, 1, "write to #EFFE"},
        {"mirror", BreakKind::Write, "#3C80", "", {0x32, 0x80, 0x30}, 1, "write to #3C80"},
        {"condition holds", BreakKind::Write, "#9000", "A=0", {0x32, 0x00, 0x90}, 1, "write to #9000"},
        {"condition fails", BreakKind::Write, "#9000", "A=5", {0x32, 0x00, 0x90}, 0, ""},
        {"OUT on the low byte", BreakKind::Port, "#FE", "", {0x00, 0xD3, 0xFE}, 2, "port #00FE"},
        {"IN on a full port", BreakKind::Port, "#7FFE", "", {0x01, 0xFE, 0x7F, 0xED, 0x78}, 2, "port #7FFE"},
        {"another high byte", BreakKind::Port, "#7FFE", "", {0x01, 0xFE, 0xFE, 0xED, 0x78}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBreakpoints();
        ASSERT_EQ(AddBreakpoint(c.address, c.condition, c.kind), BreakpointResult::Ok);
        EXPECT_TRUE(watchpointsOn);
        EXPECT_FALSE(debugHooksOn) << "watchpoints have a switch of their own";
        for (size_t k = 0; k < c.code.size(); ++k)
            WriteMemory(uint16_t(0x8000 + k), c.code[k]);
        machine.pc = 0x8000;
        machine.sp = 0xF000;
        machine.af.hi = 0;
        machine.intLine = 0;
        host.openedAt.clear();
        host.watchTexts.clear();
        int stoppedAfter = 0;
        for (int step = 1; step <= 3 && !stoppedAfter; ++step) {
            ExecuteInstruction();
            if (!host.openedAt.empty()) stoppedAfter = step;
        }
        EXPECT_EQ(stoppedAfter, c.stopAfter);
        EXPECT_EQ(host.watchTexts.empty() ? std::string() : host.watchTexts[0], c.said);
    }
    ClearBreakpoints();
    EXPECT_FALSE(watchpointsOn);
    EXPECT_EQ(AddBreakpoint("#9001-#9000", "", BreakKind::Write), BreakpointResult::BadAddress);
    EXPECT_EQ(AddBreakpoint("#10000", "", BreakKind::Port), BreakpointResult::BadAddress);
    EXPECT_EQ(AddBreakpoint("#9000-#9001", "", BreakKind::Execute), BreakpointResult::BadAddress);
}

// A watchpoint set in the debugger while the frame runs takes effect at once: the frame
// loop changes to the watching step.
TEST_F(BreakpointsTest, AWatchpointSetFromTheDebuggerWatchesTheRestOfTheFrame) {
    machine.model = 3;
    machine.topPage = 7;
    const uint8_t code[] = {0x00, 0x32, 0x00, 0x90, 0x18, 0xFE}; // NOP; LD (9000),A; JR $
    for (size_t k = 0; k < sizeof code; ++k)
        WriteMemory(uint16_t(0x8000 + k), code[k]);
    machine.pc = 0x8000;
    machine.tstates = 100;
    machine.intLine = 0;
    AddBreakpoint("#8001", "");
    host.whileOpen = [] {
        AddBreakpoint("#9000", "", BreakKind::Write);
        DeleteBreakpoint(0);
    };
    ExecuteInstructionsUntil(machine.frameTstates);
    ASSERT_EQ(host.openedAt.size(), 2u);
    EXPECT_EQ(host.openedAt[1], 0x8004) << "after the store";
    EXPECT_EQ(host.watchTexts[1], "write to #9000");
    host.whileOpen = nullptr;
}

} // namespace

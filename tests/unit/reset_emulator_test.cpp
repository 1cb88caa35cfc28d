// ResetEmulator: whatever a session left in any subsystem, the emulator is back at its
// start-up state, every hook switch off. The shuffled one-process run of the tests
// leans on this.
#include "base/current_file.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/disassembler.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/hook_switches.h"
#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"
#include "test_support.h"

namespace {

class ResetEmulatorTest : public MachineTest {};

TEST_F(ResetEmulatorTest, EverySubsystemIsBackAtItsStartUpState) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    // A session's leftovers in each record.
    runState.Paused = runState.FastMode = true;
    NmiRequested = true;
    machine.model = 1;
    ASSERT_EQ(AddBreakpoint("#3C80", "A=#3C"), BreakpointResult::Ok);
    ASSERT_EQ(AddBreakpoint("#3C00-#3C10", "", BreakKind::Write), BreakpointResult::Ok);
    breakpointState.openingBreakpoint = 0;
    ASSERT_TRUE(StartPcLog(ScratchFolder() + "pc.log", false));
    debuggerSession.debuggerOpen = debuggerSession.runUntilHalt = true;
    disassembler.numberBase = 10;
    InsertTzxImage(std::vector<TapeBlock>(2), "tape");
    tapeDeck.tapeFileName = "tape.tzx";
    StartTzxPlayback();
    wavDeck.wavVolume = 20;
    PrepareRecording(ScratchFolder() + "rec.wav");
    StartSpool("10 20 + .\r");
    spool.helperTyping = true;
    frameDriver.frameCounter = 99;
    frameSkipPeriod = 3;
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    renderer.inkColour = 0x123456;
    renderer.frameImage[100] = 0xFFFFFF;
    currentFile.currentFileName = "tape.tzx";
    ASSERT_TRUE(AnyRareHookOn());

    ResetEmulator();

    EXPECT_FALSE(AnyRareHookOn()) << "no NMI, tape, WAV, breakpoint, watchpoint or log hook armed";
    EXPECT_FALSE(runState.Paused || runState.FocusPaused || runState.FastMode);
    EXPECT_EQ(machine.model, 0u);
    EXPECT_EQ(machine.rom, nullptr);
    EXPECT_EQ(romState.currentRomName, "");
    EXPECT_EQ(romState.romFolder, "");
    EXPECT_EQ(machine.pages[0][0], 0) << "an empty ROM image (the save trap aside)";
    EXPECT_EQ(breakpointState.breakpointCount, 0);
    EXPECT_EQ(breakpointState.openingBreakpoint, -1);
    EXPECT_FALSE(Watched(breakpointState.watchedWrites, 0x3C05));
    EXPECT_EQ(pcLog.pcLogFile, nullptr);
    EXPECT_EQ(pcLog.pcLogLimitMb, kPcLogStartLimitMb);
    EXPECT_FALSE(debuggerSession.debuggerOpen || debuggerSession.runUntilHalt);
    EXPECT_EQ(disassembler.numberBase, 16);
    EXPECT_FALSE(TapeInDeck());
    EXPECT_EQ(tapeDeck.tapeFileName, "");
    EXPECT_EQ(tapeDeck.currentBlock, nullptr);
    EXPECT_EQ(wavDeck.wavVolume, 0);
    EXPECT_FALSE(wavDeck.recordPrepared);
    EXPECT_FALSE(spool.spoolActive || spool.helperTyping);
    EXPECT_EQ(spool.spoolText.size(), 0u);
    EXPECT_EQ(frameDriver.frameCounter, 0u);
    EXPECT_EQ(frameSkipPeriod, 1);
    EXPECT_EQ(joystickInput.joystickEmulates, kJoystickEmulatesNone);
    EXPECT_EQ(renderer.inkColour, ColourSchemeAt(0).ink);
    EXPECT_EQ(renderer.frameImage[100], 0u);
    EXPECT_EQ(currentFile.currentFileName, "");
    EXPECT_EQ(machine.hl.w, 0xFFFF) << "the registers at power-on";
}

} // namespace

#include <algorithm>
#include <cstdio>
#include <vector>

#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "machine/rom_keyboard.h"
#include "running_machine.h"

namespace {

// A host clock that only moves when asked: each reading advances it a little, a 1 ms
// sleep by 1 ms, a yield by 0.2 ms, a sleep until a time to that time plus a late
// wake-up. It records what the pacing did.
class FakeClockHost : public RecordingHost {
  public:
    double now = 100.0;
    std::vector<int> sleeps;
    std::vector<double> sleptUntil;
    double lateWakeUp = 0.0001;
    int readings = 0;
    std::vector<uint64_t> presentedAtFrame;
    std::vector<std::string> questions;
    bool answer = false;

    double NowSeconds() override {
        ++readings;
        now += 0.00005;
        return now;
    }
    void SleepMs(int ms) override {
        sleeps.push_back(ms);
        now += ms > 0 ? ms / 1000.0 : 0.0002;
    }
    void SleepUntil(double due) override {
        sleptUntil.push_back(due);
        now = std::max(now, due + lateWakeUp);
    }
    void PresentFrame() override {
        RecordingHost::PresentFrame();
        presentedAtFrame.push_back(frameDriver.frameCounter);
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override {
        questions.push_back(caption + "|" + text);
        return answer;
    }
};

class FrameTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        SetHost(&clock);
    }
    void TearDown() override {
        pcLogOn = pcLogOneFrame = debugHooksOn = false;
        pcLog.pcLogFile = nullptr;
        RunningMachineTest::TearDown();
    }
    void RunFrames(int n) {
        for (int i = 0; i < n; ++i)
            RunFrame();
    }
    FakeClockHost clock;
};

TEST_F(FrameTest, PausedFrameExecutesNothing) {
    for (bool* flag : {&runState.Paused, &runState.FocusPaused}) {
        *flag = true;
        const uint16_t pc = machine.pc;
        RunFrame();
        EXPECT_EQ(machine.tstates, 0u);
        EXPECT_EQ(machine.pc, pc);
        EXPECT_EQ(frameDriver.frameCounter, 0u);
        EXPECT_EQ(machine.intLine, 0);
        ASSERT_EQ(clock.sleeps.size(), 1u);
        EXPECT_EQ(clock.sleeps[0], 1);
        *flag = false;
        clock.sleeps.clear();
    }
}

TEST_F(FrameTest, FrameRunsItsTstatesRaisesTheInterruptAndCarriesTheOvershoot) {
    RunFrame();
    EXPECT_EQ(frameDriver.frameCounter, 1u);
    EXPECT_EQ(machine.intLine, 1);
    EXPECT_LT(machine.tstates, 32u) << "the next frame starts inside the interrupt window";
    EXPECT_EQ(BeamPosition(), 0u);

    machine.tstates = 64590; // the last instruction ran 6 T-states past the frame
    machine.intLine = 0;
    RunFrame();
    EXPECT_EQ(machine.tstates, 6u);
    EXPECT_EQ(machine.intLine, 1);
    EXPECT_LT(machine.tstates, uint32_t(machine.intLength));
}

TEST_F(FrameTest, InterruptIsTakenOnceAtTheStartOfEachFrame) {
    // In user RAM: IM 2; LD A,3Dh; LD I,A; EI; loop: JR loop. The IM 2 vector is read at
    // I:idleBus = 3D20h and points to a handler that counts: INC (HL); EI; RET.
    const uint8_t program[] = {0xED, 0x5E, 0x3E, 0x3D, 0xED, 0x47, 0xFB, 0x18, 0xFE};
    const uint8_t handler[] = {0x34, 0xFB, 0xC9};
    std::copy(std::begin(program), std::end(program), machine.ram + 0x3C00);
    std::copy(std::begin(handler), std::end(handler), machine.ram + 0x3E00);
    machine.ram[0x3D20] = 0x00;
    machine.ram[0x3D21] = 0x3E;
    machine.pc = 0x3C00;
    machine.sp = 0x3F80;
    machine.hl.w = 0x3F00;
    RunFrames(5);
    EXPECT_EQ(machine.ram[0x3F00], 4) << "none in the first frame, then one per frame start";
}

TEST_F(FrameTest, FrameSkipPresentsEveryNthFrame) {
    frameSkipPeriod = 3;
    RestartFrameSkip();
    RunFrames(10);
    EXPECT_EQ(clock.presentedAtFrame, (std::vector<uint64_t>{3, 6, 9}));
    EXPECT_EQ(frameDriver.frameCounter, 10u) << "every frame still runs";

    frameSkipPeriod = 1;
    RestartFrameSkip();
    clock.presentedAtFrame.clear();
    RunFrames(2);
    EXPECT_EQ(clock.presentedAtFrame, (std::vector<uint64_t>{11, 12}));
}

TEST_F(FrameTest, PacingSleepsUntilShortlyBeforeTheFrameIsDueThenSpinsBriefly) {
    runState.FastMode = false;
    RunFrame(); // the first paced frame has nothing to measure from
    EXPECT_TRUE(clock.sleptUntil.empty());
    const double firstEnd = clock.now;
    int frames = 0;
    // Wake-ups on time, a little late, and later than the spin margin.
    for (double late : {0.0001, 0.0, 0.0004, 0.0004, 0.0004, 0.0001}) {
        clock.lateWakeUp = late;
        clock.sleptUntil.clear();
        const int readingsBefore = clock.readings;
        RunFrame();
        ++frames;
        const double due = firstEnd + 0.02 * frames;
        EXPECT_GE(clock.now, due - 1e-9) << late;
        EXPECT_LT(clock.now, due + 0.0005) << late << ": late wake-ups do not add up";
        // One sleep, ending well under a millisecond before the frame is due; no yields.
        ASSERT_EQ(clock.sleptUntil.size(), 1u) << late;
        EXPECT_GT(due - clock.sleptUntil[0], 0.0) << late;
        EXPECT_LE(due - clock.sleptUntil[0], 0.0005) << late;
        // The spin reads the clock only across that short margin (each reading is 50 us).
        EXPECT_LE(clock.readings - readingsBefore, 12) << late;
    }
    EXPECT_TRUE(clock.sleeps.empty()) << "no 1 ms sleeps and no yields";

    // A gap of more than a frame (the debugger was open) starts the schedule again.
    clock.now += 0.5;
    clock.sleptUntil.clear();
    RunFrame();
    EXPECT_TRUE(clock.sleptUntil.empty()) << "a late frame does not wait";
    const double restart = clock.now;
    RunFrame();
    EXPECT_GE(clock.now, restart + 0.02);
    EXPECT_LT(clock.now, restart + 0.0205);
}

TEST_F(FrameTest, SoundOrFastModeLeavesThePacingToOthers) {
    runState.FastMode = true;
    RunFrames(3);
    soundOutputActive = true;
    runState.FastMode = false;
    RunFrames(3);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_TRUE(clock.sleptUntil.empty());
    EXPECT_EQ(clock.readings, 0);
}

// Without the Ace ROM's keyboard routine nothing shows that a key was taken: each is held
// for the pacer's bound, let go for a frame, and the next follows. (An earlier test may
// have loaded the real ROM; these run on one of NOPs.)
void UseNopRom() {
    static uint8_t nops[0x2000] = {};
    machine.pages[0] = nops;
}

TEST_F(FrameTest, SpoolWithoutTheRomHoldsEachCharacterForTheBound) {
    UseNopRom();
    const std::string text = "abc";
    StartSpool(text);
    std::vector<int> pressedAt, releasedAt;
    for (int frame = 1; frame <= 100 && spool.spoolActive; ++frame) {
        const bool wasUp = NoKeyDown();
        RunFrame();
        if (wasUp && !NoKeyDown()) pressedAt.push_back(frame);
        if (!wasUp && NoKeyDown()) releasedAt.push_back(frame);
    }
    constexpr int cycle = RomKeyPacer::kMaxHoldFrames + 1;
    EXPECT_EQ(pressedAt, (std::vector<int>{1, 1 + cycle, 1 + 2 * cycle}));
    EXPECT_EQ(releasedAt, (std::vector<int>{cycle, 2 * cycle, 3 * cycle}));
    EXPECT_EQ(frameDriver.frameCounter, uint64_t(3 * cycle + 1))
        << "the spool ends on the frame after the last release";
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(FrameTest, SpoolSpeedIsTheLeastTimeACharacterTakes) {
    UseNopRom();
    opt_spool_speed = 20;
    StartSpool(std::string("ab"));
    RunFrames(20);
    EXPECT_TRUE(NoKeyDown());
    RunFrame();
    EXPECT_TRUE(KeyDown(7, 3)) << "B 20 frames after A";
}

TEST_F(FrameTest, CrLfIsOneEnterAndKeylessBytesCostNothing) {
    UseNopRom();
    StartSpool(std::string("a\r\n\x01" "b"));
    constexpr int cycle = RomKeyPacer::kMaxHoldFrames + 1;
    RunFrames(cycle + 1);
    EXPECT_TRUE(KeyDown(6, 0)) << "ENTER second";
    RunFrames(cycle);
    EXPECT_TRUE(KeyDown(7, 3)) << "B third";
}

TEST_F(FrameTest, RestartingASpoolReplacesIt) {
    UseNopRom();
    StartSpool(std::string("aaaa"));
    RunFrames(5);
    // The key still down from the first text comes up, then Z follows at the spool's pace.
    StartSpool(std::string("z"));
    for (int frames = 0; frames <= opt_spool_speed && !KeyDown(0, 2); ++frames)
        RunFrame();
    EXPECT_TRUE(KeyDown(0, 2)) << "Z";
    RunFrames(30);
    EXPECT_FALSE(spool.spoolActive);
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(FrameTest, SpeedOneStillEndsTheSpool) {
    UseNopRom();
    opt_spool_speed = 1;
    StartSpool(std::string("abc"));
    RunFrames(3 * (RomKeyPacer::kMaxHoldFrames + 1) + 1);
    EXPECT_FALSE(spool.spoolActive);
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(FrameTest, HelperTypesItsPendingCharacterEverySixFrames) {
    spool.helperTyping = true;
    spool.typingCounter = 0; // as opening the Keyboard Helper sets it
    spool.helperPendingCharacter = 'y';
    RunFrame();
    EXPECT_TRUE(NoKeyDown());
    RunFrame();
    EXPECT_TRUE(KeyDown(5, 4)) << "Y typed on the frame where the count is 1";
    EXPECT_EQ(spool.helperPendingCharacter, 0);
    spool.helperPendingCharacter = 'p';
    RunFrames(4);
    EXPECT_TRUE(KeyDown(5, 4));
    EXPECT_FALSE(KeyDown(5, 0));
    RunFrame();
    EXPECT_TRUE(NoKeyDown()) << "released for a frame before the next character";
    RunFrame();
    EXPECT_TRUE(KeyDown(5, 0));
}

TEST_F(FrameTest, OneFramePcLogEndsWithItsFrame) {
    const std::string path = ScratchFolder() + "pc.log";
    pcLog.pcLogFile = std::make_unique<FileWriter>(path);
    ASSERT_TRUE(pcLog.pcLogFile->Open());
    pcLogOneFrame = debugHooksOn = true;
    RunFrame();
    EXPECT_FALSE(pcLogOneFrame);
    EXPECT_FALSE(debugHooksOn);
    EXPECT_EQ(pcLog.pcLogFile, nullptr);
    EXPECT_EQ(clock.pcLogStops, std::vector<int>{129});
}

TEST_F(FrameTest, LargePcLogAsksBeforeGrowingFurther) {
    const std::string path = ScratchFolder() + "pc.log";
    pcLog.pcLogFile = std::make_unique<FileWriter>(path);
    ASSERT_TRUE(pcLog.pcLogFile->Open());
    std::fseek(pcLog.pcLogFile->Stream(), 3 * 1048576 - 1, SEEK_SET); // a 3 MB file, sparse
    std::fputc('x', pcLog.pcLogFile->Stream());
    pcLogOn = debugHooksOn = true;
    pcLog.pcLogLimitMb = 2;
    clock.answer = true;
    machine.tstates = machine.frameTstates; // no instruction: only the end-of-frame work
    RunFrame();
    ASSERT_EQ(clock.questions.size(), 1u);
    EXPECT_EQ(clock.questions[0], "DEBUG|File is 3MB in size \n\nDo you wish to continue?");
    EXPECT_EQ(pcLog.pcLogLimitMb, 4) << "Yes doubles the limit";
    EXPECT_TRUE(pcLogOn);

    pcLog.pcLogLimitMb = 3;
    clock.answer = false;
    machine.tstates = machine.frameTstates;
    RunFrame();
    EXPECT_FALSE(pcLogOn) << "No switches logging off";
    EXPECT_EQ(pcLog.pcLogFile, nullptr);
}

} // namespace

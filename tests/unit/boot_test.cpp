// The real ROM on the whole machine: boot, typing through the spool, the rendered picture
// and the frame interrupt that drives the ROM's keyboard scan.
#include <set>
#include <string>

#include "machine/memory.h"
#include "machine/z80.h"
#include "running_machine.h"

namespace {

class BootTest : public RunningMachineTest {
  protected:
    static void RunFrames(int n) {
        for (int i = 0; i < n; ++i)
            RunFrame();
    }
    static uint32_t Pixel(int x, int y) { return renderer.frameImage[y * kFrameWidth + x]; }
};

TEST_F(BootTest, BootsToTheForthPromptWithItsCursor) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    RunFrames(100);
    for (int row = 0; row < 23; ++row)
        EXPECT_EQ(ScreenLine(row), "") << row;
    // The input line at the bottom: the cursor is the inverse of graphic 0x17.
    EXPECT_EQ(machine.ram[0x2400 + 23 * 32 + 1], 0x97);
    EXPECT_GE(machine.iff1, 1) << "the ROM waits for keys with interrupts on";
}

TEST_F(BootTest, SpooledSumIsEvaluated) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    RunFrames(100);
    StartSpool(std::string("123 456 + .\r"));
    for (int i = 0; i < 200 && spool.spoolActive; ++i)
        RunFrame();
    ASSERT_FALSE(spool.spoolActive);
    RunFrames(5);
    EXPECT_EQ(ScreenLine(0), "123 456 + . 579  OK");
}

TEST_F(BootTest, BootPictureHasBlackBorderAndTheCursorInInk) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    RunFrames(100);
    for (int x : {0, 63, 320, 383})
        EXPECT_EQ(Pixel(x, 150), 0u) << x;
    for (int y : {0, 55, 248, 311})
        EXPECT_EQ(Pixel(200, y), 0u) << y;
    // Cursor: 0x97 at row 23, column 1 (pixels 72-79, lines 240-247); glyph 0x17 is
    // solid on its top four lines and the right half of the bottom four, so inverted
    // only the bottom-left quarter shows in ink.
    for (int line = 0; line < 8; ++line)
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(Pixel(72 + k, 240 + line), line >= 4 && k < 4 ? 0xCACACAu : 0u) << line << "," << k;
}

TEST_F(BootTest, FrameInterruptIsTakenAtTheStartOfEachFrame) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    RunFrames(50);
    // The ROM's interrupt routine counts frames in its FRAMES variable at 0x3C2B.
    const auto frames = [] { return machine.ram[0x3C2B] | machine.ram[0x3C2C] << 8; };
    const int before = frames();
    RunFrames(10);
    EXPECT_EQ(frames() - before, 10);
}

// Undefined ED opcodes are harmless no-operations, but the real ROM never needs one: hitting
// any (or the trap opcodes with no tape) during start-up would mean a decoding fault.
bool IsDefinedEdOpcode(uint8_t op) {
    if (op >= 0x40 && op <= 0x7F) return true;
    return (op & 0xE4) == 0xA0 && (op & 0x03) <= 3 && op <= 0xBB;
}

TEST_F(BootTest, StartUpReachesTheIdleLoopThroughDefinedInstructionsOnly) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    std::set<uint16_t> lastFramePcs;
    for (int frame = 0; frame < 60; ++frame) {
        lastFramePcs.clear();
        while (machine.tstates < machine.frameTstates) {
            const uint16_t pc = machine.pc;
            if (FetchOpcodeByte(pc) == 0xED) {
                const uint8_t op = FetchOpcodeByte(uint16_t(pc + 1));
                ASSERT_TRUE(IsDefinedEdOpcode(op)) << std::hex << "ED " << int(op) << " at " << pc;
            }
            lastFramePcs.insert(pc);
            ExecuteInstruction();
        }
        machine.intLine = 1;
        machine.tstates -= machine.frameTstates;
        ResetBeam();
    }
    // Idle at the prompt: a small keyboard-scan loop and the interrupt routine, all in ROM.
    EXPECT_LT(lastFramePcs.size(), 400u);
    for (uint16_t pc : lastFramePcs) EXPECT_LT(pc, 0x2000) << std::hex << pc;
}

} // namespace

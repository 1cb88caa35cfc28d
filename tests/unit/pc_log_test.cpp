#include <algorithm>
#include <cstdio>

#include "debugger/pc_log.h"
#include "machine/memory.h"
#include "test_support.h"

namespace {

class PcLogTest : public MachineTest {
protected:
    void TearDown() override {
        pcLog.pcLogFile = nullptr;
        pcLog.Reset();
        MachineTest::TearDown();
    }

    // Logs the instruction at pc `count` times into a new file and returns the text.
    std::string LogSteps(int count) {
        const std::string path = ScratchFolder() + "pc.log";
        pcLog.pcLogFile = std::make_unique<FileWriter>(path);
        EXPECT_TRUE(pcLog.pcLogFile->Open());
        for (int n = 0; n < count; ++n) PcLogStep();
        EXPECT_TRUE(pcLog.pcLogFile->Commit());
        pcLog.pcLogFile = nullptr;
        return ReadFileText(path);
    }
};

TEST_F(PcLogTest, LineShowsRegistersAndZeroPaddedTstates) {
    const PcLogRegisters regs{0x1234, 0xABCD, 0x0001, 0x0203, 0xFFFF, 0x3F05, 0x7FF0, 42};
    EXPECT_EQ(FormatPcLogLine(regs, "NOP"),
              "PC = 1234  AF = ABCD  BC = 0001  DE = 0203  HL = FFFF  IR = 3F05  SP = 7FF0  tstate = 00042  NOP\n");
}

TEST_F(PcLogTest, RepeatedBlockLoopsAreLoggedOnce) {
    machine.pc = 0x3C00;
    WriteMemory(0x3C00, 0xED);
    WriteMemory(0x3C01, 0xB0); // LDIR
    const std::string loops = LogSteps(3);
    EXPECT_EQ(std::count(loops.begin(), loops.end(), '\n'), 1);

    pcLog.Reset();
    WriteMemory(0x3C00, 0x76); // HALT
    const std::string halts = LogSteps(4);
    EXPECT_EQ(std::count(halts.begin(), halts.end(), '\n'), 1);

    pcLog.Reset();
    WriteMemory(0x3C00, 0x00); // NOPs are logged every time
    const std::string nops = LogSteps(3);
    EXPECT_EQ(std::count(nops.begin(), nops.end(), '\n'), 3);
}

} // namespace

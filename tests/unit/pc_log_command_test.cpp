// The Debug menu's PC log commands: the file question, the failure box, and a one-frame
// log that ends with its frame and unticks its menu item.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "running_machine.h"

namespace {

class PcLogCommandTest : public RunningMachineTest {
  protected:
    void TearDown() override {
        StopPcLog();
        debugHooksOn = false;
        RunningMachineTest::TearDown();
    }
};

TEST_F(PcLogCommandTest, OneFrameLogEndsWithItsFrame) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    for (int f = 0; f < 50; ++f)
        RunFrame();
    const std::string path = ScratchFolder() + "frame.txt";
    recorder.saveAnswers = {path};
    ASSERT_TRUE(PcLogOneFrameCommand());
    EXPECT_TRUE(pcLogOneFrame);
    EXPECT_TRUE(debugHooksOn);
    RunFrame();
    EXPECT_FALSE(pcLogOneFrame);
    EXPECT_FALSE(debugHooksOn);
    EXPECT_EQ(recorder.pcLogStops, std::vector<int>{kPcLogOneFrameMenuItem});
    std::ifstream in(path);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 100);
    // Nothing more is written after the frame.
    RunFrame();
    std::ifstream again(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), std::istreambuf_iterator<char>()), text);
}

TEST_F(PcLogCommandTest, ContinuousLogFollowsTheFileQuestion) {
    // Cancelled: stays off.
    EXPECT_FALSE(PcLoggingCommand());
    EXPECT_FALSE(pcLogOn);
    // A file that cannot be opened: the box, and off.
    recorder.saveAnswers = {ScratchFolder() + "no/such/folder/log.txt"};
    EXPECT_FALSE(PcLoggingCommand());
    EXPECT_FALSE(pcLogOn);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], "Cannot Open File|ERROR");
    // On, then off again through the same command.
    recorder.saveAnswers = {ScratchFolder() + "log.txt"};
    EXPECT_TRUE(PcLoggingCommand());
    EXPECT_TRUE(pcLogOn);
    EXPECT_TRUE(debugHooksOn);
    EXPECT_FALSE(PcLoggingCommand());
    EXPECT_FALSE(pcLogOn);
    EXPECT_FALSE(debugHooksOn);
    EXPECT_EQ(recorder.pcLogStops, std::vector<int>{kPcLoggingMenuItem});
}

} // namespace

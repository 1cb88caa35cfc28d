// noltace-headless with signal tapes: --record of the ROM's SAVE and --load of the
// recording, a TZX loaded with --fastload, and --list-tape's rows.
#include "headless_runner.h"
#include "tape_convert.h"
#include "tape_test_support.h"

namespace {

class TapeSignalHeadlessTest : public HeadlessRomFixture {};

TEST_F(TapeSignalHeadlessTest, RecordedSaveLoadsBackFromTheWavInAnotherRun) {
    HeadlessResult r = Run({"--record", dir + "square", "--run", "100", "--type", ": sq dup * ;\n", "--type",
                            "save sq\n", "--run", "400"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_GT(ReadFile(dir + "square.wav").size(), 44u) << "\".wav\" is added";

    r = Run({"--run", "100", "--load", dir + "square.wav", "--type", "load sq\n", "--until",
             "Dict: sq         OK", "--type", "7 sq .\n", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("7 sq . 49"), std::string::npos) << r.out;
}

TEST_F(TapeSignalHeadlessTest, TzxLoadsWithFastLoadAndListsItsBlocks) {
    if (TestDataPath().empty()) GTEST_SKIP() << "NOLTACE_TESTDATA does not name the test data folder";
    const std::string tzx = TestDataPath() + "/ace/tzx/xmodem.tzx";
    HeadlessResult r = Run({"--model", "3", "--fastload", "--stats", "--run", "100", "--load", tzx, "--type",
                            "0 0 bload xmodem\n", "--until", "Bytes: xmodem     OK"});
    ASSERT_EQ(r.status, 0) << r.err;

    r = Run({"--list-tape", tzx});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Text Description: Created using the EightyOne emulator\nBytes: xmodem      CODE 63488,238\n240 data bytes\n"
                     "End Of Tape\n");
    WriteFile(dir + "two.tap", Concat({TapBlock(Bytes(25, 0x20)), TapBlock(Bytes(3, 7))}));
    r = Run({"--list-tape", dir + "two.tap"});
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1), "4 data bytes\nEnd Of Tape\n") << r.out;

    Bytes cut = TapToTzx(Concat({TapBlock(Bytes(25, 0)), TapBlock(Bytes(30, 1))}));
    cut.resize(cut.size() - 3);
    WriteFile(dir + "cut.tzx", cut);
    r = Run({"--list-tape", dir + "cut.tzx"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Dict: ??????????  0 bytes\nEnd Of Tape\n") << "a header reads as in a TAP";
    EXPECT_NE(r.err.find("cut short"), std::string::npos) << r.err;
}

} // namespace

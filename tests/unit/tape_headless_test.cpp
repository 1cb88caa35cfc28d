// noltace-headless with tapes, snapshots and binary files on the real ROM: the ROM's SAVE
// answered by --tape-out, --load of a tape with and without --autoload, snapshots and
// binary blocks written and read back.
#include <filesystem>

#include "headless_runner.h"
#include "tape/tap_format.h"
#include "tape_test_support.h"

namespace {

namespace fs = std::filesystem;

class TapeHeadlessTest : public HeadlessRomFixture {};

TEST_F(TapeHeadlessTest, SavedWordLoadsBackInAnotherRun) {
    HeadlessResult r = Run({"--tape-out", dir + "square", "--run", "100", "--type", ": sq dup * ;\n",
                            "--type", "save sq\n", "--run", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    const TapParseResult tape = ParseTapBlocks(ReadFile(dir + "square.tap"));
    ASSERT_EQ(tape.blocks.size(), 2u);
    EXPECT_EQ(tape.blocks[0].length, 26);
    EXPECT_EQ(std::string(tape.blocks[0].data.begin() + 1, tape.blocks[0].data.begin() + 11), "sq        ");

    r = Run({"--run", "100", "--load", dir + "square.tap", "--type", "load sq\n", "--run", "20", "--type",
             "7 sq .\n", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("7 sq . 49"), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(TapeHeadlessTest, SaveWithoutTapeOutWritesNothing) {
    const HeadlessResult r = Run({"--run", "100", "--type", ": sq dup * ;\nsave sq\n", "--run", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(TapeHeadlessTest, AutoloadTypesLoadAndTheProgramRuns) {
    REQUIRE_TEST_DATA();
    const HeadlessResult r = Run({"--model", "1", "--autoload", "--run", "100", "--load",
                                  TestDataPath() + "/ace/tap/starfield.tap", "--run", "50", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Dict: stars"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
}

TEST_F(TapeHeadlessTest, SnapshotWrittenAndLoadedAgain) {
    HeadlessResult r =
        Run({"--run", "100", "--type", "1234 5678 + .\n", "--run", "20", "--save-snapshot", dir + "sum"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(fs::exists(dir + "sum.ace"));
    r = Run({"--run", "5", "--load", dir + "sum.ace", "--run", "5", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("6912"), std::string::npos) << r.out;
}

TEST_F(TapeHeadlessTest, BinaryBlocksOutAndIn) {
    HeadlessResult r = Run({"--model", "1", "--run", "100", "--type", "171 20000 c! 205 20001 c!\n", "--run",
                            "20", "--save-binary", dir + "pair", "$4E20", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir + "pair.bin"), (Bytes{171, 205}));
    r = Run({"--model", "1", "--run", "100", "--load-binary", dir + "pair.bin", "#4e20", "--type",
             "20000 c@ . 20001 c@ .\n", "--run", "20", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("20000 c@ . 171"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("20001 c@ . 205"), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(TapeHeadlessTest, BadFileArgumentsAreOneLine) {
    WriteFile(dir + "x.bin", Bytes{1});
    const std::vector<std::vector<std::string>> usage = {
        {"--load-binary", dir + "x.bin", "65536"},
        {"--load-binary", dir + "x.bin", "$"},
        {"--load-binary", dir + "x.bin"},
        {"--save-binary", dir + "y", "0", "ten"},
        {"--save-binary", dir + "y", "0"},
        {"--save-snapshot"},
        {"--tape-out"},
    };
    for (const auto& args : usage) {
        const HeadlessResult r = Run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"--load-binary", dir + "absent.bin", "0"},
                                                                  {"--load", dir + "x.bin"},
                                                                  {"--load", dir + "absent.tap"}}) {
        const HeadlessResult r = Run(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
    }
}

} // namespace

// noltace-headless writing its sound to a WAV file (--audio-out) with an AY interface
// fitted (--sound-interface).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "headless_runner.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundHeadlessTest, AudioOutHoldsOneChunkPerFrame) {
    REQUIRE_HEADLESS();
    REQUIRE_TEST_ROM();
    const std::string wav = ScratchFolder() + "run.wav";
    const HeadlessResult r =
        RunHeadless({"--rom", TestRomPath(), "--audio-out", wav, "--sound-interface", "2", "--run", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> b = ReadFile(wav);
    ASSERT_EQ(b.size(), 44u + 10u * 3536u); // 884 16-bit stereo samples a frame
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
}

TEST(SoundHeadlessTest, BadSoundOptionsAreOneClearLine) {
    REQUIRE_HEADLESS();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--sound-interface", "5"}, {"--sound-interface"}, {"--audio-out"}, {"--audio-out", ""}}) {
        const HeadlessResult r = RunHeadless(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
    }
    const HeadlessResult help = RunHeadless({"--help"});
    EXPECT_NE(help.out.find("--audio-out"), std::string::npos);
    EXPECT_NE(help.out.find("--sound-interface"), std::string::npos);
}

TEST(SoundHeadlessTest, AnUnwritableAudioFileStopsTheRunWithItsReason) {
    REQUIRE_HEADLESS();
    REQUIRE_TEST_ROM();
    const std::string wav = ScratchFolder() + "missing/folder/run.wav";
    const HeadlessResult r = RunHeadless({"--rom", TestRomPath(), "--audio-out", wav, "--run", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.ErrLines(), 1) << r.err;
    EXPECT_NE(r.err.find("run.wav"), std::string::npos) << r.err;
}

} // namespace

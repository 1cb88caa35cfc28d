// noltace-headless writing its sound to a WAV file (--audio-out) with an AY interface
// fitted (--sound-interface).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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

// The channels of a WAV written by --audio-out, each as its signed 16-bit samples.
std::vector<std::vector<int>> WavChannels(const std::vector<uint8_t>& b) {
    const int channels = b.size() > 23 ? b[22] : 0;
    std::vector<std::vector<int>> out(static_cast<size_t>(channels));
    for (size_t at = 44; channels && at + 2u * channels <= b.size(); at += 2u * channels)
        for (int c = 0; c < channels; ++c)
            out[size_t(c)].push_back(int16_t(b[at + 2 * c] | b[at + 2 * c + 1] << 8));
    return out;
}

double Rms(const std::vector<int>& s, size_t from) {
    double sum = 0;
    for (size_t i = from; i < s.size(); ++i)
        sum += double(s[i]) * s[i];
    return s.size() > from ? std::sqrt(sum / double(s.size() - from)) : 0.0;
}

// A FORTH word plays one AY channel through the Boldfield's ports (253 = 0xFD selects,
// 255 = 0xFF writes): a 1 kHz tone at full volume. Each output mode puts it on its sides
// only, at the volume asked for.
TEST(SoundHeadlessTest, EachOutputModePutsAChannelOnItsOwnSides) {
    REQUIRE_HEADLESS();
    REQUIRE_TEST_ROM();
    const std::string channelA = "62 7 R 15 8 R 100 0 R 0 1 R";  // mixer: tone A only
    const std::string channelC = "59 7 R 15 10 R 100 4 R 0 5 R"; // tone C only
    const struct {
        const char* mode;
        const std::string& program;
        const char* volume;
        bool left, right; // where the tone must sound; silence elsewhere
        double rms;       // of a 2 x 3999 square wave, scaled by the volume
    } cases[] = {
        {"1", channelA, "40", true, false, 3999}, {"1", channelC, "40", false, true, 3999},
        {"2", channelA, "40", true, false, 3999}, {"2", channelC, "40", true, true, 3999},
        {"0", channelA, "40", true, true, 3999},  {"1", channelA, "100", true, false, 9997.5},
        {"1", channelC, "0", false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + " volume " + c.volume + ": " + c.program);
        const std::string wav = ScratchFolder() + "ay.wav";
        const HeadlessResult r = RunHeadless(
            {"--rom", TestRomPath(), "--sound-interface", "1", "--sound-output", c.mode, "--volume", c.volume,
             "--audio-out", wav, "--type", ": R 253 OUT 255 OUT ; " + c.program + "\n", "--run", "100"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::vector<int>> sides = WavChannels(ReadFile(wav));
        ASSERT_EQ(sides.size(), std::string(c.mode) == "0" ? 1u : 2u);
        if (sides.size() == 1) sides.push_back(sides[0]); // mono plays on both sides
        // The last 40 frames, long after the tone started.
        const size_t from = sides[0].size() - 40 * 884;
        EXPECT_NEAR(Rms(sides[0], from), c.left ? c.rms : 0.0, c.rms * 0.02);
        EXPECT_NEAR(Rms(sides[1], from), c.right ? c.rms : 0.0, c.rms * 0.02);
        const bool sounds[2] = {c.left, c.right};
        for (int k = 0; k < 2; ++k)
            for (size_t i = from; i < sides[k].size(); ++i)
                ASSERT_LE(std::abs(sides[k][i]), sounds[k] ? int(c.rms * 1.1) : 0)
                    << "side " << k << " at " << i;
    }
}

TEST(SoundHeadlessTest, BadSoundOptionsAreOneClearLine) {
    REQUIRE_HEADLESS();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--sound-interface", "5"},
                                               {"--sound-interface"},
                                               {"--audio-out"},
                                               {"--audio-out", ""},
                                               {"--volume", "101"},
                                               {"--volume", "-1"},
                                               {"--sound-output", "3"},
                                               {"--echo", "x"}}) {
        const HeadlessResult r = RunHeadless(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
    }
    const HeadlessResult help = RunHeadless({"--help"});
    EXPECT_NE(help.out.find("--audio-out"), std::string::npos);
    EXPECT_NE(help.out.find("--sound-interface"), std::string::npos);
    EXPECT_NE(help.out.find("--volume"), std::string::npos);
    EXPECT_NE(help.out.find("--sound-output"), std::string::npos);
    EXPECT_NE(help.out.find("--echo"), std::string::npos);
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

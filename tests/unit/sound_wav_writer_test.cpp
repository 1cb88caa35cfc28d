// The WAV-file audio device: the stream it would have played, as a PCM WAV file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sound/wav_writer_device.h"
#include "sound_test_support.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

using SoundWavWriterTest = SoundTest;

TEST_F(SoundWavWriterTest, WritesEveryFlushedChunkUnderAValidHeader) {
    const std::string path = ScratchFolder() + "out.wav";
    {
        WavWriterDevice wav(path);
        SetAudioDevice(&wav);
        ASSERT_EQ(InitSound(), 0);
        HoldSpeaker(0);
        HoldSpeaker(1, 2 * 884 + 99); // one step up, then a slow fall back to silence
        ShutdownSound();              // the part-filled chunk is dropped, as on any stop
        EXPECT_EQ(wav.dataBytes(), 2u * 3536u);
        SetAudioDevice(nullptr);
    }
    const std::vector<uint8_t> b = ReadFile(path);
    ASSERT_EQ(b.size(), 44u + 2 * 3536u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), 36u + 2 * 3536u);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(b, 16), 16u);
    EXPECT_EQ(Le16(b, 20), 1); // PCM
    EXPECT_EQ(Le16(b, 22), 2); // ABC stereo
    EXPECT_EQ(Le32(b, 24), 44100u);
    EXPECT_EQ(Le32(b, 28), 44100u * 4);
    EXPECT_EQ(Le16(b, 32), 4);
    EXPECT_EQ(Le16(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(Le32(b, 40), 2u * 3536u);
    EXPECT_EQ(Le16(b, 44), 0);
    EXPECT_EQ(Le16(b, 48), 16384);
    for (size_t at = 48; at < b.size(); at += 4) {
        ASSERT_EQ(Le16(b, at), Le16(b, at + 2)) << at; // the speaker is on both sides
        if (at + 4 < b.size()) {
            ASSERT_LE(Le16(b, at + 4), Le16(b, at)) << at;
        }
    }
    EXPECT_GT(Le16(b, b.size() - 2), 1000);
}

TEST_F(SoundWavWriterTest, EightBitMonoAtTheLowestRate) {
    const std::string path = ScratchFolder() + "mono8.wav";
    opt_snd_soundbits = 8;
    opt_snd_output = kOutputMono;
    opt_snd_freq = 11025;
    WavWriterDevice wav(path);
    SetAudioDevice(&wav);
    ASSERT_EQ(InitSound(), 0);
    for (int i = 0; i < 221; ++i)
        TakeSample();
    ShutdownSound();
    const std::vector<uint8_t> b = ReadFile(path);
    ASSERT_EQ(b.size(), 44u + 221u);
    EXPECT_EQ(Le16(b, 22), 1);
    EXPECT_EQ(Le32(b, 24), 11025u);
    EXPECT_EQ(Le32(b, 28), 11025u);
    EXPECT_EQ(Le16(b, 32), 1);
    EXPECT_EQ(Le16(b, 34), 8);
}

TEST_F(SoundWavWriterTest, AnUnwritablePathIsReportedAndSoundStaysOff) {
    WavWriterDevice wav(ScratchFolder() + "no/such/folder/out.wav");
    SetAudioDevice(&wav);
    EXPECT_EQ(InitSound(), 1);
    EXPECT_EQ(LastReportedMessage().code, 64);
    EXPECT_FALSE(SoundOutputOn());
}

} // namespace

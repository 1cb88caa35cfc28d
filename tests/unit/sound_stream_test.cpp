// The sample stream: its derived timing, its clocks, how chunks reach the device, and
// the echo rings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <set>

#include "sound_test_support.h"

namespace {

TEST(SoundStreamParameters, FramesOfSamplesAtEachRate) {
    const StreamParameters at44 = ComputeStreamParameters(44100, 16, 2, 100.0f, 8);
    EXPECT_EQ(at44.tstatesPerSample, 73u);
    EXPECT_EQ(at44.samplesPerChunk, 884u);
    EXPECT_EQ(at44.chunkBytes, 3536u);
    EXPECT_EQ(at44.streamBytes, 8u * 3536u);

    const StreamParameters at22 = ComputeStreamParameters(22050, 16, 2, 100.0f, 8);
    EXPECT_EQ(at22.tstatesPerSample, 146u);
    EXPECT_EQ(at22.samplesPerChunk, 442u);

    const StreamParameters at11 = ComputeStreamParameters(11025, 8, 1, 100.0f, 1);
    EXPECT_EQ(at11.tstatesPerSample, 292u);
    EXPECT_EQ(at11.samplesPerChunk, 221u);
    EXPECT_EQ(at11.chunkBytes, 221u);
    EXPECT_EQ(at11.streamBytes, 221u);

    EXPECT_EQ(ComputeStreamParameters(44100, 8, 2, 100.0f, 8).chunkBytes, 1768u);
    EXPECT_EQ(ComputeStreamParameters(44100, 16, 1, 100.0f, 8).chunkBytes, 1768u);
}

TEST(SoundStreamParameters, SpeedStretchesTheTstatesPerSample) {
    const StreamParameters half = ComputeStreamParameters(44100, 16, 2, 50.0f, 8);
    EXPECT_EQ(half.tstatesPerSample, 36u); // trunc(36.6)
    EXPECT_EQ(half.samplesPerChunk, 897u); // trunc(32292 / 36)
    const StreamParameters twice = ComputeStreamParameters(44100, 16, 2, 200.0f, 8);
    EXPECT_EQ(twice.tstatesPerSample, 146u);
    EXPECT_EQ(twice.samplesPerChunk, 884u);
}

using SoundOutputTest = SoundTest;

TEST_F(SoundOutputTest, InitSoundLatchesTheDefaultStream) {
    StartStream();
    EXPECT_TRUE(SoundOutputOn());
    EXPECT_EQ(device.calls, (std::vector<std::string>{"connect", "open", "clear", "play"}));
    EXPECT_EQ(device.format.sampleRate, 44100u);
    EXPECT_EQ(device.format.bits, 16);
    EXPECT_EQ(device.format.channels, 2);
    EXPECT_EQ(device.format.chunkBytes, 3536u);
    EXPECT_EQ(device.format.queueChunks, 2u);
    EXPECT_EQ(soundStream.params.tstatesPerSample, 73u);
}

TEST_F(SoundOutputTest, SixteenBitFallsBackToEightWhenTheDeviceCannot) {
    device.caps.sixteenBit = false;
    StartStream();
    EXPECT_EQ(device.format.bits, 8);
    EXPECT_EQ(soundStream.params.bits, 8);
    EXPECT_EQ(device.format.chunkBytes, 1768u);
}

TEST_F(SoundOutputTest, SampleRateIsClampedToWhatTheDeviceTakes) {
    opt_snd_freq = 8000;
    StartStream();
    EXPECT_EQ(device.format.sampleRate, 11025u);
    ShutdownSound();
    opt_snd_freq = 44100;
    device.caps.maxSampleRate = 22050;
    StartStream();
    EXPECT_EQ(device.format.sampleRate, 22050u);
    EXPECT_EQ(soundStream.params.tstatesPerSample, 146u);
}

TEST_F(SoundOutputTest, ImpossibleSpeedsAreKeptInRange) {
    opt_emulation_speed = 0.0f; // a hand-edited configuration file
    StartStream();
    EXPECT_EQ(soundStream.params.tstatesPerSample, 7u); // as at 10%
    ShutdownSound();
    opt_emulation_speed = 1e9f;
    StartStream();
    EXPECT_EQ(soundStream.params.tstatesPerSample, 732u); // as at 1000%
}

TEST_F(SoundOutputTest, FullChunksGoToTheDeviceOneAtATime) {
    StartStream();
    HoldSpeaker(1, 884 * 2 + 10);
    EXPECT_EQ(device.chunks, 2);
    EXPECT_EQ(device.bytes.size(), 2u * 3536u);
    EXPECT_EQ(soundStream.fill, 40u);
}

TEST_F(SoundOutputTest, ClocksTakeOneSamplePerCallAndAllDueAyTicks) {
    StartStream();
    AdvanceSoundClocks(73); // not yet past the sample period
    EXPECT_EQ(soundStream.fill, 0u);
    AdvanceSoundClocks(1);
    EXPECT_EQ(soundStream.fill, 4u);
    EXPECT_EQ(soundStream.sampleClock, 1u);

    AdvanceSoundClocks(300); // four periods, still one sample
    EXPECT_EQ(soundStream.fill, 8u);
    EXPECT_EQ(soundStream.sampleClock, 228u);

    ClearStream();
    const uint16_t before = ay.toneCount[0];
    AdvanceSoundClocks(16); // the AY ticks only past 16
    SyncAy();
    EXPECT_EQ(ay.toneCount[0], before);
    AdvanceSoundClocks(1);
    SyncAy();
    EXPECT_EQ(ay.toneCount[0], before + 1);
    AdvanceSoundClocks(48); // 49 -> 33 -> 17 -> 1
    SyncAy();
    EXPECT_EQ(ay.toneCount[0], before + 4);
    EXPECT_EQ(soundStream.ayClock, 1u);
}

// The AY is clocked lazily; samples and register writes must see it exactly as if it
// had ticked after every instruction.
TEST_F(SoundOutputTest, LazyAyClockMatchesTickingAfterEveryInstruction) {
    struct Step {
        uint32_t tstates;
        int reg; // -1: no write before this instruction's hooks
        uint8_t value;
    };
    std::mt19937 random(1234);
    std::vector<Step> steps;
    for (int i = 0; i < 60000; ++i) {
        Step st{4 + uint32_t(random() % 20), -1, 0};
        if (random() % 50 == 0) {
            const int regs[] = {0, 1, 2, 4, 6, 7, 8, 10, 11, 13};
            st.reg = regs[random() % 10];
            st.value = uint8_t(random() % (st.reg == kAyMixer ? 64 : st.reg == 1 ? 2 : 32));
        }
        steps.push_back(st);
    }
    auto setUp = [&] {
        ResetSound(); // the tone counters too
        device = FakeAudioDevice{};
        StartStream();
        const uint8_t start[][2] = {{7, 0x30}, {0, 40},   {2, 7},  {4, 90}, {6, 3},
                                    {8, 15},   {9, 0x10}, {10, 9}, {11, 2}, {13, 14}};
        for (const auto& w : start)
            SelectRegister(w[0]), WriteRegister(w[1]);
    };
    auto write = [](const Step& st) {
        if (st.reg >= 0) SelectRegister(uint8_t(st.reg)), WriteRegister(st.value);
    };

    setUp();
    for (const Step& st : steps) {
        write(st);
        AdvanceSoundClocks(st.tstates);
    }
    SyncAy();
    const std::vector<int16_t> lazySamples = Samples16();
    const AyState lazyChip = ay;

    // The reference ticks the chip itself after every instruction; the stream's own
    // AY clock then stays at 0, so its syncs have nothing to do.
    setUp();
    uint32_t clock = 0;
    for (const Step& st : steps) {
        write(st);
        soundStream.sampleClock += st.tstates;
        if (soundStream.sampleClock > soundStream.params.tstatesPerSample) {
            TakeSample();
            SyncAy(); // the sample averages the ticks run so far
        }
        for (clock += st.tstates; clock > kAyTickTstates; clock -= kAyTickTstates)
            AyTick();
    }
    ASSERT_EQ(soundStream.ayClock, 0u);
    EXPECT_EQ(Samples16(), lazySamples);
    EXPECT_EQ(std::memcmp(&ay, &lazyChip, sizeof ay), 0);
    // The mix moved: the comparison is not between two silences.
    EXPECT_GT(std::set<int16_t>(lazySamples.begin(), lazySamples.end()).size(), 20u);
}

// --- echo rings ------------------------------------------------------------------

class SoundEchoTest : public SoundTest {
  protected:
    // A silent sample, one with the speaker high, then silence; the sampled values
    // from the high one on.
    std::vector<int16_t> Impulse(uint8_t enhancement, int samples) {
        opt_snd_output = kOutputMono;
        opt_echo = enhancement;
        StartStream();
        HoldSpeaker(0);
        HoldSpeaker(1);
        HoldSpeaker(0, samples - 1);
        std::vector<int16_t> s = Samples16();
        s.erase(s.begin());
        return s;
    }
};

// After the impulse the filter that keeps the signal centred leaves a faint negative
// tail (about -12, fading), so values are compared within a few steps.
TEST_F(SoundEchoTest, EchoRepeatsOnceATenthOfASecondLater) {
    const int delay = 4410;
    const std::vector<int16_t> s = Impulse(kEnhanceEcho, 3 * delay);
    ASSERT_EQ(s.size(), size_t(3 * delay));
    EXPECT_EQ(s[0], 8192);          // the dry signal at half level
    EXPECT_NEAR(s[delay], 4096, 4); // the echo at a quarter
    for (int i = 1; i < 3 * delay; ++i) {
        if (i == delay) continue;
        ASSERT_LT(std::abs(s[i]), 16) << i;
    }
}

TEST_F(SoundEchoTest, ReverbFeedsBackHalvingEachRepeat) {
    const int delay = 4410;
    const std::vector<int16_t> s = Impulse(kEnhanceReverb, 3 * delay + 1);
    EXPECT_EQ(s[0], 8192);
    EXPECT_NEAR(s[delay], 4096, 8);
    EXPECT_NEAR(s[2 * delay], 2048, 8);
    EXPECT_NEAR(s[3 * delay], 1024, 8);
    EXPECT_LT(std::abs(s[1]), 16);
    EXPECT_LT(std::abs(s[delay + 1]), 16);
}

TEST_F(SoundEchoTest, EachSideEchoesInItsOwnRing) {
    opt_echo = kEnhanceEcho; // ABC stereo: channel A on the left only
    StartStream();
    HoldSpeaker(0);
    SelectRegister(kAyMixer), WriteRegister(0x3F);
    SelectRegister(kAyVolumeA), WriteRegister(15);
    HoldSpeaker(0);
    SelectRegister(kAyVolumeA), WriteRegister(0);
    HoldSpeaker(0, 4410);
    const std::vector<int16_t> left = Samples16(0), right = Samples16(1);
    EXPECT_EQ(left[1], 3999);             // 2 x 3999 at half level
    EXPECT_NEAR(left[1 + 4410], 2000, 4); // and its echo
    for (int16_t v : right)
        ASSERT_EQ(v, 0);
}

TEST_F(SoundEchoTest, RingPositionsWrapAndInitRestartsThem) {
    opt_echo = kEnhanceEcho;
    StartStream();
    EXPECT_EQ(soundStream.mix.echoWrite, 0);
    EXPECT_EQ(soundStream.mix.echoRead, kEchoRingLength - 4410);
    for (int i = 0; i < kEchoRingLength; ++i)
        TakeSample();
    MixPendingSamples();
    EXPECT_EQ(soundStream.mix.echoWrite, 0);
    EXPECT_EQ(soundStream.mix.echoRead, kEchoRingLength - 4410);
    TakeSample();
    MixPendingSamples();
    EXPECT_EQ(soundStream.mix.echoWrite, 1);

    ShutdownSound();
    opt_snd_freq = 11025;
    StartStream();
    EXPECT_EQ(soundStream.mix.echoWrite, 0);
    EXPECT_EQ(soundStream.mix.echoRead, kEchoRingLength - 1102);
}

TEST_F(SoundEchoTest, NoEnhancementLeavesTheRingsAlone) {
    StartStream();
    for (int i = 0; i < 100; ++i)
        TakeSample();
    MixPendingSamples();
    EXPECT_EQ(soundStream.mix.echoWrite, 0);
}

} // namespace

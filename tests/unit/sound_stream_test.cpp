// The sample stream: its derived timing, the values of each sample for every mix,
// width and volume, and how chunks reach the device.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "sound_test_support.h"

namespace {

void SetAyChannels(uint8_t a, uint8_t b, uint8_t c) {
    // Tone and noise off for all three: each channel sits at its amplitude's level.
    SelectRegister(kAyMixer), WriteRegister(0x3F);
    SelectRegister(kAyVolumeA), WriteRegister(a);
    SelectRegister(kAyVolumeA + 1), WriteRegister(b);
    SelectRegister(kAyVolumeA + 2), WriteRegister(c);
}

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

TEST_F(SoundOutputTest, SpeakerHighAtVolume40IsHalfScale) {
    opt_snd_output = kOutputMono;
    StartStream();
    machine.earLevel = 1;
    for (int i = 0; i < 10; ++i)
        TakeSample();
    for (uint16_t s : Samples16())
        EXPECT_EQ(s, 16384);
    EXPECT_EQ(soundStream.fill, 20u); // mono: one 16-bit value per sample
}

TEST_F(SoundOutputTest, VolumesBelow40AreSilentAndAbove70Double) {
    for (int volume : {0, 30, 40, 70, 80, 100}) {
        ResetSound();
        device = FakeAudioDevice{};
        opt_snd_output = kOutputMono;
        opt_snd_volume = uint8_t(volume);
        StartStream();
        machine.earLevel = 1;
        TakeSample();
        const uint16_t expected = volume < 40 ? 0 : volume < 80 ? 16384 : 32768;
        EXPECT_EQ(Samples16().at(0), expected) << "volume " << volume;
    }
}

TEST_F(SoundOutputTest, StereoMixesWeighTheMiddleChannelTwice) {
    struct Case {
        uint8_t mode;
        uint16_t expected;
    } cases[] = {
        {kOutputAbcStereo, 2 * 8192 + 3999 + 2 * 655 + 163},
        {kOutputAcbStereo, 2 * 8192 + 3999 + 655 + 2 * 163},
        {kOutputMono, 2 * (8192 + 3999 + 655 + 163)},
    };
    for (const Case& c : cases) {
        device = FakeAudioDevice{};
        ShutdownSound();
        opt_snd_output = c.mode;
        StartStream();
        SetAyChannels(15, 8, 4); // A = 3999, B = 655, C = 163
        machine.earLevel = 1;
        TakeSample();
        const uint8_t* p = soundStream.chunk;
        EXPECT_EQ(uint16_t(p[0] | p[1] << 8), c.expected) << "mode " << int(c.mode);
        if (c.mode != kOutputMono) {
            // Both channels of the frame carry the same value.
            EXPECT_EQ(p[2], p[0]);
            EXPECT_EQ(p[3], p[1]);
        }
    }
}

TEST_F(SoundOutputTest, LoudMixAtFullVolumeWrapsSixteenBits) {
    opt_snd_output = kOutputMono;
    opt_snd_volume = 100;
    StartStream();
    SetAyChannels(15, 15, 15);
    machine.earLevel = 1;
    TakeSample();
    EXPECT_EQ(Samples16().at(0), (2 * (8192 + 3 * 3999) * 2) % 65536);
}

TEST_F(SoundOutputTest, EightBitSamplesAreTheHighByte) {
    opt_snd_soundbits = 8;
    StartStream();
    machine.earLevel = 1;
    TakeSample();
    machine.earLevel = 0;
    TakeSample();
    EXPECT_EQ(device.format.bits, 8);
    EXPECT_EQ(soundStream.params.chunkBytes, 1768u);
    ASSERT_EQ(soundStream.fill, 4u);
    EXPECT_EQ(soundStream.chunk[0], 64); // 8192 on each side: 16384 >> 8
    EXPECT_EQ(soundStream.chunk[1], 64);
    EXPECT_EQ(soundStream.chunk[2], 0);
    EXPECT_EQ(soundStream.chunk[3], 0);
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
    machine.earLevel = 1;
    for (uint32_t i = 0; i < 884 * 2 + 10; ++i)
        TakeSample();
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
    const std::vector<uint16_t> lazySamples = Samples16();
    const AyState lazyChip = ay;

    // The reference ticks the chip itself after every instruction; the stream's own
    // AY clock then stays at 0, so its syncs have nothing to do.
    setUp();
    uint32_t clock = 0;
    for (const Step& st : steps) {
        write(st);
        soundStream.sampleClock += st.tstates;
        if (soundStream.sampleClock > soundStream.params.tstatesPerSample) TakeSample();
        for (clock += st.tstates; clock > kAyTickTstates; clock -= kAyTickTstates)
            AyTick();
    }
    ASSERT_EQ(soundStream.ayClock, 0u);
    EXPECT_EQ(Samples16(), lazySamples);
    EXPECT_EQ(std::memcmp(&ay, &lazyChip, sizeof ay), 0);
    // The mix moved: the comparison is not between two silences.
    EXPECT_GT(std::set<uint16_t>(lazySamples.begin(), lazySamples.end()).size(), 20u);
}

// --- echo rings ------------------------------------------------------------------

class SoundEchoTest : public SoundTest {
  protected:
    // One sample with the speaker high, then silence; the sampled values.
    std::vector<uint16_t> Impulse(uint8_t enhancement, int samples) {
        opt_snd_output = kOutputMono;
        opt_echo = enhancement;
        StartStream();
        machine.earLevel = 1;
        TakeSample();
        machine.earLevel = 0;
        for (int i = 1; i < samples; ++i)
            TakeSample();
        return Samples16();
    }
};

TEST_F(SoundEchoTest, EchoRepeatsOnceATenthOfASecondLater) {
    const int delay = 4410;
    const std::vector<uint16_t> s = Impulse(kEnhanceEcho, 3 * delay);
    ASSERT_EQ(s.size(), size_t(3 * delay));
    EXPECT_EQ(s[0], 8192);     // L/2 + R/2 of 8192 each
    EXPECT_EQ(s[delay], 4096); // eL/4 + eR/4
    for (int i = 1; i < 3 * delay; ++i) {
        if (i == delay) continue;
        ASSERT_EQ(s[i], 0) << i;
    }
}

TEST_F(SoundEchoTest, ReverbFeedsBackHalvingEachRepeat) {
    const int delay = 4410;
    const std::vector<uint16_t> s = Impulse(kEnhanceReverb, 3 * delay + 1);
    EXPECT_EQ(s[0], 8192);
    EXPECT_EQ(s[delay], 4096);
    EXPECT_EQ(s[2 * delay], 2048);
    EXPECT_EQ(s[3 * delay], 1024);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[delay + 1], 0);
}

TEST_F(SoundEchoTest, RingPositionsWrapAndInitRestartsThem) {
    opt_echo = kEnhanceEcho;
    StartStream();
    EXPECT_EQ(soundStream.echoWrite, 0);
    EXPECT_EQ(soundStream.echoRead, kEchoRingLength - 4410);
    for (int i = 0; i < kEchoRingLength; ++i)
        TakeSample();
    EXPECT_EQ(soundStream.echoWrite, 0);
    EXPECT_EQ(soundStream.echoRead, kEchoRingLength - 4410);
    TakeSample();
    EXPECT_EQ(soundStream.echoWrite, 1);

    ShutdownSound();
    opt_snd_freq = 11025;
    StartStream();
    EXPECT_EQ(soundStream.echoWrite, 0);
    EXPECT_EQ(soundStream.echoRead, kEchoRingLength - 1102);
}

TEST_F(SoundEchoTest, NoEnhancementLeavesTheRingsAlone) {
    StartStream();
    for (int i = 0; i < 100; ++i)
        TakeSample();
    EXPECT_EQ(soundStream.echoWrite, 0);
}

} // namespace

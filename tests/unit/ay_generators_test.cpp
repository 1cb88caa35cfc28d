// The AY's tone, noise and envelope generators and the channel levels they produce.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "sound/ay.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"

namespace {

void Write(uint8_t reg, uint8_t v) {
    SelectRegister(reg);
    WriteRegister(v);
}

void Ticks(int n) {
    for (int i = 0; i < n; ++i)
        AyTick();
}

class AyGeneratorTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetSound(); }
    void TearDown() override { ResetSound(); }
};

// --- tones -----------------------------------------------------------------------

TEST_F(AyGeneratorTest, ToneFlipsEveryPeriodTicks) {
    Write(0, 5);
    Write(1, 0);
    std::vector<int> flips;
    uint8_t last = ay.toneOut[0];
    for (int tick = 1; tick <= 30; ++tick) {
        AyTick();
        if (ay.toneOut[0] != last) flips.push_back(tick);
        last = ay.toneOut[0];
    }
    EXPECT_EQ(flips, (std::vector<int>{5, 10, 15, 20, 25, 30})); // every 80 T-states
}

TEST_F(AyGeneratorTest, TonePeriodsBelowFiveHoldTheFlipFlop) {
    for (uint8_t period = 0; period < 5; ++period) {
        Write(2, period); // channel B
        Write(3, 0);
        const uint8_t before = ay.toneOut[1];
        Ticks(200);
        EXPECT_EQ(ay.toneOut[1], before) << "period " << int(period);
    }
}

TEST_F(AyGeneratorTest, TonePeriodUsesTheCoarseRegister) {
    Write(4, 0x00); // channel C: 0x100 = 256 ticks
    Write(5, 0x01);
    Ticks(255);
    EXPECT_EQ(ay.toneOut[2], 0);
    AyTick();
    EXPECT_EQ(ay.toneOut[2], 1);
}

TEST_F(AyGeneratorTest, NothingMovesWhileAySoundIsOff) {
    Write(0, 5);
    Write(kAyMixer, 0x00);
    Write(kAyVolumeA, 0x10);
    Write(kAyEnvShape, 12);
    opt_snd_aysound = 0;
    AyState before = ay;
    Ticks(100);
    EXPECT_EQ(std::memcmp(&before, &ay, sizeof ay), 0);
}

// --- noise -----------------------------------------------------------------------

TEST_F(AyGeneratorTest, NoiseStandsStillWhileAllChannelsHaveNoiseOff) {
    Ticks(50); // R7 = 0xFF after reset
    EXPECT_EQ(ay.noiseCount, 0);
    EXPECT_EQ(ay.noiseLow, 0u);
    EXPECT_EQ(ay.noiseHigh, 1u);
}

TEST_F(AyGeneratorTest, NoiseStepsAtOnceAfterResetThenKeepsItsPeriod) {
    Write(kAyMixer, 0xF7); // noise on for channel A
    AyTick();              // the period in force is 0 after a reset: a step at once
    EXPECT_EQ(ay.noiseLow, 0x80000000u);
    EXPECT_EQ(ay.noiseHigh, 0u);
    EXPECT_EQ(ay.noiseOut, 0);
    EXPECT_EQ(ay.noisePeriod, 1); // R6 = 0 counts as 1

    AyTick(); // period 1: a step on every tick
    EXPECT_EQ(ay.noiseLow, 0x40000000u);

    Write(kAyNoisePeriod, 3);
    AyTick(); // the step that takes the new period
    EXPECT_EQ(ay.noiseLow, 0x20000000u);
    EXPECT_EQ(ay.noisePeriod, 3);
    Ticks(2);
    EXPECT_EQ(ay.noiseLow, 0x20000000u);
    AyTick();
    EXPECT_EQ(ay.noiseLow, 0x10000000u);
}

TEST_F(AyGeneratorTest, FirstNoiseBitArrivesAfterThirtyTwoSteps) {
    Write(kAyMixer, 0xC7); // noise on for A, B and C; R6 = 0: a step per tick
    for (int step = 1; step <= 32; ++step) {
        AyTick();
        ASSERT_EQ(ay.noiseOut, 0) << "step " << step;
    }
    AyTick();
    EXPECT_EQ(ay.noiseOut, 1);
}

// --- envelope --------------------------------------------------------------------

std::vector<int> Ramp(int from, int to) {
    std::vector<int> v;
    for (int x = from;; x += from < to ? 1 : -1) {
        v.push_back(x);
        if (x == to) break;
    }
    return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts, size_t length) {
    std::vector<int> all;
    while (all.size() < length)
        for (const auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
    all.resize(length);
    return all;
}

// The volume after each of the first 40 steps of a shape (period 1: a step every two ticks).
std::vector<int> EnvelopeSteps(uint8_t shape) {
    Write(kAyVolumeA, 0x10);
    Write(kAyEnvFine, 1);
    Write(kAyEnvCoarse, 0);
    Write(kAyEnvShape, shape);
    std::vector<int> seen;
    for (int step = 0; step < 40; ++step) {
        AyTick();
        AyTick();
        seen.push_back(ay.envVolume);
    }
    return seen;
}

TEST_F(AyGeneratorTest, EnvelopeShapesStepThroughTheirSequences) {
    const size_t n = 40;
    const std::vector<int> fallThenZero = Join({Ramp(14, 0), std::vector<int>(40, 0)}, n);
    const std::vector<int> riseThenZero = Join({Ramp(1, 15), std::vector<int>(40, 0)}, n);
    for (uint8_t shape : {0, 1, 2, 3, 9})
        EXPECT_EQ(EnvelopeSteps(shape), fallThenZero) << int(shape);
    for (uint8_t shape : {4, 5, 6, 7, 15})
        EXPECT_EQ(EnvelopeSteps(shape), riseThenZero) << int(shape);

    EXPECT_EQ(EnvelopeSteps(8), Join({Ramp(14, 0), {15}}, n));
    EXPECT_EQ(EnvelopeSteps(10), Join({Ramp(14, 0), {0}, Ramp(1, 15), {15}}, n));
    EXPECT_EQ(EnvelopeSteps(11), Join({Ramp(14, 0), std::vector<int>(40, 15)}, n));
    EXPECT_EQ(EnvelopeSteps(12), Join({Ramp(1, 15), {0}}, n));
    EXPECT_EQ(EnvelopeSteps(13), Join({Ramp(1, 15), std::vector<int>(40, 15)}, n));
    EXPECT_EQ(EnvelopeSteps(14), Join({Ramp(1, 15), {15}, Ramp(14, 0), {0}}, n));
}

TEST_F(AyGeneratorTest, RewritingTheShapeStartsTheEnvelopeAgain) {
    EnvelopeSteps(13);
    EXPECT_EQ(ay.envVolume, 15);
    EXPECT_EQ(ay.envState, kEnvHoldHigh);
    Write(kAyEnvShape, 13);
    EXPECT_EQ(ay.envVolume, 0);
    Ticks(2);
    EXPECT_EQ(ay.envVolume, 1);
}

TEST_F(AyGeneratorTest, EnvelopeWaitsForItsPeriodAndForAChannelUsingIt) {
    Write(kAyEnvFine, 3);
    Write(kAyEnvShape, 12);
    Ticks(40); // no channel has bit 4 set: the envelope does not step
    EXPECT_EQ(ay.envVolume, 0);

    Write(kAyVolumeA + 2, 0x10); // channel C follows the envelope
    Write(kAyEnvShape, 12);
    Ticks(4);
    EXPECT_EQ(ay.envVolume, 0);
    Ticks(1); // the third counted tick (every second tick counts)
    EXPECT_EQ(ay.envVolume, 1);
    Ticks(6);
    EXPECT_EQ(ay.envVolume, 2);
}

// --- levels ----------------------------------------------------------------------

TEST_F(AyGeneratorTest, ChannelsWithToneAndNoiseOffAreAlwaysOn) {
    Write(kAyMixer, 0x3F);
    Write(kAyVolumeA, 15);
    Write(kAyVolumeA + 1, 8);
    Write(kAyVolumeA + 2, 4);
    Write(0, 5); // running tone and noise generators do not matter
    Write(kAyNoisePeriod, 1);
    for (int i = 0; i < 5; ++i) {
        ComputeLevels();
        EXPECT_EQ(ay.level[0], 3999);
        EXPECT_EQ(ay.level[1], 655);
        EXPECT_EQ(ay.level[2], 163);
        Ticks(7);
    }
}

TEST_F(AyGeneratorTest, ToneGatesTheChannelLevel) {
    Write(kAyMixer, 0x3E); // tone on for A only
    Write(0, 5);
    Write(kAyVolumeA, 12);
    ComputeLevels();
    EXPECT_EQ(ay.level[0], 0); // flip-flop starts low
    Ticks(5);
    ComputeLevels();
    EXPECT_EQ(ay.level[0], 2272);
    Ticks(5);
    ComputeLevels();
    EXPECT_EQ(ay.level[0], 0);
}

TEST_F(AyGeneratorTest, EnvelopeVolumeDrivesChannelsThatAskForIt) {
    Write(kAyMixer, 0x3F);
    Write(kAyVolumeA + 1, 0x1F); // envelope bit set: the amplitude bits do not count
    Write(kAyEnvFine, 1);
    Write(kAyEnvShape, 13);
    Ticks(2 * 9);
    ComputeLevels();
    EXPECT_EQ(ay.level[1], 1045); // table[9]
}

// --- running many ticks at once and averaging ------------------------------------

// A chip in any state: short and long periods, envelope period 0, counters wrapped
// past a period that a write just lowered, the envelope and noise on or off.
void RandomChipState(std::mt19937& random) {
    ResetSound();
    const uint16_t periods[] = {0, 1, 4, 5, 6, 17, 300, 4095};
    for (int c = 0; c < 3; ++c) {
        const uint16_t period = periods[random() % 8];
        Write(uint8_t(2 * c), uint8_t(period));
        Write(uint8_t(2 * c + 1), uint8_t(period >> 8));
        Write(uint8_t(kAyVolumeA + c), uint8_t(random() % 32));
        ay.toneCount[c] = uint16_t(random() % 3 ? random() % 400 : 65530 + random() % 6);
    }
    Write(kAyMixer, uint8_t(random() % 64));
    Write(kAyNoisePeriod, uint8_t(random() % 32));
    Write(kAyEnvFine, uint8_t(random() % 4 ? random() % 8 : 0));
    Write(kAyEnvCoarse, uint8_t(random() % 8 == 0));
    Write(kAyEnvShape, uint8_t(random() % 16));
    ay.envCount = uint16_t(random() % 4 ? random() % 10 : 65535);
    ay.envHalf = uint8_t(random() % 2);
    ay.noiseCount = uint8_t(random() % 3);
    ComputeLevels();
}

// AyRun skips over the ticks in which nothing steps; it must leave the chip exactly
// as that many single ticks do, counters, generators and level sums alike, from any
// state: short and long periods, envelope period 0, counters wrapped past a period
// that a write just lowered, the envelope and noise on or off.
TEST_F(AyGeneratorTest, RunningManyTicksEqualsTickingOneByOne) {
    std::mt19937 random(16);
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        RandomChipState(random);

        const AyState start = ay;
        const uint32_t ticks = 1 + random() % (random() % 2 ? 40 : 3000);
        AyRun(ticks);
        const AyState run = ay;
        ay = start;
        Ticks(int(ticks));
        ASSERT_EQ(std::memcmp(&ay, &run, sizeof ay), 0) << ticks << " ticks";
    }
}

// The sample periods of a chunk run from event to event: each average, and the chip
// left behind, exactly as single ticks and an average per period give them, with sums
// already begun before the first period and periods of no tick at all.
TEST_F(AyGeneratorTest, RunningSamplePeriodsEqualsTickingOneByOne) {
    std::mt19937 random(17);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        RandomChipState(random);
        Ticks(int(random() % 3)); // sums begun by the ticks since the last sample
        std::vector<uint16_t> periods(1 + random() % 900);
        for (uint16_t& p : periods)
            p = uint16_t(random() % 8 ? 4 + random() % 2 : random() % 40);

        const AyState start = ay;
        std::vector<float> run(3 * periods.size());
        AyRunPeriods(periods.data(), uint32_t(periods.size()), run.data());
        const AyState afterRun = ay;
        ay = start;
        for (size_t i = 0; i < periods.size(); ++i) {
            Ticks(periods[i]);
            float one[3];
            TakeAverageLevels(one);
            for (int c = 0; c < 3; ++c)
                ASSERT_FLOAT_EQ(run[3 * i + c], one[c]) << "period " << i << " channel " << c;
        }
        ASSERT_EQ(std::memcmp(&ay, &afterRun, sizeof ay), 0);
    }
}

TEST_F(AyGeneratorTest, SamplesTakeTheLevelAveragedOverTheirTicks) {
    Write(kAyMixer, 0x3E); // tone on A: 6 ticks low, 6 high
    Write(0, 6);
    Write(kAyVolumeA, 15);
    Write(kAyVolumeA + 2, 8); // C constant
    AyRun(9);                 // 5 ticks low, 4 high
    float levels[3];
    TakeAverageLevels(levels);
    EXPECT_FLOAT_EQ(levels[0], 3999.0f * 4 / 9);
    EXPECT_FLOAT_EQ(levels[1], 0.0f);
    EXPECT_FLOAT_EQ(levels[2], 655.0f);
    EXPECT_EQ(ay.levelTicks, 0u); // the next average starts afresh
    TakeAverageLevels(levels);    // no tick since: the present levels
    EXPECT_FLOAT_EQ(levels[0], 3999.0f);
}

} // namespace

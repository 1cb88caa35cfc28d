// The AY's registers as the Z80 sees them through an interface's select and data ports.
#include <gtest/gtest.h>

#include "sound/ay.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"

namespace {

class AyRegisterTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetSound(); }
    void TearDown() override { ResetSound(); }

    static void Write(uint8_t reg, uint8_t v) {
        SelectRegister(reg);
        WriteRegister(v);
    }
    static uint8_t Read(uint8_t reg) {
        SelectRegister(reg);
        return ReadRegister();
    }
};

TEST_F(AyRegisterTest, WritesAreMaskedToTheBitsTheChipHas) {
    const uint8_t expected[16] = {0xFF, 0x0F, 0xFF, 0x0F, 0xFF, 0x0F, 0x1F, 0xFF,
                                  0x1F, 0x1F, 0x1F, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF};
    for (uint8_t reg = 0; reg < 16; ++reg) {
        Write(reg, 0xFF);
        EXPECT_EQ(Read(reg), expected[reg]) << "R" << int(reg);
    }
    // R8 = 0x1F keeps bit 4: channel A follows the envelope.
    EXPECT_EQ(ay.regs[kAyVolumeA] & 0x10, 0x10);
}

TEST_F(AyRegisterTest, IoPortRegistersIgnoreWritesAndReadFF) {
    Write(kAyPortA, 0x12);
    Write(kAyPortB, 0x00);
    EXPECT_EQ(Read(kAyPortA), 0xFF);
    EXPECT_EQ(Read(kAyPortB), 0xFF);
}

TEST_F(AyRegisterTest, OnlyTheLowFourBitsOfTheSelectionCount) {
    Write(0x13, 0xAB); // reaches R3
    EXPECT_EQ(ay.regs[3], 0x0B);
    EXPECT_EQ(ay.selected, 0x13);
    EXPECT_EQ(Read(0x03), 0x0B);
    EXPECT_EQ(Read(0xF3), 0x0B);
}

TEST_F(AyRegisterTest, ResetGivesPowerOnRegistersAndKeepsToneCounters) {
    for (uint8_t reg = 0; reg < 14; ++reg)
        Write(reg, 0x0A);
    ay.toneCount[0] = 7, ay.toneCount[1] = 8, ay.toneCount[2] = 9;
    ay.toneOut[1] = 1;
    ay.noiseOut = 1;
    ay.envVolume = 9;
    ay.envState = kEnvHoldHigh;

    ResetAy();

    for (uint8_t reg = 0; reg < 16; ++reg) {
        const bool ff = reg == kAyMixer || reg == kAyPortA || reg == kAyPortB;
        EXPECT_EQ(ay.regs[reg], ff ? 0xFF : 0x00) << "R" << int(reg);
    }
    EXPECT_EQ(ay.selected, 0);
    EXPECT_EQ(ay.toneCount[0], 7);
    EXPECT_EQ(ay.toneCount[1], 8);
    EXPECT_EQ(ay.toneCount[2], 9);
    EXPECT_EQ(ay.toneOut[1], 0);
    EXPECT_EQ(ay.noiseOut, 0);
    EXPECT_EQ(ay.noisePeriod, 0);
    EXPECT_EQ(ay.noiseLow, 0u);
    EXPECT_EQ(ay.noiseHigh, 1u);
    EXPECT_EQ(ay.envVolume, 0);
    EXPECT_EQ(ay.envState, kEnvFalling);
}

TEST_F(AyRegisterTest, VolumeTableIsTheScaledDacCurve) {
    const uint16_t expected[16] = {0,   52,   77,   108,  163,  249,  342,  545,
                                   655, 1045, 1436, 1795, 2272, 2811, 3374, 3999};
    BuildAyVolumeTable();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ayVolumeTable[i], expected[i]) << i;
}

TEST_F(AyRegisterTest, ShapeWriteRestartsTheEnvelopeFromItsStartingEnd) {
    for (uint8_t shape = 0; shape < 16; ++shape) {
        ay.envCount = 123;
        ay.envVolume = 7;
        ay.envState = kEnvHoldHigh;
        Write(kAyEnvShape, shape);
        const bool rising = (shape >= 4 && shape <= 7) || shape >= 12;
        EXPECT_EQ(ay.envCount, 0) << int(shape);
        EXPECT_EQ(ay.envVolume, rising ? 0 : 15) << int(shape);
        EXPECT_EQ(ay.envState, rising ? kEnvRising : kEnvFalling) << int(shape);
    }
}

TEST_F(AyRegisterTest, DebuggerLabelsNameEveryRegister) {
    EXPECT_STREQ(kAyRegisterLabels[0], " 0  Channel A fine pitch:");
    EXPECT_STREQ(kAyRegisterLabels[7], " 7  Mixer:");
    EXPECT_STREQ(kAyRegisterLabels[13], "13  Envelope shape:");
    EXPECT_STREQ(kAyRegisterLabels[15], "15  I/O port B:");
}

} // namespace

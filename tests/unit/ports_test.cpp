#include "machine/machine_state.h"
#include "machine/ports.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"
#include "test_support.h"

namespace {

class PortsTest : public MachineTest {
  protected:
    void TearDown() override {
        tzxPlaying = false;
        tapeDeck.tapeLevel = 0;
        wavPlaying = false;
        MachineTest::TearDown();
    }
};

TEST_F(PortsTest, KeyboardReadsCombineTheSelectedHalfRows) {
    EXPECT_EQ(PortIn(0xFFFE), 0x3F) << "no half-row selected";
    machine.keyMatrix[0] = 0xFF & ~0x01 & ~0x04; // SHIFT and Z
    EXPECT_EQ(PortIn(0xFEFE), 0x3A);
    EXPECT_EQ(PortIn(0xFDFE), 0x3F) << "half-row 1 has nothing pressed";

    machine.keyMatrix[3] = 0xFF & ~0x10; // 5
    machine.keyMatrix[7] = 0xFF & ~0x02; // M
    EXPECT_EQ(PortIn(0x00FE), 0x3F & 0xFA & 0xEF & 0xFD) << "all half-rows: the AND of every row";
    EXPECT_EQ(PortIn(0x7EFE), 0x3F & 0xFA & 0xFD) << "rows 0 and 7 only";
    EXPECT_EQ(PortIn(0xF7FE), 0x2F);
    EXPECT_EQ(PortIn(0xF7F0), 0x2F) << "any even port reads the keyboard";
}

TEST_F(PortsTest, KeyboardReadKeepsBitsSixAndSevenLow) {
    for (int n = 0; n < 8; ++n)
        machine.keyMatrix[n] = 0xFF;
    for (uint32_t port = 0; port < 0x10000; port += 0x0102)
        EXPECT_EQ(PortIn(uint16_t(port)) & 0xC0, 0);
}

TEST_F(PortsTest, EveryOutputToFeTogglesTheSpeakerLine) {
    const uint16_t before = machine.earLevel;
    PortOut(0x00FE, 0x08);
    EXPECT_NE(machine.earLevel, before);
    EXPECT_EQ(machine.micBit, 0x08);
    PortOut(0x12FE, 0xF7); // the high byte of an output port is not decoded
    EXPECT_EQ(machine.earLevel, before) << "two writes restore the line whatever the values";
    EXPECT_EQ(machine.micBit, 0x00);
    EXPECT_EQ(machine.portLatches[kLatchFE], 0xF7);

    PortOut(0x00FC, 0xFF); // another even port: ignored
    EXPECT_EQ(machine.earLevel, before);
}

TEST_F(PortsTest, UnattachedPortsReadTheIdleBus) {
    EXPECT_EQ(PortIn(0x00FD), 0x20);
    EXPECT_EQ(PortIn(0x1201), 0x20) << "port 0x01 without a joystick";
    EXPECT_EQ(PortIn(0x00FF), 0x20) << "no sound interface fitted";
    EXPECT_EQ(PortIn(0x00DD), 0x20);
}

TEST_F(PortsTest, AyPortsAnswerOnlyForTheFittedInterface) {
    machine.soundInterface = kSoundBoldfield;
    EXPECT_EQ(PortIn(0x00DD), 0x20) << "Ace User's data port with Boldfield fitted";
    EXPECT_EQ(machine.portLatches[kLatchDD], 0x20) << "the read is latched";
    PortOut(0x00DD, 7);
    EXPECT_EQ(machine.portLatches[kLatchDD], 7);

    machine.soundInterface = kSoundQuicksilva;
    EXPECT_EQ(PortIn(0x00FF), 0x20);
    EXPECT_EQ(PortIn(0x00DD), 0x20);

    for (uint8_t port : {0x3F, 0x5F, 0xDF, 0xFD, 0xFF})
        PortOut(port, port ^ 0x55);
    EXPECT_EQ(machine.portLatches[kLatch3F], 0x3F ^ 0x55);
    EXPECT_EQ(machine.portLatches[kLatch5F], 0x5F ^ 0x55);
    EXPECT_EQ(machine.portLatches[kLatchDF], 0xDF ^ 0x55);
    EXPECT_EQ(machine.portLatches[kLatchFD], 0xFD ^ 0x55);
    EXPECT_EQ(machine.portLatches[kLatchFF], 0xFF ^ 0x55);
}

TEST_F(PortsTest, TzxTapeLevelInvertsBitFive) {
    tzxPlaying = true;
    tapeDeck.tapeLevel = 1;
    machine.earLevel = 0;
    EXPECT_EQ(PortIn(0xFFFE), 0x1F);
    tapeDeck.tapeLevel = 0;
    EXPECT_EQ(PortIn(0xFFFE), 0x3F);
    machine.earLevel = 1; // the speaker line is heard by the tape input too
    EXPECT_EQ(PortIn(0xFFFE), 0x1F);
    tzxPlaying = false;
    EXPECT_EQ(PortIn(0xFFFE), 0x3F) << "without a tape the speaker line does not reach bit 5";
}

TEST_F(PortsTest, WavPlaybackDrivesTheTapeLineFromItsSample) {
    wavPlaying = true;
    machine.earLevel = 1;
    const uint8_t sample = WavCurrentSample();
    const uint8_t v = PortIn(0xFFFE);
    EXPECT_EQ(machine.earLevel, sample > 128 ? 1 : 0);
    EXPECT_EQ(v, machine.earLevel ? 0x1F : 0x3F);

    tzxPlaying = true; // a playing TZX tape owns the line: earLevel stays
    machine.earLevel = 1;
    tapeDeck.tapeLevel = 0;
    EXPECT_EQ(PortIn(0xFFFE), 0x1F);
    EXPECT_EQ(machine.earLevel, 1);
}

} // namespace

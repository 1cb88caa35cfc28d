// Sound from the running Ace: the FORTH word BEEP on the speaker, and a Z80 program
// playing the AY through each add-on interface's ports, captured as a WAV file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "machine/frame.h"
#include "machine/ports.h"
#include "machine/run_state.h"
#include "sound/wav_writer_device.h"
#include "sound_test_support.h"
#include "tape/spool.h"

namespace {

// The signed 16-bit mono samples of a WAV file written by WavWriterDevice.
std::vector<int> WavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<int> samples;
    for (size_t at = 44; at + 1 < b.size(); at += 2)
        samples.push_back(int16_t(b[at] | b[at + 1] << 8));
    return samples;
}

// Sample indexes where the signal, centred on 0, goes from 0 or below to above it: one
// per period of a square wave. (An edge that falls inside a sample period is spread
// over two samples, so steps alone would count it twice or not at all.)
std::vector<size_t> RisingEdges(const std::vector<int>& s) {
    std::vector<size_t> edges;
    for (size_t i = 1; i < s.size(); ++i)
        if (s[i - 1] <= 0 && s[i] > 0) edges.push_back(i);
    return edges;
}

double MeanPeriod(const std::vector<size_t>& edges) {
    return double(edges.back() - edges.front()) / double(edges.size() - 1);
}

class SoundMachineTest : public SoundTest {
  protected:
    // Boots the ROM to its prompt, then records the sound of the frames that follow.
    bool BootAndRecord() {
        if (!BootTestRom()) return false;
        runState.FastMode = true;
        for (int i = 0; i < 100; ++i)
            RunFrame();
        runState.FastMode = false;
        wavPath = ScratchFolder() + "sound.wav";
        wav = std::make_unique<WavWriterDevice>(wavPath);
        opt_snd_output = kOutputMono;
        SetAudioDevice(wav.get());
        return InitSound() == 0;
    }
    std::vector<int> StopAndRead() {
        ShutdownSound();
        SetAudioDevice(nullptr);
        return WavSamples(wavPath);
    }

    std::string wavPath;
    std::unique_ptr<WavWriterDevice> wav;
};

TEST_F(SoundMachineTest, BeepPlaysASquareWaveOfItsPeriodForItsLength) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootAndRecord());
    StartSpool(std::string("200 100 beep\r"));
    for (int i = 0; i < 400 && spool.spoolActive; ++i)
        RunFrame();
    for (int i = 0; i < 25; ++i)
        RunFrame();
    const std::vector<int> s = StopAndRead();

    // BEEP m n: a period of 8m microseconds (26 T-states a unit at the Ace's 3.25 MHz)
    // for n milliseconds. The speaker swings by 16384 (mono, volume 40).
    const std::vector<size_t> edges = RisingEdges(s);
    ASSERT_GE(edges.size(), 10u);
    const double expectedSamples = 200.0 * 26.0 / 73.0; // 71.2 samples a period
    EXPECT_NEAR(MeanPeriod(edges), expectedSamples, expectedSamples * 0.03);
    // 100 ms of 1.6 ms periods.
    EXPECT_NEAR(double(edges.size()), 100.0 / 1.6, 4.0);
    for (size_t e : edges) // the whole rise, spread over at most two samples
        ASSERT_NEAR(s.at(e + 1) - s.at(e - 2), 16384, 200) << e;
    for (int v : s)
        ASSERT_LE(std::abs(v), 16384) << v;
}

// Every sample period of the machine's time gives one sample, at any emulation speed:
// even at 10%, where a period (7 T-states) is shorter than most instructions, and
// with the line quiet, so that only the frame's end works the samples out.
TEST_F(SoundMachineTest, EachFrameGivesTheSamplesOfItsTimeAtAnySpeed) {
    REQUIRE_TEST_ROM();
    for (const float speed : {10.0f, 100.0f, 400.0f}) {
        SCOPED_TRACE(speed);
        ResetSound();
        ASSERT_TRUE(BootTestRom());
        runState.FastMode = true;
        for (int i = 0; i < 50; ++i)
            RunFrame();
        runState.FastMode = false;
        opt_emulation_speed = speed;
        device.bytes.clear();
        StartStream();
        constexpr int kFrames = 12;
        for (int i = 0; i < kFrames; ++i)
            RunFrame();
        const double expected = double(kFrames) * machine.frameTstates / soundStream.params.tstatesPerSample;
        EXPECT_NEAR(double(Samples16().size()), expected, 1.0);
    }
}

TEST_F(SoundMachineTest, KeyboardReadLowersTheSpeakerThatAWriteRaised) {
    PortOut(0x00FE, 0x00);
    EXPECT_EQ(machine.earLevel, 1);
    PortIn(0xFEFE);
    EXPECT_EQ(machine.earLevel, 0);
    EXPECT_EQ(machine.speakerToggle, 0u);
    PortOut(0x00FE, 0x00); // IN, OUT, IN, OUT: one period per pair, as BEEP drives it
    EXPECT_EQ(machine.earLevel, 1);
    PortOut(0x00FE, 0x00); // writes alone still toggle (the SAVE routine's edges)
    EXPECT_EQ(machine.earLevel, 0);
}

struct InterfacePorts {
    uint8_t soundInterface;
    uint8_t selectPort, dataPort;
    const char* name;
};

// DI; then for each (register, value): LD A,r; OUT (select),A; LD A,v; OUT (data),A;
// then JR $ for ever.
void LoadAyProgram(const InterfacePorts& ports, uint16_t at) {
    const uint8_t writes[][2] = {{7, 0x3E}, {8, 15}, {0, 100}, {1, 0}}; // tone A, full volume, period 100
    uint8_t* p = machine.ram + at;
    *p++ = 0xF3;
    for (const auto& w : writes) {
        *p++ = 0x3E, *p++ = w[0], *p++ = 0xD3, *p++ = ports.selectPort;
        *p++ = 0x3E, *p++ = w[1], *p++ = 0xD3, *p++ = ports.dataPort;
    }
    *p++ = 0x18, *p++ = 0xFE;
    machine.pc = at;
}

TEST_F(SoundMachineTest, EachInterfaceReachesTheAyThroughItsOwnPorts) {
    REQUIRE_TEST_ROM();
    const InterfacePorts interfaces[] = {
        {kSoundBoldfield, 0xFD, 0xFF, "Boldfield"},
        {kSoundAceUser, 0xDD, 0xDF, "Ace User"},
        {kSoundFullerBox, 0x3F, 0x5F, "Fuller Box"},
    };
    for (const InterfacePorts& ports : interfaces) {
        SCOPED_TRACE(ports.name);
        ResetSound();
        ASSERT_TRUE(BootAndRecord());
        machine.soundInterface = ports.soundInterface;
        LoadAyProgram(ports, 0x3C00);
        for (int i = 0; i < 20; ++i)
            RunFrame();
        const std::vector<int> s = StopAndRead();

        // Period 100: the flip-flop turns every 100 ticks of 16 T-states, a full wave
        // every 3200 T-states, 1016 Hz; A at full volume swings the mono sum by 2 x 3999.
        const std::vector<size_t> edges = RisingEdges(s);
        ASSERT_GE(edges.size(), 300u);
        EXPECT_NEAR(MeanPeriod(edges), 3200.0 / 73.0, 0.05);
        for (size_t i = 1; i + 1 < edges.size(); ++i)
            ASSERT_NEAR(s[edges[i] + 1] - s[edges[i] - 2], 2 * 3999, 40) << edges[i];
    }
}

TEST_F(SoundMachineTest, WithoutAMatchingInterfaceTheAyStaysSilent) {
    REQUIRE_TEST_ROM();
    // The Ace User ports with a Boldfield fitted, and any ports with the Quicksilva.
    const struct {
        uint8_t fitted;
        InterfacePorts ports;
    } cases[] = {
        {kSoundBoldfield, {kSoundAceUser, 0xDD, 0xDF, "Ace User ports"}},
        {kSoundQuicksilva, {kSoundBoldfield, 0xFD, 0xFF, "Quicksilva"}},
        {kSoundNone, {kSoundFullerBox, 0x3F, 0x5F, "no interface"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ports.name);
        ResetSound();
        ASSERT_TRUE(BootAndRecord());
        machine.soundInterface = c.fitted;
        LoadAyProgram(c.ports, 0x3C00);
        for (int i = 0; i < 5; ++i)
            RunFrame();
        for (int v : StopAndRead())
            ASSERT_EQ(v, 0);
        EXPECT_EQ(ay.regs[kAyVolumeA], 0);
    }
}

} // namespace

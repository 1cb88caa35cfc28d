// WAV tapes: the validating reader, the EAR level of a sample, the sample clock on the
// machine's own T-states, and recording's interplay with playback and the TAP save trap.
#include "base/messages.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "running_machine.h"
#include "tape/load_file.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"
#include "tape/wav_file.h"
#include "tape_convert.h"
#include "tape_test_support.h"

namespace {

void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Id(Bytes& b, const char* id) {
    b.insert(b.end(), id, id + 4);
}

struct Fmt {
    uint16_t tag = 1, channels = 1;
    uint32_t rate = 44100;
    uint16_t align = 1, bits = 8;
    uint32_t chunkSize = 16;
};

// A file of chunks: "fmt " from `f`, optional extra chunks before "data", the data
// chunk with a stated size that may differ from the bytes that follow.
Bytes Wav(const Fmt& f, const Bytes& samples, uint32_t statedSize, const std::vector<Bytes>& extra = {}) {
    Bytes b;
    Id(b, "RIFF");
    Put32(b, 0);
    Id(b, "WAVE");
    Id(b, "fmt ");
    Put32(b, f.chunkSize);
    Put16(b, f.tag);
    Put16(b, f.channels);
    Put32(b, f.rate);
    Put32(b, f.rate * f.align);
    Put16(b, f.align);
    Put16(b, f.bits);
    for (const Bytes& chunk : extra)
        b.insert(b.end(), chunk.begin(), chunk.end());
    Id(b, "data");
    Put32(b, statedSize);
    b.insert(b.end(), samples.begin(), samples.end());
    return b;
}

Bytes Chunk(const char* id, const Bytes& body) {
    Bytes b;
    Id(b, id);
    Put32(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

TEST(WavReader, PlayableFilesAreReadByTheirChunksAndOthersGetAReason) {
    const Bytes list = Chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'a', 'b', 0});
    const Bytes fact = Chunk("fact", {4, 0, 0, 0});
    const struct {
        const char* what;
        Bytes file;
        size_t dataSize; // 0 with an error
        const char* error;
    } cases[] = {
        {"8-bit mono 44.1 kHz", Wav({}, Bytes(100, 1), 100), 100, ""},
        {"16-bit stereo with LIST before data", Wav({1, 2, 22050, 4, 16}, Bytes(40, 2), 40, {list}), 40, ""},
        {"8-bit at 11025 Hz with fact and LIST", Wav({1, 1, 11025, 1, 8}, Bytes(9, 3), 9, {fact, list}), 9,
         ""},
        {"1 GB of data in a 100-byte file", Wav({}, Bytes(56, 4), 0x40000000), 56, ""},
        {"a stated size past the end, 16-bit stereo: whole frames",
         Wav({1, 2, 22050, 4, 16}, Bytes(7, 4), 99), 4, ""},
        {"a file under 44 bytes", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't'}, 0,
         "no format"},
        {"not RIFF", Bytes(60, 'x'), 0, "not a RIFF"},
        {"rate 0", Wav({1, 1, 0, 1, 8}, Bytes(4, 0), 4), 0, "sample rate"},
        {"rate 3000", Wav({1, 1, 3000, 1, 8}, Bytes(4, 0), 4), 0, "sample rate"},
        {"rate 200 kHz", Wav({1, 1, 200000, 1, 8}, Bytes(4, 0), 4), 0, "sample rate"},
        {"block align 0", Wav({1, 1, 44100, 0, 8}, Bytes(4, 0), 4), 0, "block align"},
        {"24-bit", Wav({1, 1, 44100, 3, 24}, Bytes(6, 0), 6), 0, "bits"},
        {"three channels", Wav({1, 3, 44100, 3, 8}, Bytes(6, 0), 6), 0, "channels"},
        {"floating point", Wav({3, 1, 44100, 4, 32}, Bytes(8, 0), 8), 0, "not PCM"},
        {"a 4 GB format chunk", Wav({1, 1, 44100, 1, 8, 0xFFFFFFF0}, Bytes(8, 0), 8), 0, ""},
        {"a short format chunk", Wav({1, 1, 44100, 1, 8, 8}, Bytes(8, 0), 8), 0, "too short"},
    };
    for (const auto& c : cases) {
        const WavParseResult r = ParseWav(c.file);
        if (c.dataSize) {
            EXPECT_EQ(r.error, "") << c.what;
            EXPECT_EQ(r.dataSize, c.dataSize) << c.what;
            EXPECT_LE(r.dataOffset + r.dataSize, c.file.size()) << c.what;
        } else {
            EXPECT_NE(r.error, "") << c.what;
            EXPECT_NE(r.error.find(c.error), std::string::npos) << c.what << ": " << r.error;
        }
    }
    // Cut at every byte: never read past the end.
    const Bytes whole = Wav({1, 2, 22050, 4, 16}, Bytes(16, 5), 16, {list, fact});
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        const WavParseResult r = ParseWav(std::span(whole).first(cut));
        if (r.error.empty()) {
            EXPECT_LE(r.dataOffset + r.dataSize, cut);
        }
    }
}

class WavDeckTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        SetHost(&dialogs);
        ResetTapeAndFileState();
        dir = ScratchFolder();
    }
    void TearDown() override {
        ResetTapeAndFileState();
        RunningMachineTest::TearDown();
    }
    bool Load(const Bytes& file) {
        WriteFile(dir + "t.wav", file);
        return LoadFileByName(dir + "t.wav", LoadRoute::LoadFileDialog) == LoadResult::Loaded;
    }
    CapturingHost dialogs;
    std::string dir;
};

TEST_F(WavDeckTest, AnUnplayableFileIsReportedAndTheLoadedOneStays) {
    ASSERT_TRUE(Load(Wav({}, Bytes(100, 200), 100)));
    EXPECT_TRUE(wavLoaded);
    EXPECT_FALSE(Load(Wav({1, 1, 0, 1, 8}, Bytes(4, 0), 4)));
    EXPECT_EQ(LastReportedMessage().code, 26);
    EXPECT_TRUE(wavLoaded);
    EXPECT_EQ(wavDeck.wavFrames, 100u) << "nothing changed";
}

TEST_F(WavDeckTest, SampleLevelsInvertScaleAndClamp) {
    Bytes wide;
    Put16(wide, 0x4000);
    ASSERT_TRUE(Load(Wav({1, 1, 44100, 2, 16}, wide, 2)));
    EXPECT_EQ(WavSampleLevel(0), 63) << "high byte 0x40: v = -65";
    EXPECT_EQ(WavSampleLevel(1), 128) << "beyond the end";
    ASSERT_TRUE(Load(Wav({}, Bytes{200, 28, 0}, 3)));
    EXPECT_EQ(WavSampleLevel(0), 55);
    wavDeck.wavVolume = 10;
    EXPECT_EQ(WavSampleLevel(0), 1) << "-146 clamped at -127";
    EXPECT_EQ(WavSampleLevel(1), 255) << "198 clamped at 127";
    wavDeck.wavVolume = -10;
    EXPECT_EQ(WavSampleLevel(0), 128 - 36);
    wavDeck.wavVolume = 0;
    wavDeck.wavBias = 20;
    EXPECT_EQ(WavSampleLevel(0), 75);
}

TEST_F(WavDeckTest, PlaybackKeepsTheMachineClockWithoutDriftAtEveryRate) {
    // The machine (no ROM: NOPs) runs 5 emulated seconds while a 6-second WAV plays.
    for (uint32_t rate : {11025u, 22050u, 44100u, 48000u, 96000u, 192000u}) {
        ASSERT_TRUE(Load(Wav({1, 1, rate, 1, 8}, Bytes(rate * 6, 128), rate * 6)));
        StartWavPlayback();
        for (int frame = 0; frame < 250; ++frame)
            RunFrame();
        EXPECT_NEAR(double(wavDeck.wavPosition), 5.0 * rate, 2) << rate << " Hz";
        StopWavPlayback();
    }
    EXPECT_EQ(SamplePeriodFor(44100).whole, 73u) << "3229200 T-states a second, not 3.5 MHz";
}

TEST_F(WavDeckTest, PlayEndsARecordingCleanlyKeepingEverySampleAndTheSaveTrapReturns) {
    PrepareRecording(dir + "rec.wav");
    EXPECT_NE(machine.pages[0][kSaveTrapAddress], 0xED) << "the ROM's own SAVE drives MIC";
    StartRecording();
    machine.micBit = 0x08;
    for (int frame = 0; frame < 5; ++frame)
        RunFrame();
    EXPECT_TRUE(recording);
    const uint64_t recorded = wavDeck.wavFrames;
    ToggleWavPlayback(); // the play button while recording
    EXPECT_FALSE(recording || wavDeck.recordPrepared || recordArmed);
    EXPECT_FALSE(wavPlaying);
    EXPECT_TRUE(wavLoaded) << "the recording stays, to be played back";
    EXPECT_EQ(machine.pages[0][kSaveTrapAddress], 0xED);
    EXPECT_EQ(machine.pages[0][kSaveTrapAddress + 1], 0xFD);

    const Bytes file = ReadFile(dir + "rec.wav");
    const WavParseResult r = ParseWav(file);
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.dataSize, recorded + 1) << "sample 0 and every recorded sample";
    const Bytes samples(file.begin() + 44, file.end());
    EXPECT_EQ(samples[0], 128);
    for (size_t n = 1; n < 128; ++n)
        ASSERT_EQ(samples[n], 224) << n;
    EXPECT_LT(samples[140], 224) << "then it decays";
    EXPECT_GT(samples[140], 128);
    EXPECT_EQ(samples.back(), 128);

    // Playing it back runs to the end and stops by itself.
    StartWavPlayback();
    for (int frame = 0; frame < 10 && wavPlaying; ++frame)
        RunFrame();
    EXPECT_FALSE(wavPlaying);
}

TEST_F(WavDeckTest, ARecordingWithoutANameAsksWithASaveDialogThatTakesNewNames) {
    PrepareRecording("");
    StartRecording();
    RunFrame();
    dialogs.saveAnswers = {dir + "new.name.wav"};
    ASSERT_TRUE(FinishRecording());
    EXPECT_EQ(dialogs.lastSave.title, "Save WAV File");
    EXPECT_EQ(dialogs.lastSave.filters.front().second, "*.wav");
    EXPECT_FALSE(ReadFile(dir + "new.name.wav").empty()) << "cut only at the file name's own extension";
}

} // namespace

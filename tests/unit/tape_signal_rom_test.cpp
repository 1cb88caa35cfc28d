// Tapes played as a signal through the ROM's own loader: every Ace TAP of the test data
// as a TZX (fast loading) and as WAV recordings of two shapes, a subset at real speed,
// the shared TZX tape, and a SAVE recorded to WAV that loads back and runs.
#include <cctype>
#include <filesystem>
#include <string>

#include "machine/reset.h"
#include "running_machine.h"
#include "tape/load_file.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"
#include "tape/wav_file.h"
#include "tape_convert.h"
#include "tape_test_support.h"

namespace fs = std::filesystem;

namespace {

class TapeSignalRomTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        SetHost(&dialogs);
        ResetTapeAndFileState();
    }
    void TearDown() override {
        ResetTapeAndFileState();
        RunningMachineTest::TearDown();
    }

    bool Boot(uint32_t model = 3) {
        ResetTapeAndFileState();
        machine.model = model;
        machine.topPage = ModelTable(model).topPage;
        machine.ramTop = ModelTable(model).ramTop;
        if (!BootTestRom()) return false;
        RunFrames(100);
        return true;
    }
    static void RunFrames(int n) {
        for (int i = 0; i < n; ++i)
            RunFrame();
    }
    // Types `text`, then runs until the tape stops (within `maxFrames`) and a little more.
    static void TypeAndPlay(const std::string& text, int maxFrames = 20000) {
        StartSpool(text);
        for (int i = 0; i < 20000 && spool.spoolActive; ++i)
            RunFrame();
        for (int i = 0; i < maxFrames && (tzxPlaying || wavPlaying); ++i)
            RunFrame();
        RunFrames(30);
    }
    static std::string Screen() {
        std::string s;
        for (int row = 0; row < 24; ++row)
            s += ScreenLine(row) + "\n";
        return s;
    }

    CapturingHost dialogs;
};

// The first file on a TAP tape: the command that loads it and where its data lands.
struct TapeFile {
    std::string command;
    uint16_t address = 0, length = 0;
};

TapeFile FirstFile(const Bytes& tap) {
    TapeFile f;
    const TapParseResult tape = ParseTapBlocks(tap);
    if (tape.blocks.empty() || tape.blocks[0].data.size() < 15) return f;
    const std::vector<uint8_t>& h = tape.blocks[0].data;
    std::string name(h.begin() + 1, h.begin() + 11);
    name.erase(name.find_last_not_of(' ') + 1);
    f.length = uint16_t(h[11] | h[12] << 8);
    f.address = uint16_t(h[13] | h[14] << 8);
    f.command = (h[0] == 0 ? "load " : "0 0 bload ") + name + "\r";
    return f;
}

Bytes Memory(uint16_t address, uint16_t length) {
    return Bytes(machine.ram + address, machine.ram + address + length);
}

// One test per tape of the test data, so they can run side by side.
class EveryAceTap : public TapeSignalRomTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryAceTap, LoadsAsTzxAndAsWavThroughTheRomLoader) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    const std::string path = TestDataPath() + "/ace/tap/" + GetParam();
    const std::string dir = ScratchFolder();
    const Bytes tap = ReadFile(path);
    const TapeFile file = FirstFile(tap);
    ASSERT_FALSE(file.command.empty()) << path;
    // What the ROM makes of the file when the TAP trap delivers it.
    ASSERT_TRUE(Boot());
    ASSERT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded);
    TypeAndPlay(file.command);
    const Bytes expected = Memory(file.address, file.length);
    ASSERT_NE(Screen().find(" OK"), std::string::npos) << path << "\n" << Screen();

    // WAV tapes play in real time: the 16-bit stereo shape is left out for the two
    // largest tapes, which the 8-bit recording already carries through the same reader.
    const bool large = tap.size() > 12000;
    const struct {
        const char* ending;
        bool wav;
        WavShape shape;
    } variants[] = {
        {"tzx", false, {}},
        {"wav", true, {44100, 8, 1, false}},
        {"WAV", !large, {22050, 16, 2, true}},
    };
    for (const auto& v : variants) {
        if (!v.wav && v.ending[0] == 'W') continue;
        const std::string copy = dir + "tape." + v.ending;
        // The TZX tapes take turns at the three ways of writing the same signal.
        const TzxForm form = TzxForm(file.length % 3);
        WriteFile(copy, v.wav ? TapToWav(tap, v.shape) : TapToTzx(tap, 1000, form));
        ASSERT_TRUE(Boot());
        opt_fastloadtzx = true;
        ASSERT_EQ(LoadFileByName(copy, LoadRoute::LoadFileDialog), LoadResult::Loaded) << copy;
        TypeAndPlay(file.command);
        EXPECT_EQ(Memory(file.address, file.length), expected)
            << GetParam() << " as " << v.ending << " (" << v.shape.bits << " bits, " << v.shape.rate
            << " Hz)\n"
            << Screen();
    }
}

INSTANTIATE_TEST_SUITE_P(TestData, EveryAceTap,
                         ::testing::Values("4d_monster_maze.tap", "canonical_piles_calculator.tap",
                                           "case.tap", "centipede-m4_sb.TAP", "clock_check.tap",
                                           "debugging_tools.TAP", "hampsons_plane.tap", "hextools.TAP",
                                           "maze.tap", "maze_improved.tap", "mpf-1.tap",
                                           "random_number_generator.TAP", "scroll.tap", "starfield.tap",
                                           "tut-tut.tap", "xmodem.tap"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST_F(TapeSignalRomTest, TzxLoadsAtRealSpeedAndTheSharedTzxTapeLoadsItsBytes) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    const std::string dir = ScratchFolder();
    for (const char* name : {"starfield.tap", "clock_check.tap"}) {
        const Bytes tap = ReadFile(TestDataPath() + "/ace/tap/" + name);
        const TapeFile file = FirstFile(tap);
        ASSERT_TRUE(Boot());
        ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/tap/" + name, LoadRoute::LoadFileDialog), LoadResult::Loaded);
        TypeAndPlay(file.command);
        const Bytes expected = Memory(file.address, file.length);

        WriteFile(dir + "tape.tzx", TapToTzx(tap, 0)); // no pause between the blocks
        ASSERT_TRUE(Boot());
        opt_fastloadtzx = false;
        ASSERT_EQ(LoadFileByName(dir + "tape.tzx", LoadRoute::LoadFileDialog), LoadResult::Loaded);
        StartSpool(file.command);
        for (int i = 0; i < 2000 && !tzxPlaying; ++i)
            RunFrame();
        EXPECT_TRUE(tzxPlaying) << "the ROM's LOAD starts the tape";
        TypeAndPlay("");
        EXPECT_FALSE(tzxPlaying);
        EXPECT_EQ(Memory(file.address, file.length), expected) << name << "\n" << Screen();
    }

    // A bytes file for 0xF800 behind a text description block, on the 51K model.
    ASSERT_TRUE(Boot(3));
    ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/tzx/xmodem.tzx", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    ASSERT_EQ(tapeDeck.tapeInDeck->blocks.size(), 3u);
    TypeAndPlay("0 0 bload xmodem\r");
    EXPECT_NE(Screen().find("Bytes: xmodem     OK"), std::string::npos) << Screen();
    const Bytes tzx = ReadFile(TestDataPath() + "/ace/tzx/xmodem.tzx");
    EXPECT_EQ(Memory(0xF800, 238), Bytes(tzx.begin() + 0x56, tzx.begin() + 0x56 + 238));
}

TEST_F(TapeSignalRomTest, SaveRecordedToWavLoadsBackAndRunsAndTheTapSaveTrapReturns) {
    REQUIRE_TEST_ROM();
    const std::string dir = ScratchFolder();
    ASSERT_TRUE(Boot(0));
    TypeAndPlay(": sq dup * ;\r");
    PrepareRecording(dir + "square.wav");
    TypeAndPlay("save sq\r");
    EXPECT_TRUE(recording);
    RunFrames(400); // the ROM's SAVE sends a 4-second leader before the header
    ASSERT_TRUE(FinishRecording());
    const Bytes wav = ReadFile(dir + "square.wav");
    const WavParseResult parsed = ParseWav(wav);
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.dataSize, wavDeck.wavFrames) << "every recorded sample is in the file, the last one too";
    EXPECT_EQ(wav.size(), 44 + parsed.dataSize);

    // The ROM's SAVE goes to a TAP file again once the recording has ended.
    dialogs.saveAnswers = {dir + "again"};
    TypeAndPlay("save sq\r");
    EXPECT_EQ(dialogs.lastSave.title, "Save Tape File");
    EXPECT_TRUE(fs::exists(dir + "again.tap"));

    ASSERT_TRUE(Boot(0));
    ASSERT_EQ(LoadFileByName(dir + "square.wav", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    TypeAndPlay("load sq\r");
    TypeAndPlay("cls 7 sq .\r");
    EXPECT_NE(Screen().find("49"), std::string::npos) << Screen();
}

TEST_F(TapeSignalRomTest, TapBlocksThatKeepTheirTypeByteLoad) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    const Bytes tap = ReadFile(TestDataPath() + "/ace/tap/starfield.tap");
    const TapeFile file = FirstFile(tap);
    ASSERT_TRUE(Boot());
    ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/tap/starfield.tap", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    TypeAndPlay(file.command);
    const Bytes expected = Memory(file.address, file.length);

    // The same tape with the type byte after each length word, the checksum unchanged.
    Bytes typed;
    const TapParseResult blocks = ParseTapBlocks(tap);
    for (const TapeBlock& b : blocks.blocks) {
        const size_t length = b.data.size() + 1;
        typed.insert(typed.end(),
                     {uint8_t(length), uint8_t(length >> 8), uint8_t(b.index == 0 ? 0x00 : 0xFF)});
        typed.insert(typed.end(), b.data.begin(), b.data.end());
    }
    const std::string dir = ScratchFolder();
    WriteFile(dir + "typed.tap", typed);
    ASSERT_TRUE(Boot());
    ASSERT_EQ(LoadFileByName(dir + "typed.tap", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    ASSERT_TRUE(tapeDeck.tapeInDeck && tapeDeck.tapeInDeck->blocks[0].typeByte &&
                tapeDeck.tapeInDeck->blocks[1].typeByte);
    TypeAndPlay(file.command);
    EXPECT_EQ(Memory(file.address, file.length), expected) << Screen();
}

} // namespace

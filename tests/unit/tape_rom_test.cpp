// The tape deck and the file formats on the real ROM: FORTH words saved through the ROM's
// SAVE and loaded back through its LOAD, real Ace tapes, snapshots of a running program,
// spooled source and binary blocks.
#include <filesystem>
#include <string>

#include "machine/memory.h"
#include "machine/reset.h"
#include "rom_machine_test.h"
#include "tape/ace_snapshot.h"
#include "tape/binary_files.h"
#include "tape/file_kinds.h"
#include "tape/load_file.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape_test_support.h"

namespace fs = std::filesystem;

namespace {

class TapeRomTest : public RomMachineTest {
  protected:
    // Types `text` through the spool and lets the ROM finish what it started.
    static void Type(const std::string& text, int settleFrames = 25) {
        StartSpool(text);
        FinishTyping(settleFrames);
    }
    static void FinishTyping(int settleFrames) {
        for (int i = 0; i < 20000 && spool.spoolActive; ++i)
            RunFrame();
        RunFrames(settleFrames);
    }
    static bool ScreenHas(const std::string& text) { return Screen().find(text) != std::string::npos; }
    static Bytes VideoRam() { return Bytes(machine.ram + 0x2400, machine.ram + 0x2700); }
};

uint8_t Xor(const std::vector<uint8_t>& data, size_t n) {
    uint8_t x = 0;
    for (size_t k = 0; k < n; ++k)
        x ^= data[k];
    return x;
}

TEST_F(TapeRomTest, ForthWordSavedByTheRomLoadsBackAndRuns) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "square"};
    Type(": sq dup * ;\r");
    Type("save sq\r", 50);
    ASSERT_EQ(dialogs.lastSave.title, "Save Tape File");

    const Bytes file = ReadFile(dir + "square.tap");
    const TapParseResult tape = ParseTapBlocks(file);
    ASSERT_EQ(tape.blocks.size(), 2u) << Screen();
    ASSERT_FALSE(tape.truncated);
    const TapeBlock& header = tape.blocks[0];
    const TapeBlock& data = tape.blocks[1];
    EXPECT_EQ(header.length, 26);
    EXPECT_EQ(Bytes(header.data.begin(), header.data.begin() + 25),
              Bytes(machine.ram + kHeaderBufferOffset, machine.ram + kHeaderBufferOffset + 25))
        << "the header is the ROM's own header buffer";
    EXPECT_EQ(header.data[0], 0x00) << "a dictionary file";
    EXPECT_EQ(std::string(header.data.begin() + 1, header.data.begin() + 11), "sq        ");
    EXPECT_EQ(header.data[25], Xor(header.data, 25));
    EXPECT_EQ(data.length, (header.data[11] | header.data[12] << 8) + 1);
    EXPECT_EQ(data.data.back(), Xor(data.data, data.length - 1u));
    EXPECT_EQ(file.size(), 2u + 26 + 2 + data.length);

    ResetMachine();
    RunFrames(100);
    Type("7 sq .\r");
    EXPECT_TRUE(ScreenHas("?sq")) << "the word is gone after the reset\n" << Screen();
    ResetMachine();
    RunFrames(100);
    ASSERT_EQ(LoadFileByName(dir + "square.tap", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    Type("load sq\r", 50);
    EXPECT_EQ(tapeDeck.currentBlock, nullptr) << "header and data both delivered";
    Type("cls 7 sq .\r");
    EXPECT_TRUE(ScreenHas("49")) << Screen();
}

TEST_F(TapeRomTest, ANameNotOnTheTapeShowsTheTapesNamesAndWaitsForBreak) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "w"};
    Type(": tw 2 * ;\r");
    Type("save tw\r", 50);
    ResetMachine();
    RunFrames(100);
    ASSERT_EQ(LoadFileByName(dir + "w.tap", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    Type("load somethinglonger\r", 50);
    EXPECT_TRUE(ScreenHas("Dict: tw")) << Screen();
    EXPECT_FALSE(ScreenHas("OK")) << "the ROM listens on\n" << Screen();
    Type(" ", 20); // BREAK
    EXPECT_TRUE(ScreenHas("ERROR 3")) << Screen();
    Type("cls 21 tw .\r");
    EXPECT_TRUE(ScreenHas("?tw")) << "nothing loaded\n" << Screen();
}

TEST_F(TapeRomTest, AutoloadTypesTheLoadCommand) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    ASSERT_TRUE(Boot());
    opt_autoload = true;
    ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/tap/random_number_generator.TAP", LoadRoute::Dropped), LoadResult::Loaded);
    EXPECT_TRUE(spool.spoolActive);
    FinishTyping(50);
    EXPECT_EQ(tapeDeck.currentBlock, nullptr) << "both blocks delivered";
    EXPECT_TRUE(ScreenHas("load RAND")) << Screen();
    EXPECT_FALSE(ScreenHas("ERROR")) << Screen();
}

// Every real tape: its header names the file and its type; the ROM's LOAD (dictionary)
// or BLOAD (bytes) takes both blocks through the trap without an error.
TEST_F(TapeRomTest, RealTapesLoadThroughTheTrap) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(TestDataPath() + "/ace/tap")) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        ASSERT_TRUE(Boot(3));
        ASSERT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded);
        ASSERT_TRUE(TapeInDeck());
        const TapeBlock& header = *tapeDeck.tapeInDeck->first();
        std::string name(header.data.begin() + 1, header.data.begin() + 11);
        name.erase(name.find_last_not_of(' ') + 1);
        Type(std::string(header.data[0] == 0 ? "load " : "0 0 bload ") + name + "\r", 100);
        EXPECT_FALSE(ScreenHas("ERROR")) << Screen();
        EXPECT_FALSE(ScreenHas("?")) << Screen();
        const std::vector<TapeBlock>& blocks = tapeDeck.tapeInDeck->blocks;
        EXPECT_EQ(tapeDeck.currentBlock, blocks.size() > 2 ? &blocks[2] : nullptr)
            << "header and data both delivered";
        // The data block lands where its header says (checksum byte excluded).
        const TapeBlock& data = *tapeDeck.tapeInDeck->last();
        const uint16_t address = uint16_t(header.data[13] | header.data[14] << 8);
        int same = 0;
        for (size_t k = 0; k + 1 < data.data.size(); ++k)
            same += ReadMemory(uint16_t(address + k)) == data.data[k];
        EXPECT_GT(same, int(data.data.size()) * 9 / 10) << "of " << data.data.size() << " at " << address;
        EXPECT_TRUE(tapeDeck.tapeAtEnd);
        ++loaded;
    }
    EXPECT_EQ(loaded, 16);
}

TEST_F(TapeRomTest, RealProgramsStart) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    const struct {
        const char* file;
        const char* load;
        const char* start;
    } programs[] = {
        {"tut-tut.tap", "load TUTTUT\r", "tuttut\r"}, {"4d_monster_maze.tap", "LOAD 4DMM\r", "4DMM\r"},
        {"maze.tap", "LOAD MAZE\r", "RUN\r"},         {"starfield.tap", "load stars\r", "STARS\r"},
        {"scroll.tap", "LOAD scroll\r", "SCROLL\r"},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(p.file);
        ASSERT_TRUE(Boot(3));
        ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/tap/" + p.file, LoadRoute::LoadFileDialog), LoadResult::Loaded);
        Type(p.load, 100);
        ASSERT_FALSE(ScreenHas("ERROR")) << Screen();
        Type("cls\r");
        const Bytes before = VideoRam();
        Type(p.start, 150);
        std::string word = p.start;
        word.pop_back();
        EXPECT_FALSE(ScreenHas("?" + word)) << "the word was found\n" << Screen();
        EXPECT_FALSE(ScreenHas("ERROR")) << Screen();
        EXPECT_NE(VideoRam(), before) << "the program drew its screen";
    }
}

TEST_F(TapeRomTest, TapeOfSeveralFilesLoadsEachInTurn) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    ASSERT_TRUE(Boot(3));
    const std::string dir = ScratchFolder();
    const std::string tapes = TestDataPath() + "/ace/tap/";
    WriteFile(dir + "two.tap",
              Concat({ReadFile(tapes + "case.tap"), ReadFile(tapes + "random_number_generator.TAP")}));
    ASSERT_EQ(LoadFileByName(dir + "two.tap", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    ASSERT_EQ(tapeDeck.tapeInDeck->blocks.size(), 4u);
    Type("load CASE\r", 100);
    EXPECT_EQ(tapeDeck.currentBlock->index, 2);
    Type("load RAND\r", 100);
    EXPECT_EQ(tapeDeck.currentBlock, nullptr) << "past the last block";
    EXPECT_FALSE(ScreenHas("ERROR")) << Screen();
}

TEST_F(TapeRomTest, SnapshotOfARunningProgramContinuesInAFreshMachine) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    Type(": count 0 begin 1+ dup 0 0 at . 0 until ;\r");
    Type("count\r", 100);
    const std::string dir = ScratchFolder();
    ASSERT_TRUE(SaveAceSnapshot(dir + "running"));
    const MachineState saved = machine;
    const Bytes screen = VideoRam();
    const long shown = std::stol(ScreenLine(0));

    ResetMachine();
    RunFrames(100);
    ASSERT_EQ(LoadFileByName(dir + "running.ace", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    EXPECT_EQ(machine.pc, saved.pc);
    EXPECT_EQ(machine.sp, saved.sp);
    EXPECT_EQ(machine.af.w, saved.af.w);
    EXPECT_EQ(machine.bc.w, saved.bc.w);
    EXPECT_EQ(machine.de.w, saved.de.w);
    EXPECT_EQ(machine.hl.w, saved.hl.w);
    EXPECT_EQ(machine.ix.w, saved.ix.w);
    EXPECT_EQ(machine.iy.w, saved.iy.w);
    EXPECT_EQ(machine.ir, saved.ir);
    EXPECT_EQ(machine.im, saved.im);
    EXPECT_EQ(machine.iff1, saved.iff1);
    EXPECT_EQ(VideoRam(), screen);
    RunFrames(50);
    EXPECT_GT(std::stol(ScreenLine(0)), shown) << "the count goes on";
}

TEST_F(TapeRomTest, RealSnapshotRuns) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    ASSERT_TRUE(Boot(3));
    ASSERT_EQ(LoadFileByName(TestDataPath() + "/ace/snapshot/tut-tut.ace", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    RunFrames(100);
    int inked = 0;
    for (uint8_t c : VideoRam())
        inked += c != ' ' && c != 0;
    EXPECT_GT(inked, 20) << Screen();
    EXPECT_FALSE(ScreenHas("ERROR"));
}

TEST_F(TapeRomTest, SpoolFileWithCrLfLineEnds) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    const std::string path = ScratchFolder() + "double.fs";
    const std::string text = ": dbl 2 * ;\r\n21 dbl .\r\n";
    WriteFile(path, Bytes(text.begin(), text.end()));
    ASSERT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Loaded);
    EXPECT_EQ(currentFileKind, FileKind::Spool);
    int frames = 0;
    while (spool.spoolActive && frames < 1000)
        RunFrame(), ++frames;
    // Each character in the spool speed's 8 frames (the ROM takes one in 4), the line
    // feeds after CR in none.
    const int typed = int(text.size()) - 2;
    EXPECT_GE(frames, 8 * typed);
    EXPECT_LE(frames, 8 * typed + 16);
    RunFrames(10);
    EXPECT_TRUE(ScreenHas("21 dbl . 42")) << Screen();
    EXPECT_FALSE(ScreenHas("ERROR"));
}

TEST_F(TapeRomTest, BinaryBlocksRoundTripThroughMemory) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot(1));
    Type("99 20000 c! 77 20001 c!\r");
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "pair"};
    ASSERT_TRUE(SaveBinaryFileCommand("pair", "20000", "#2"));
    EXPECT_EQ(ReadFile(dir + "pair.bin"), (Bytes{99, 77}));

    ResetMachine();
    RunFrames(100);
    EXPECT_EQ(LoadBinaryFile(dir + "pair.bin", 20000), LoadResult::Loaded);
    Type("20000 c@ . 20001 c@ .\r");
    EXPECT_TRUE(ScreenHas(". 99 ")) << Screen();
    EXPECT_TRUE(ScreenHas(". 77 ")) << Screen();
}

} // namespace

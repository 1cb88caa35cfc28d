#include <random>

#include "base/current_file.h"
#include "base/messages.h"
#include "tape/dropped_file.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_file.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape_test_support.h"

namespace {

class TapFormatTest : public TapeTest {};

TEST(TapBlocks, WritingGivesLengthDataAndXor) {
    EXPECT_EQ(EncodeTapBlock(Bytes{}), (Bytes{0x01, 0x00, 0x00})) << "the XOR of an empty block is 0";
    EXPECT_EQ(EncodeTapBlock(Bytes{0x12, 0x34}), (Bytes{0x03, 0x00, 0x12, 0x34, 0x26}));
    const Bytes block255 = EncodeTapBlock(Bytes(255, 0x01));
    EXPECT_EQ(block255[0], 0x00);
    EXPECT_EQ(block255[1], 0x01) << "256 carries into the high byte";
    EXPECT_EQ(block255.back(), 0x01);
    const Bytes huge = EncodeTapBlock(Bytes(0xFFFF, 0x00));
    EXPECT_EQ(huge.size(), kMaxTapBlockData + 3) << "the length field must still describe the block";
    EXPECT_EQ(huge[0] | huge[1] << 8, 0xFFFF);
}

TEST(TapBlocks, ThreeBlocksAreIndexedInFileOrder) {
    const Bytes file = Concat({TapBlock(Bytes(25, 1)), TapBlock(Bytes(100, 2)), TapBlock(Bytes{})});
    const TapParseResult tape = ParseTapBlocks(file);
    ASSERT_EQ(tape.blocks.size(), 3u);
    EXPECT_FALSE(tape.truncated);
    const int lengths[] = {26, 101, 1};
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(tape.blocks[n].index, n);
        EXPECT_EQ(tape.blocks[n].length, lengths[n]);
        EXPECT_EQ(tape.blocks[n].data.size(), size_t(lengths[n])) << "data keeps the checksum byte";
    }
}

TEST(TapBlocks, MalformedFilesKeepEveryCompleteBlock) {
    const Bytes good = TapBlock(Bytes(25, 7));
    struct Case {
        const char* what;
        Bytes file;
        size_t blocks;
        bool truncated;
    } cases[] = {
        {"empty file", {}, 0, false},
        {"a lone byte", {0x05}, 0, true},
        {"length past the end", {0x10, 0x00, 1, 2, 3}, 0, true},
        {"good block then a cut one", Concat({good, Bytes{0xFF, 0xFF, 0x00}}), 1, true},
        {"good block then half a length", Concat({good, Bytes{0x01}}), 1, true},
        {"zero-length block", {0x00, 0x00}, 1, false},
        {"wrong checksum", {0x02, 0x00, 0x10, 0x99}, 1, false},
    };
    for (const Case& c : cases) {
        const TapParseResult tape = ParseTapBlocks(c.file);
        EXPECT_EQ(tape.blocks.size(), c.blocks) << c.what;
        EXPECT_EQ(tape.truncated, c.truncated) << c.what;
    }
}

TEST_F(TapFormatTest, LoadingATapFileInsertsItAndRecordsTheCurrentFile) {
    const std::string path = ScratchFolder() + "prog.TAP";
    WriteFile(path, Concat({TapBlock(AceHeader(0, "prog", 3, 0x3C51)), TapBlock(Bytes{1, 2, 3})}));
    EXPECT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded);
    ASSERT_TRUE(TapeInDeck());
    EXPECT_EQ(tapeDeck.tapeInDeck->blocks.size(), 2u);
    EXPECT_EQ(tapeDeck.currentBlock, tapeDeck.tapeInDeck->first());
    EXPECT_EQ(currentFileKind, FileKind::Tap);
    EXPECT_EQ(currentFile.currentBareName, "prog");
    EXPECT_EQ(currentFile.currentFilePath, path);
    EXPECT_EQ(snapshotFolder, path);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TapFormatTest, MixedCaseEndingIsAnUnknownExtension) {
    const std::string path = ScratchFolder() + "prog.Tap";
    WriteFile(path, TapBlock(Bytes{1}));
    EXPECT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, 22);
    EXPECT_EQ(LastReportedMessage().text, "16 - Tape Error: unknown extension");
    EXPECT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Failed);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(LoadFileByName(path, LoadRoute::CommandLine), LoadResult::Failed);
    EXPECT_EQ(dialogs.messages.size(), 2u) << "the command line loads nothing, silently";
    EXPECT_FALSE(TapeInDeck());
}

TEST_F(TapFormatTest, DroppedExtensionOnlyHasToBeginWithAnEnding) {
    const std::string path = ScratchFolder() + "GAME.TAPE";
    WriteFile(path, TapBlock(AceHeader(0, "GAME", 1, 0x3C51)));
    EXPECT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Failed);
    EXPECT_FALSE(TapeInDeck());
    EXPECT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Loaded);
    EXPECT_TRUE(TapeInDeck());
    EXPECT_EQ(currentFile.currentBareName, "GAME");
    EXPECT_EQ(DroppedFileKind("/x/words.fthx"), FileKind::Spool);
    EXPECT_EQ(DroppedFileKind("/x/words.f"), FileKind::Spool);
    EXPECT_EQ(DroppedFileKind("/x/song.flac"), FileKind::None) << "a one-letter ending matches only itself";
}

TEST_F(TapFormatTest, MissingFileIsReported) {
    EXPECT_EQ(LoadFileByName(ScratchFolder() + "absent.tap", LoadRoute::Dropped), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, 13);
    EXPECT_EQ(dialogs.messages.back(), "NoltACE Options|0D - File Error: File not found");
    EXPECT_EQ(LoadFileByName(ScratchFolder(), LoadRoute::CommandLine), LoadResult::Failed) << "a folder is not a file";
    EXPECT_EQ(LastReportedMessage().code, 13);
    EXPECT_FALSE(TapeInDeck());
}

TEST_F(TapFormatTest, TruncatedLastBlockIsReportedAndDropped) {
    const std::string path = ScratchFolder() + "cut.tap";
    Bytes file = Concat({TapBlock(AceHeader(0, "cut", 3, 0x3C51)), TapBlock(Bytes(300, 5))});
    file.resize(file.size() - 10);
    WriteFile(path, file);
    EXPECT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded) << "the complete block loads";
    EXPECT_EQ(LastReportedMessage().code, 21);
    ASSERT_TRUE(TapeInDeck());
    EXPECT_EQ(tapeDeck.tapeInDeck->blocks.size(), 1u);
    EXPECT_EQ(currentFileKind, FileKind::Tap);
}

TEST_F(TapFormatTest, ATapFileWithoutAWholeBlockIsReportedAndTheDeckKeepsItsTape) {
    const std::string path = ScratchFolder() + "empty.tap";
    for (const Bytes& file : {Bytes{}, Bytes{0x05}, Bytes{0x1A, 0x00, 0x00, 0x41}}) {
        dialogs.messages.clear();
        ResetTapeAndFileState();
        WriteFile(path, file);
        EXPECT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Failed) << file.size() << " bytes: nothing loaded";
        EXPECT_FALSE(TapeInDeck());
        EXPECT_NE(machine.pages[0][kLoadTrapAddress + 1], 0xFC) << "no trap planted";
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_NE(dialogs.messages[0].find(file.empty() ? "no blocks" : "incorrect length"), std::string::npos)
            << dialogs.messages[0];
    }
    const std::string kept = ScratchFolder() + "kept.tap";
    WriteFile(kept, TapBlock(Bytes{1, 2}));
    ASSERT_EQ(LoadFileByName(kept, LoadRoute::Dropped), LoadResult::Loaded);
    EXPECT_EQ(DeckContents(), "kept.tap (TAP)");
    LoadFileByName(path, LoadRoute::Dropped);
    EXPECT_TRUE(TapeInDeck()) << "the tape already in the deck stays";
    EXPECT_EQ(DeckContents(), "kept.tap (TAP)");
    EjectTape();
    EXPECT_EQ(DeckContents(), "");
}

TEST_F(TapFormatTest, FortyMegabytesOfNoiseLoadWithoutHarm) {
    const std::string dir = ScratchFolder();
    Bytes noise(40u << 20);
    std::mt19937 random(1234);
    for (auto& b : noise)
        b = uint8_t(random());
    for (const char* name : {"noise.tap", "noise.ace", "noise.txt"}) {
        WriteFile(dir + name, noise);
        LoadFileByName(dir + name, LoadRoute::LoadFileDialog);
        machine.hl.w = 0x3C51;
        for (int n = 0; n < 8 && TapeInDeck(); ++n)
            TapeLoadTrap();
    }
    SUCCEED() << "no crash, no write outside memory (the sanitizer build checks the rest)";
}

TEST_F(TapFormatTest, LoadFileDialogOffersTheFormatsAndLoadsTheChoice) {
    EXPECT_EQ(LoadFileDialog(), LoadResult::Failed); // cancelled: nothing loaded
    EXPECT_EQ(dialogs.lastOpen.title, "Open File");
    ASSERT_EQ(dialogs.lastOpen.filters.size(), 5u);
    EXPECT_EQ(dialogs.lastOpen.filters[0].second, "*.ace;*.tap;*.wav;*.tzx");
    LoadFileDialog(LoadFilter::RomOnly);
    ASSERT_EQ(dialogs.lastOpen.filters.size(), 1u);
    EXPECT_EQ(dialogs.lastOpen.filters[0].first, "ROM file format (*.rom)");

    const std::string path = ScratchFolder() + "maze.tap";
    WriteFile(path, TapBlock(AceHeader(0, "MAZE", 1, 0x3C51)));
    dialogs.openAnswers = {path};
    EXPECT_EQ(LoadFileDialog(), LoadResult::Loaded);
    EXPECT_TRUE(TapeInDeck());
    LoadFileDialog();
    EXPECT_EQ(dialogs.lastOpen.initialFolder, FolderOf(path))
        << "the next dialog opens where the last file came from";
}

TEST_F(TapFormatTest, DroppedRomIsIgnoredButLoadFileLoadsIt) {
    REQUIRE_TEST_ROM();
    const std::string path = ScratchFolder() + "custom.rom";
    Bytes rom = ReadFile(TestRomPath());
    rom[0x100] ^= 0xFF;
    WriteFile(path, rom);
    ASSERT_TRUE(BootTestRom());
    EXPECT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Failed);
    EXPECT_EQ(LoadFileByName(path, LoadRoute::CommandLine), LoadResult::Failed);
    EXPECT_NE(machine.pages[0][0x100], rom[0x100]);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded);
    EXPECT_EQ(machine.pages[0][0x100], rom[0x100]);
    EXPECT_EQ(romState.currentRomName, "CUSTOM.ROM");
    EXPECT_EQ(currentFileKind, FileKind::None) << "the reset that follows a ROM forgets the file";
}

} // namespace

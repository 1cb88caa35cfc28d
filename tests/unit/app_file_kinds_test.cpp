// Matching file names to loaders: the Load File ending rule, the drop rule, bare names,
// and the loading entry's reports by route.
#include <fstream>
#include <iterator>
#include <set>

#include "base/current_file.h"
#include "tape/dropped_file.h"
#include "app/help_quotes.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "tape/file_kinds.h"
#include "tape/load_file.h"
#include "test_support.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(AppFileKindsTest, EndingRuleIsCaseSensitiveOnTwoForms) {
    EXPECT_EQ(FileKindByEnding("/x/game.tap"), FileKind::Tap);
    EXPECT_EQ(FileKindByEnding("GAME.TAP"), FileKind::Tap);
    EXPECT_EQ(FileKindByEnding("GAME.Tap"), FileKind::None);
    EXPECT_EQ(FileKindByEnding("snap.ACE"), FileKind::Snapshot);
    EXPECT_EQ(FileKindByEnding("tune.wav"), FileKind::Wav);
    EXPECT_EQ(FileKindByEnding("tape.TZX"), FileKind::Tzx);
    EXPECT_EQ(FileKindByEnding("words.fs"), FileKind::Spool);
    EXPECT_EQ(FileKindByEnding("words.JA4"), FileKind::Spool);
    EXPECT_EQ(FileKindByEnding("other.rom"), FileKind::Rom);
    EXPECT_EQ(FileKindByEnding("game.tape"), FileKind::None);
    EXPECT_EQ(FileKindByEnding(""), FileKind::None);
}

TEST(AppFileKindsTest, DropRuleTakesTheExtensionFromTheLastDot) {
    EXPECT_EQ(DroppedExtension("/a.b/game.tap"), ".tap");
    EXPECT_EQ(DroppedExtension("/a.b/game"), "");
    EXPECT_EQ(DroppedExtension("archive.tar.TZX"), ".TZX");
    EXPECT_EQ(DroppedFileKind("/a.b/game"), FileKind::None) << "a dot in a folder name is no extension";
    EXPECT_EQ(DroppedFileKind("GAME.TZX"), FileKind::Tzx);
    EXPECT_EQ(DroppedFileKind("GAME.Tzx"), FileKind::None);
    EXPECT_EQ(DroppedFileKind("GAME.Tap"), FileKind::None);
    // An extension that merely begins with an entry's text still matches.
    EXPECT_EQ(DroppedFileKind("game.tape"), FileKind::Tap);
    EXPECT_EQ(DroppedFileKind("forth.fsx"), FileKind::Spool);
    EXPECT_EQ(DroppedFileKind("game.ta"), FileKind::None);
    EXPECT_EQ(DroppedFileKind("x.ROMAN"), FileKind::Rom);
}

TEST(AppFileKindsTest, BareNameDropsFolderAndExtension) {
    EXPECT_EQ(BareName("/tapes/maze.tap"), "maze");
    EXPECT_EQ(BareName("C:\\tapes\\maze.TAP"), "maze");
    EXPECT_EQ(BareName("words.fs"), "words");
    EXPECT_EQ(BareName("/x/noext"), "noext");
    EXPECT_EQ(BareName("/x/.hidden"), ".hidden");
}

TEST(AppFileKindsTest, HelpHasTwentyDistinctQuotations) {
    std::set<std::string> quotes;
    for (int i = 0; i < kHelpQuoteCount; ++i) {
        EXPECT_STRNE(HelpQuote(i), "");
        quotes.insert(HelpQuote(i));
    }
    EXPECT_EQ(quotes.size(), 20u);
    EXPECT_STREQ(HelpQuote(20), HelpQuote(0));
    EXPECT_STREQ(HelpQuote(-1), HelpQuote(19));
}

class AppLoadFileTest : public MachineTest {};

TEST_F(AppLoadFileTest, UnreadableFileIsNotFoundOnEveryRoute) {
    const std::string missing = ScratchFolder() + "gone.tap";
    for (LoadRoute route : {LoadRoute::CommandLine, LoadRoute::Dropped, LoadRoute::LoadFileDialog})
        EXPECT_EQ(LoadFileByName(missing, route), LoadResult::Failed);
    ASSERT_EQ(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.messages[0], "NoltACE Options|0D - File Error: File not found");
}

TEST_F(AppLoadFileTest, UnknownKindIsReportedExceptFromTheCommandLine) {
    const std::string tape = ScratchFolder() + "GAME.Tap";
    WriteBytes(tape, "data");
    EXPECT_EQ(LoadFileByName(tape, LoadRoute::CommandLine), LoadResult::Failed);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(LoadFileByName(tape, LoadRoute::Dropped), LoadResult::Failed);
    EXPECT_EQ(LoadFileByName(tape, LoadRoute::LoadFileDialog), LoadResult::Failed);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0], "NoltACE Error|16 - Tape Error: unknown extension");
}

TEST_F(AppLoadFileTest, RomLoadsOnlyThroughTheDialog) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    std::ifstream source(TestRomPath(), std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    image[0x200] = char(0x99);
    const std::string rom = ScratchFolder() + "mine.rom";
    WriteBytes(rom, image);
    ramBlock[0x3C00] = 0x77;

    EXPECT_EQ(LoadFileByName(rom, LoadRoute::Dropped), LoadResult::Failed);
    EXPECT_EQ(LoadFileByName(rom, LoadRoute::CommandLine), LoadResult::Failed);
    EXPECT_EQ(romState.currentRomName, "ACE.ROM");
    EXPECT_EQ(LoadFileByName(rom, LoadRoute::LoadFileDialog), LoadResult::Loaded);
    EXPECT_EQ(romState.currentRomName, "MINE.ROM");
    EXPECT_EQ(machine.pages[0][0x200], 0x99);
    EXPECT_EQ(ramBlock[0x3C00], 0) << "a new ROM resets the machine";
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(AppLoadFileTest, BinaryFileIsCopiedAndCutAtTheTopOfMemory) {
    const std::string bin = ScratchFolder() + "code.bin";
    WriteBytes(bin, std::string("\x01\x02\x03\x04", 4));
    ramBlock[0x4004] = 0xEE;
    EXPECT_EQ(LoadBinaryFile(bin, 0x4000), LoadResult::Loaded);
    EXPECT_EQ(ramBlock[0x4000], 1);
    EXPECT_EQ(ramBlock[0x4003], 4);
    EXPECT_EQ(ramBlock[0x4004], 0xEE);

    EXPECT_EQ(LoadBinaryFile(bin, 0xFFFE), LoadResult::Loaded);
    EXPECT_EQ(ramBlock[0xFFFE], 1);
    EXPECT_EQ(ramBlock[0xFFFF], 2);
    EXPECT_EQ(LoadBinaryFile(bin, 0x10000), LoadResult::Failed) << "an address past memory loads nothing";
    EXPECT_EQ(LoadBinaryFile(ScratchFolder() + "none.bin", 0x4000), LoadResult::Failed);
    EXPECT_TRUE(recorder.messages.empty()) << "binary loads report nothing";
}

} // namespace

#include <filesystem>

#include "machine/machine_state.h"
#include "tape/file_paths.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape_test_support.h"

namespace {

class TapeSaveTest : public TapeTest {
  protected:
    // What the ROM's SAVE does: the header from its buffer (HL = 0x2301, DE = 25), then
    // the data (HL = start, DE = length), each through the ED FD trap.
    void RomSave(const Bytes& header, uint16_t start, const Bytes& data) {
        for (size_t k = 0; k < header.size(); ++k)
            machine.ram[kHeaderBufferOffset + k] = header[k];
        for (size_t k = 0; k < data.size(); ++k)
            machine.ram[start + k] = data[k];
        machine.hl.w = 0x2301;
        machine.de.w = uint16_t(header.size());
        TapeSaveTrap();
        machine.hl.w = start;
        machine.de.w = uint16_t(data.size());
        TapeSaveTrap();
    }
};

TEST_F(TapeSaveTest, OneSaveWritesHeaderAndDataBlocks) {
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "words"};
    const Bytes header = AceHeader(0, "words", 4, 0x3C51);
    const Bytes data{0xDE, 0xAD, 0xBE, 0xEF};
    RomSave(header, 0x3C51, data);
    const Bytes file = ReadFile(dir + "words.tap");
    ASSERT_EQ(file.size(), (25u + 3) + (4 + 3)) << "a header of N bytes takes N + 3";
    EXPECT_EQ(file[0], 26);
    EXPECT_EQ(file[1], 0);
    EXPECT_EQ(Bytes(file.begin() + 2, file.begin() + 27), header);
    uint8_t x = 0;
    for (uint8_t b : header)
        x ^= b;
    EXPECT_EQ(file[27], x);
    EXPECT_EQ(Bytes(file.begin() + 28, file.end()),
              (Bytes{5, 0, 0xDE, 0xAD, 0xBE, 0xEF, 0xDE ^ 0xAD ^ 0xBE ^ 0xEF}));
    EXPECT_TRUE(tapeDeck.saveHeaderNext);
    EXPECT_EQ(tapeDeck.tapSave, nullptr);
    EXPECT_EQ(tapeFolder, dir + "words");
    EXPECT_EQ(dialogs.lastSave.title, "Save Tape File");
    ASSERT_EQ(dialogs.lastSave.filters.size(), 1u);
    EXPECT_EQ(dialogs.lastSave.filters[0].first, "TAP files (*.tap)");
}

TEST_F(TapeSaveTest, TwoSavesMakeTwoFiles) {
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "one.tap", dir + "two.tap"};
    RomSave(AceHeader(0, "one", 1, 0x3C51), 0x3C51, Bytes{1});
    RomSave(AceHeader(0, "two", 2, 0x3C51), 0x3C51, Bytes{2, 2});
    EXPECT_EQ(ParseTapBlocks(ReadFile(dir + "one.tap")).blocks.size(), 2u);
    EXPECT_EQ(ParseTapBlocks(ReadFile(dir + "two.tap")).blocks.size(), 2u);
}

TEST_F(TapeSaveTest, SavePathKeepsDotsInFolders) {
    const std::string dir = ScratchFolder() + "my.games/.hidden/";
    std::filesystem::create_directories(dir);
    dialogs.saveAnswers = {dir + "prog.old"};
    RomSave(AceHeader(0, "prog", 1, 0x3C51), 0x3C51, Bytes{7});
    EXPECT_TRUE(std::filesystem::exists(dir + "prog.old")) << "the name's own extension stays";
}

TEST_F(TapeSaveTest, CancellingWritesNothingAndTheNextSaveAsksAgain) {
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {""};
    RomSave(AceHeader(0, "gone", 1, 0x3C51), 0x3C51, Bytes{1});
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    EXPECT_TRUE(tapeDeck.saveHeaderNext) << "the data block of the cancelled save is not taken for a header";
    dialogs.saveAnswers = {dir + "kept"};
    RomSave(AceHeader(0, "kept", 1, 0x3C51), 0x3C51, Bytes{9});
    const TapParseResult tape = ParseTapBlocks(ReadFile(dir + "kept.tap"));
    ASSERT_EQ(tape.blocks.size(), 2u);
    EXPECT_EQ(tape.blocks[0].length, 26);
    EXPECT_EQ(tape.blocks[1].data[0], 9);
}

TEST_F(TapeSaveTest, ASaveCutShortAfterItsHeaderKeepsTheHeaderAlone) {
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "cut"};
    for (size_t k = 0; k < 25; ++k)
        machine.ram[kHeaderBufferOffset + k] = 0x20;
    machine.hl.w = 0x2301, machine.de.w = 25;
    TapeSaveTrap(); // BREAK: no data block follows
    EXPECT_FALSE(std::filesystem::exists(dir + "cut.tap")) << "written whole, at its end";
    tapeDeck.Reset(); // power-on ends the save
    EXPECT_EQ(ReadFile(dir + "cut.tap").size(), 28u);
    EXPECT_EQ(tapeDeck.tapSave, nullptr);
}

TEST_F(TapeSaveTest, DataIsWhatTheProcessorReads) {
    const std::string dir = ScratchFolder();
    dialogs.saveAnswers = {dir + "mirror"};
    machine.ram[0x3C10] = 0x5A;
    // 0x3010 is a mirror of 0x3C10; the processor reads the user RAM there.
    for (size_t k = 0; k < 25; ++k)
        machine.ram[kHeaderBufferOffset + k] = 0x20;
    machine.hl.w = 0x2301, machine.de.w = 25;
    TapeSaveTrap();
    machine.hl.w = 0x3010, machine.de.w = 1;
    TapeSaveTrap();
    const Bytes file = ReadFile(dir + "mirror.tap");
    ASSERT_EQ(file.size(), 28u + 4);
    EXPECT_EQ(file[30], 0x5A);
}

} // namespace

#include <filesystem>

#include "base/messages.h"
#include "machine/machine_state.h"
#include "tape/binary_files.h"
#include "tape_test_support.h"

namespace {

class BinaryFilesTest : public TapeTest {};

TEST_F(BinaryFilesTest, TenBytesAtDollar4000) {
    const std::string path = ScratchFolder() + "ten.bin";
    const Bytes bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    WriteFile(path, bytes);
    EXPECT_TRUE(LoadBinaryFileCommand(path, "$4000"));
    EXPECT_EQ(Bytes(machine.ram + 0x4000, machine.ram + 0x400A), bytes);
    EXPECT_EQ(machine.ram[0x400A], 0);
}

TEST_F(BinaryFilesTest, LoadGoesStraightIntoTheImage) {
    const std::string path = ScratchFolder() + "mirror.bin";
    WriteFile(path, Bytes{0xAA, 0xBB});
    EXPECT_EQ(LoadBinaryFile(path, 0x2000), LoadResult::Loaded);
    EXPECT_EQ(machine.ram[0x2000], 0xAA) << "no mirror folding";
    EXPECT_EQ(machine.ram[0x2400], 0x00);
    EXPECT_EQ(LoadBinaryFile(path, 0xC000), LoadResult::Loaded) << "no model ceiling";
    EXPECT_EQ(machine.ram[0xC001], 0xBB);
}

TEST_F(BinaryFilesTest, LoadPastTheEndOfMemoryIsCut) {
    const std::string path = ScratchFolder() + "long.bin";
    WriteFile(path, Bytes(300, 0x77));
    EXPECT_EQ(LoadBinaryFile(path, 0xFF00), LoadResult::Loaded);
    EXPECT_EQ(machine.ram[0xFFFF], 0x77);
    EXPECT_EQ(machine.ram[0xFEFF], 0x00);
    EXPECT_EQ(PlaceBinary(Bytes(2, 1), 0xFFFF), BinaryResult::Truncated);
    EXPECT_EQ(PlaceBinary(Bytes(1, 1), 0xFFFF), BinaryResult::Done);
}

TEST_F(BinaryFilesTest, BadAddressesAndMissingFilesAreRefused) {
    const std::string path = ScratchFolder() + "x.bin";
    WriteFile(path, Bytes{1});
    EXPECT_EQ(LoadBinaryFile(path, kMemorySize), LoadResult::Failed);
    EXPECT_EQ(PlaceBinary(Bytes(1, 1), kMemorySize), BinaryResult::BadAddress);
    EXPECT_FALSE(LoadBinaryFileCommand(path, "sixteen")) << "the dialog stays open";
    EXPECT_EQ(LastReportedMessage().code, 82);
    EXPECT_FALSE(LoadBinaryFileCommand(path, "70000"));
    ClearLastReportedMessage();
    EXPECT_EQ(LoadBinaryFile(path + ".missing", 0x4000), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, -1) << "the command line's binary load is silent";
    EXPECT_TRUE(LoadBinaryFileCommand(path + ".missing", "0"));
    EXPECT_EQ(LastReportedMessage().code, 13) << "the dialog says why nothing happened";
}

TEST_F(BinaryFilesTest, SaveAndLoadRoundTrip) {
    const std::string dir = ScratchFolder();
    for (int k = 0; k < 768; ++k)
        machine.ram[0x2400 + k] = uint8_t(k * 3);
    dialogs.saveAnswers = {dir + "screen"};
    EXPECT_TRUE(SaveBinaryFileCommand("screen", "#2400", "768"));
    EXPECT_EQ(dialogs.lastSave.title, "Save File");
    EXPECT_EQ(dialogs.lastSave.initialName, "screen");
    const Bytes file = ReadFile(dir + "screen.bin");
    ASSERT_EQ(file.size(), 768u);
    std::fill(machine.ram + 0x2400, machine.ram + 0x2700, 0);
    EXPECT_EQ(LoadBinaryFile(dir + "screen.bin", 0x2400), LoadResult::Loaded);
    for (int k = 0; k < 768; ++k)
        ASSERT_EQ(machine.ram[0x2400 + k], uint8_t(k * 3));
}

TEST_F(BinaryFilesTest, SaveRangeIsCutAtTheEndOfMemory) {
    const std::string dir = ScratchFolder();
    EXPECT_EQ(SaveBinaryFile(dir + "top", 0xFFF0, 0x100), BinaryResult::Truncated);
    EXPECT_EQ(ReadFile(dir + "top.bin").size(), 16u);
    EXPECT_EQ(SaveBinaryFile(dir + "all", 0, 65536), BinaryResult::Done);
    EXPECT_EQ(ReadFile(dir + "all.bin").size(), 65536u);
    EXPECT_EQ(SaveBinaryFile(dir + "none", 65536, 1), BinaryResult::BadAddress);
    EXPECT_FALSE(std::filesystem::exists(dir + "none.bin"));
}

TEST_F(BinaryFilesTest, SaveDialogCancelOrBadNumbersKeepTheDialogOpen) {
    const std::string dir = ScratchFolder();
    EXPECT_FALSE(SaveBinaryFileCommand("x", "16384", "10")); // save dialog cancelled
    EXPECT_FALSE(SaveBinaryFileCommand("x", "16384", "ten"));
    EXPECT_EQ(LastReportedMessage().code, 82);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST_F(BinaryFilesTest, BrowseKeepsThePathWhenCancelled) {
    EXPECT_EQ(BrowseBinaryFile("/data/old.bin"), "/data/old.bin");
    EXPECT_EQ(dialogs.lastOpen.title, "Open Binary File");
    EXPECT_TRUE(dialogs.lastOpen.filters.empty());
    EXPECT_EQ(dialogs.lastOpen.initialFolder, "/data/");
    dialogs.openAnswers = {"/data/new.bin"};
    EXPECT_EQ(BrowseBinaryFile("/data/old.bin"), "/data/new.bin");
}

} // namespace

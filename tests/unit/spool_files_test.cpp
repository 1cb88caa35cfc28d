#include "base/current_file.h"
#include "base/messages.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_file.h"
#include "tape/spool.h"
#include "tape/spool_files.h"
#include "tape_test_support.h"

namespace {

class SpoolFilesTest : public TapeTest {};

TEST_F(SpoolFilesTest, DialogTypesTheChosenFileAndRemembersItsFolder) {
    const std::string path = ScratchFolder() + "words.fs";
    WriteFile(path, Bytes{'1', '0', ' ', '.', '\r', '\n'});
    OpenSpoolFileDialog(); // cancelled
    EXPECT_EQ(dialogs.lastOpen.title, "Open SPOOL file");
    ASSERT_EQ(dialogs.lastOpen.filters.size(), 6u);
    EXPECT_EQ(dialogs.lastOpen.filters[0].second, "*.txt;*.ja4;*.fs;*.f;*.fth;*.4th;*.forth");
    EXPECT_FALSE(spool.spoolActive);

    dialogs.openAnswers = {path};
    OpenSpoolFileDialog();
    EXPECT_TRUE(spool.spoolActive);
    EXPECT_EQ(spool.spoolLeft, 6);
    EXPECT_EQ(spoolFolder, path);
}

TEST_F(SpoolFilesTest, SpoolFileNamedOnTheCommandLine) {
    const std::string path = ScratchFolder() + "prog.txt";
    WriteFile(path, Bytes{'w', 'o', 'r', 'd', 's', '\r'});
    EXPECT_EQ(LoadFileByName(path, LoadRoute::CommandLine), LoadResult::Loaded);
    EXPECT_EQ(currentFileKind, FileKind::Spool);
    EXPECT_EQ(spool.spoolLeft, 6);
}

TEST_F(SpoolFilesTest, DevRetypesTheCurrentFilesTextFromTheSpoolFolder) {
    const std::string dir = ScratchFolder();
    WriteFile(dir + "maze.txt", Bytes{'v', 'l', 'i', 's', 't', '\r'});
    spoolFolder = dir + "other.fs";
    currentFile.currentBareName = "maze";
    EXPECT_TRUE(DevSpool());
    EXPECT_EQ(spool.spoolLeft, 6);

    ClearSpool();
    currentFile.currentBareName = "absent";
    EXPECT_FALSE(DevSpool());
    EXPECT_EQ(spool.spoolLeft, 0);
    EXPECT_TRUE(dialogs.messages.empty()) << "a missing Dev file is not reported";
}

TEST_F(SpoolFilesTest, UnreadableSpoolFileIsReported) {
    EXPECT_EQ(SpoolFile(ScratchFolder() + "gone.txt"), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, 13);
    EXPECT_FALSE(spool.spoolActive);
}

TEST_F(SpoolFilesTest, OnlyTextIsTyped) {
    const struct {
        std::string bytes;
        bool text;
    } cases[] = {
        {": SQ DUP * ;\r\n\t5 SQ .\n\f", true},
        {"\xC2\xA3 and \xC2\xA9 in UTF-8", true},
        {"", true},
        {std::string("ab\0cd", 5), false},
        {"\x01\x02\x03 a tape header", false},
        {std::string(100, 'a') + "\x1B[0m", true}, // a stray escape sequence in a long text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(LooksLikeText(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()), c.text);
    }
    // A binary file is refused with a message instead of being typed, by every route.
    const std::string path = ScratchFolder() + "game.fs";
    WriteFile(path, Bytes{0x00, 0x1A, 0x20, 0x00, 0xC9, 0x3E, 0x01});
    EXPECT_EQ(SpoolFile(path), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, 15);
    EXPECT_FALSE(spool.spoolActive);
    ClearLastReportedMessage();
    EXPECT_EQ(LoadFileByName(path, LoadRoute::Dropped), LoadResult::Failed) << "nothing loaded";
    EXPECT_EQ(LastReportedMessage().code, 15);
    EXPECT_FALSE(spool.spoolActive);
}

} // namespace

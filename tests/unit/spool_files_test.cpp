#include "base/current_file.h"
#include "base/messages.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_file.h"
#include "tape/spool.h"
#include "tape/spool_files.h"
#include "tape_test_support.h"

namespace {

class SpoolFilesTest : public TapeTest {
  protected:
    void SetUp() override {
        TapeTest::SetUp();
        ResetSpool(); // no spool left running by the test before
    }
};

TEST_F(SpoolFilesTest, DialogTypesTheChosenFileAndRemembersItsFolder) {
    const std::string path = ScratchFolder() + "words.fs";
    WriteFile(path, Bytes{'1', '0', ' ', '.', '\r', '\n'});
    OpenSpoolFileDialog(); // cancelled
    EXPECT_EQ(dialogs.lastOpen.title, "Open SPOOL file");
    ASSERT_EQ(dialogs.lastOpen.filters.size(), 5u);
    EXPECT_EQ(dialogs.lastOpen.filters[0].second, "*.txt;*.ja4;*.fs");
    EXPECT_FALSE(spoolActive);

    dialogs.openAnswers = {path};
    OpenSpoolFileDialog();
    EXPECT_TRUE(spoolActive);
    EXPECT_EQ(spoolLeft, 6);
    EXPECT_EQ(spoolFolder, path);
}

TEST_F(SpoolFilesTest, SpoolFileNamedOnTheCommandLine) {
    const std::string path = ScratchFolder() + "prog.txt";
    WriteFile(path, Bytes{'w', 'o', 'r', 'd', 's', '\r'});
    EXPECT_FALSE(LoadFileByName(path, LoadRoute::CommandLine));
    EXPECT_EQ(currentFileKind, FileKind::Spool);
    EXPECT_EQ(spoolLeft, 6);
}

TEST_F(SpoolFilesTest, DevRetypesTheCurrentFilesTextFromTheSpoolFolder) {
    const std::string dir = ScratchFolder();
    WriteFile(dir + "maze.txt", Bytes{'v', 'l', 'i', 's', 't', '\r'});
    spoolFolder = dir + "other.fs";
    currentBareName = "maze";
    EXPECT_TRUE(DevSpool());
    EXPECT_EQ(spoolLeft, 6);

    ClearSpool();
    currentBareName = "absent";
    EXPECT_FALSE(DevSpool());
    EXPECT_EQ(spoolLeft, 0);
    EXPECT_TRUE(dialogs.messages.empty()) << "a missing Dev file is not reported";
}

TEST_F(SpoolFilesTest, UnreadableSpoolFileIsReported) {
    EXPECT_TRUE(SpoolFile(ScratchFolder() + "gone.txt"));
    EXPECT_EQ(LastReportedMessage().code, 13);
    EXPECT_FALSE(spoolActive);
}

} // namespace

#include <gtest/gtest.h>

#include "base/current_file.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"

namespace {

TEST(FilePaths, SaveExtensionIsAddedOnlyToANameWithoutOne) {
    EXPECT_EQ(WithExtension("/home/ace/.local/share/game", ".tap"), "/home/ace/.local/share/game.tap");
    EXPECT_EQ(WithExtension("/home/ace/my.games/demo", ".ace"), "/home/ace/my.games/demo.ace");
    EXPECT_EQ(WithExtension("/home/ace/my.games/demo.bin", ".tap"), "/home/ace/my.games/demo.bin");
    EXPECT_EQ(WithExtension("/tmp/demo.tap", ".tap"), "/tmp/demo.tap");
    EXPECT_EQ(WithExtension("/tmp/demo.v2.old", ".wav"), "/tmp/demo.v2.old");
    EXPECT_EQ(WithExtension("/tmp/cont.log", ".txt"), "/tmp/cont.log") << "the name's own extension stays";
    EXPECT_EQ(WithExtension("demo", ".bin"), "demo.bin");
    EXPECT_EQ(WithExtension("/tmp/.hidden", ".tap"), "/tmp/.hidden.tap") << "a leading dot is no extension";
    EXPECT_EQ(WithExtension("C:\\ace.dir\\game", ".tap"), "C:\\ace.dir\\game.tap");
}

TEST(FilePaths, NamesAndFolders) {
    EXPECT_EQ(BareName("/my.tapes/maze"), "maze");
    EXPECT_EQ(FileNameOf("/a/b/c.tap"), "c.tap");
    EXPECT_EQ(FolderOf("/a/b/c.tap"), "/a/b/");
    EXPECT_EQ(FolderOf("c.tap"), "");
}

TEST(FilePaths, ThePickedFilterGivesAnExtensionOnlyWhenThereIsNone) {
    EXPECT_EQ(WithFilterExtension("/home/me/.local/game", "*.wav"), "/home/me/.local/game.wav");
    EXPECT_EQ(WithFilterExtension("/x/game.ace", "*.wav"), "/x/game.ace");
    EXPECT_EQ(WithFilterExtension("/x/game.wav", "*.ace"), "/x/game.wav");
    EXPECT_EQ(WithFilterExtension("/x/cont.log", "*.txt"), "/x/cont.log");
    EXPECT_EQ(WithFilterExtension("/x/pclog", "*.txt"), "/x/pclog.txt");
    EXPECT_EQ(WithFilterExtension("/x/GAME.WAV", "*.wav"), "/x/GAME.WAV");
    EXPECT_EQ(WithFilterExtension("/x/game.ace", "*.ace;*.tap"), "/x/game.ace");
    EXPECT_EQ(WithFilterExtension("/x/notes.dat", "*.*"), "/x/notes.dat");
    EXPECT_EQ(WithFilterExtension("/x/notes.dat", ""), "/x/notes.dat");
}

TEST(FileKinds, EndingsMatchInLowerOrUpperCaseOnly) {
    EXPECT_EQ(FileKindByEnding("/x/game.ace"), FileKind::Snapshot);
    EXPECT_EQ(FileKindByEnding("/x/GAME.ACE"), FileKind::Snapshot);
    EXPECT_EQ(FileKindByEnding("/x/maze.tap"), FileKind::Tap);
    EXPECT_EQ(FileKindByEnding("/x/HEXTOOLS.TAP"), FileKind::Tap);
    EXPECT_EQ(FileKindByEnding("/x/maze.Tap"), FileKind::None);
    EXPECT_EQ(FileKindByEnding("/x/words.Fth"), FileKind::None);
    EXPECT_EQ(FileKindByEnding("/x/song.WAV"), FileKind::Wav);
    EXPECT_EQ(FileKindByEnding("/x/xmodem.tzx"), FileKind::Tzx);
    for (const char* spool : {"a.txt", "a.TXT", "a.ja4", "a.JA4", "a.fs", "a.FS", "a.f", "a.F", "a.fth", "a.FTH",
                              "a.4th", "a.4TH", "a.forth", "a.FORTH"})
        EXPECT_EQ(FileKindByEnding(spool), FileKind::Spool) << spool;
    EXPECT_EQ(FileKindByEnding("/roms/custom.rom"), FileKind::Rom);
    EXPECT_EQ(FileKindByEnding("/x/maze.tap.bak"), FileKind::None);
    EXPECT_EQ(FileKindByEnding("/x/tap"), FileKind::None);
    EXPECT_EQ(FileKindByEnding(""), FileKind::None);
}

} // namespace

// Every kind of file the program writes goes through one writer: written whole or not at
// all, and a failure reported the same way whatever the file.
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "app/config/config_file.h"
#include "app/shell_state.h"
#include "base/file_writer.h"
#include "base/messages.h"
#include "debugger/disassemble_to_file.h"
#include "debugger/forth_export.h"
#include "debugger/pc_log.h"
#include "display/bmp_file.h"
#include "machine/machine_state.h"
#include "tape/ace_snapshot.h"
#include "tape/binary_files.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Every file under `folder`, by its path from there.
std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory()) names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

class FileWriterTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        savedConfigFolder_ = configFolder;
        ClearLastReportedMessage();
    }
    void TearDown() override {
        configFolder = savedConfigFolder_;
        MachineTest::TearDown();
    }
    std::string savedConfigFolder_;
};

// Each writer, given the path "<folder>/out" to write to; the files it makes there;
// whether it reports a failure itself (the others hand the error to their caller).
struct WriterKind {
    const char* name;
    std::function<bool(const std::string& stem, std::string& error)> write;
    std::set<std::string> written;
    bool reportsItself;
};

bool Screenshot(const std::string& path, std::string& error) {
    const uint32_t pixels[4] = {1, 2, 3, 4};
    return WriteScreenshotImage(path, 2, 2, pixels, error);
}

// The ROM's SAVE through the tape trap: its header, then four bytes of data; the save
// dialog is answered with the stem.
bool RomSave() {
    machine.hl.w = 0x2301, machine.de.w = 25;
    TapeSaveTrap();
    machine.hl.w = 0x3C00, machine.de.w = 4;
    TapeSaveTrap();
    return LastReportedMessage().code == -1;
}

// A continuous PC log of one instruction, appended to the file.
bool LogOneInstruction(const std::string& path, std::string& error) {
    if (!StartPcLog(path, false, false, &error)) return false;
    PcLogStep();
    StopPcLog();
    return LastReportedMessage().code == -1;
}

const WriterKind kWriters[] = {
    {"settings",
     [](const std::string& stem, std::string&) {
         configFolder = stem + "/";
         return SaveConfig();
     },
     {"out/noltace.ini", "out/noltace-breakpoints.txt"},
     true},
    {"snapshot",
     [](const std::string& stem, std::string&) { return SaveAceSnapshot(stem); },
     {"out.ace"},
     true},
    {"binary",
     [](const std::string& stem, std::string&) {
         return SaveBinaryFile(stem, 0x2400, 768) == BinaryResult::Done;
     },
     {"out.bin"},
     true},
    {"WAV",
     [](const std::string& stem, std::string&) { return WriteWavFile(stem + ".wav"); },
     {"out.wav"},
     true},
    {"tape-out", [](const std::string&, std::string&) { return RomSave(); }, {"out.tap"}, true},
    {"PC log", [](const std::string& stem, std::string& error) { return LogOneInstruction(stem + ".txt", error); },
     {"out.txt"}, false},
    {"BMP", [](const std::string& stem, std::string& error) { return Screenshot(stem + ".bmp", error); },
     {"out.bmp"}, false},
    {"PNG", [](const std::string& stem, std::string& error) { return Screenshot(stem + ".png", error); },
     {"out.png"}, false},
    {"listing",
     [](const std::string& stem, std::string& error) {
         return WriteDisassembly(stem + ".txt", {0x3C00, 0x3C10}, {}, error);
     },
     {"out.txt"},
     false},
    {"FORTH source",
     [](const std::string& stem, std::string& error) {
         ForthExportCounts counts;
         return WriteForthExport(stem + ".fs", counts, error);
     },
     {"out.fs"},
     false},
};

TEST_F(FileWriterTest, EveryWriterReportsAFailureAndLeavesNoPartialFile) {
    for (const WriterKind& kind : kWriters) {
        SCOPED_TRACE(kind.name);
        const std::string folder = ScratchFolder();
        // A file where the folder should be: no one, root included, can write there.
        std::string error;
        ASSERT_TRUE(WriteWholeFile(folder + "blocked", std::string_view("x"), error)) << error;
        recorder.messages.clear();
        ClearLastReportedMessage();

        recorder.saveAnswers = {folder + "blocked/out"}; // for the writers that ask
        EXPECT_FALSE(kind.write(folder + "blocked/out", error));
        if (kind.reportsItself) {
            EXPECT_EQ(LastReportedMessage().code, 14);
            ASSERT_EQ(recorder.messages.size(), 1u);
            EXPECT_NE(recorder.messages[0].find("File Error: Cannot write file"), std::string::npos);
            EXPECT_NE(recorder.messages[0].find(folder + "blocked/out"), std::string::npos)
                << "names the file";
        } else {
            EXPECT_NE(error.find("cannot write '" + folder + "blocked/out"), std::string::npos) << error;
        }
        EXPECT_EQ(FilesIn(folder), std::set<std::string>{"blocked"});

        // Into a folder that takes it: the file alone, no temporary left beside it.
        const std::string good = folder + "good";
        fs::create_directory(good);
        ClearLastReportedMessage();
        recorder.saveAnswers = {good + "/out"};
        EXPECT_TRUE(kind.write(good + "/out", error)) << error;
        EXPECT_EQ(LastReportedMessage().code, -1);
        EXPECT_EQ(FilesIn(good), kind.written);
    }
}

TEST_F(FileWriterTest, ASuccessfulWriteReplacesTheOldFileWholeAndAFailedOneKeepsIt) {
    const std::string path = ScratchFolder() + "file";
    std::string error;
    ASSERT_TRUE(WriteWholeFile(path, std::string_view("first, the longer text"), error)) << error;
    ASSERT_TRUE(WriteWholeFile(path, std::string_view("second"), error)) << error;
    EXPECT_EQ(ReadFileText(path), "second") << "replaced whole, nothing of the longer one left";

    // A write that fails after it began (the file size limit stands in for a full disk).
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool written = WriteWholeFile(path, std::string(100000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("cannot write '" + path + "'"), std::string::npos) << error;
    EXPECT_EQ(ReadFileText(path), "second") << "the old file stays whole";
    EXPECT_EQ(FilesIn(fs::path(path).parent_path().string()), std::set<std::string>{"file"});

    // A writer dropped before Commit() leaves the target alone.
    {
        FileWriter out(path);
        ASSERT_TRUE(out.Open());
        out.Write(std::string_view("abandoned"));
    }
    EXPECT_EQ(ReadFileText(path), "second");
    EXPECT_EQ(FilesIn(fs::path(path).parent_path().string()), std::set<std::string>{"file"});
}

} // namespace

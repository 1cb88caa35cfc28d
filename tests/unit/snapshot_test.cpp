#include <cstring>
#include <filesystem>

#include "base/messages.h"
#include "machine/machine_state.h"
#include "tape/ace_snapshot.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/load_file.h"
#include "tape_test_support.h"

namespace {

class SnapshotTest : public TapeTest {
  protected:
    uint8_t image[0x10000] = {};

    LoadResult LoadBytes(const Bytes& bytes) {
        loadBuffer = bytes;
        const LoadResult result = LoadAceSnapshot();
        FreeLoadBuffer();
        return result;
    }
};

TEST_F(SnapshotTest, ThousandZerosAreFourLongRunsAndTheRest) {
    std::memset(image + 0x2000, 0, 1000);
    image[0x2000 + 1000] = 0x11;
    const Bytes stream = EncodeAceSnapshot(image);
    const Bytes start(stream.begin(), stream.begin() + 16);
    EXPECT_EQ(start,
              (Bytes{0xED, 0xF0, 0, 0xED, 0xF0, 0, 0xED, 0xF0, 0, 0xED, 0xF0, 0, 0xED, 0x28, 0, 0x11}));
}

TEST_F(SnapshotTest, LiteralsRunsAndTheEdEscape) {
    std::memset(image + 0x2000, 0x55, 0x6000); // fill so the coded bytes stand out
    const uint8_t pattern[] = {0x01, 0xED, 0x02, 0x07, 0x07, 0x07, 0x03, 0x09, 0x09, 0x09, 0x09, 0x04};
    std::memcpy(image + 0x2000, pattern, sizeof pattern);
    const Bytes stream = EncodeAceSnapshot(image);
    const Bytes expected{0x01, 0xED, 0x01, 0xED, 0x02, 0x07, 0x07, 0x07, 0x03, 0xED, 0x04, 0x09, 0x04};
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + expected.size()), expected);
    EXPECT_EQ(Bytes(stream.end() - 2, stream.end()), (Bytes{0xED, 0x00}));
}

TEST_F(SnapshotTest, RunsStopAtTheLastSavedByte) {
    std::memset(image + 0x2000, 0x11, 0x6000);
    std::memset(image + 0x7FF0, 0x22, 0x20); // runs on into 0x8000, which is not saved
    const Bytes stream = EncodeAceSnapshot(image);
    EXPECT_EQ(Bytes(stream.end() - 5, stream.end()), (Bytes{0xED, 0x10, 0x22, 0xED, 0x00}));
    uint8_t decoded[0x10000] = {};
    const SnapshotDecodeResult result = DecodeAceSnapshot(stream, decoded);
    EXPECT_EQ(result.end, kSnapshotSaveEnd);
    EXPECT_EQ(0, std::memcmp(decoded + 0x2000, image + 0x2000, 0x6000));
    EXPECT_EQ(decoded[0x8000], 0);
}

TEST_F(SnapshotTest, SaveAndLoadRestoreEveryRegister) {
    MachineState& m = machine;
    m.af.w = 0x1234, m.bc.w = 0x2345, m.de.w = 0x3456, m.hl.w = 0x4567;
    m.ix.w = 0x5678, m.iy.w = 0x6789, m.sp = 0x789A, m.pc = 0x89AB;
    m.afAlt.w = 0x9ABC, m.bcAlt.w = 0xABCD, m.deAlt.w = 0xBCDE, m.hlAlt.w = 0xCDEF;
    m.im = 2, m.iff1 = 1, m.iff2 = 0, m.i = 0x3F, m.r = 0xC5;
    m.ram[0x3C00] = 0x42;
    m.ram[0x7FFF] = 0xED;
    const std::string dir = ScratchFolder();
    ASSERT_TRUE(SaveAceSnapshot(dir + "state"));
    const Bytes file = ReadFile(dir + "state.ace");
    EXPECT_EQ(snapshotFolder, dir + "state");
    EXPECT_EQ(Bytes(file.end() - 2, file.end()), (Bytes{0xED, 0x00}));

    const MachineState saved = m;
    m = MachineState{};
    m.ram = ramBlock, m.rom = nullptr;
    for (int n = 0; n < 8; ++n)
        m.pages[n] = saved.pages[n];
    std::memset(ramBlock, 0, sizeof ramBlock);
    m.halted = 1;
    m.tstates = 777;
    EXPECT_EQ(LoadFileByName(dir + "state.ace", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    EXPECT_EQ(currentFileKind, FileKind::Snapshot);
    EXPECT_EQ(m.af.w, saved.af.w);
    EXPECT_EQ(m.bc.w, saved.bc.w);
    EXPECT_EQ(m.de.w, saved.de.w);
    EXPECT_EQ(m.hl.w, saved.hl.w);
    EXPECT_EQ(m.ix.w, saved.ix.w);
    EXPECT_EQ(m.iy.w, saved.iy.w);
    EXPECT_EQ(m.sp, saved.sp);
    EXPECT_EQ(m.pc, saved.pc);
    EXPECT_EQ(m.afAlt.w, saved.afAlt.w);
    EXPECT_EQ(m.bcAlt.w, saved.bcAlt.w);
    EXPECT_EQ(m.deAlt.w, saved.deAlt.w);
    EXPECT_EQ(m.hlAlt.w, saved.hlAlt.w);
    EXPECT_EQ(m.im, 2);
    EXPECT_EQ(m.iff1, 1);
    EXPECT_EQ(m.iff2, 0);
    EXPECT_EQ(m.i, 0x3F);
    EXPECT_EQ(m.r, 0xC5);
    EXPECT_EQ(m.ram[0x3C00], 0x42);
    EXPECT_EQ(m.ram[0x7FFF], 0xED);
    EXPECT_EQ(Bytes(m.ram + 0x2000, m.ram + 0x2004), (Bytes{0x01, 0x80, 0x00, 0x00}));
    EXPECT_EQ(m.tstates, 777u) << "the T-state counter is not part of a snapshot";
    EXPECT_EQ(m.halted, 0) << "the saved PC is where execution goes on";
}

TEST_F(SnapshotTest, StreamWithoutEndMarkerLoadsToTheEndOfTheFile) {
    Bytes stream{0xED, 0xFF, 0x00, 0xED, 0x45, 0x00}; // zeros over the snapshot area
    stream.insert(stream.end(), {0x07, 0x08, 0x09});
    const uint32_t end = 0x2000 + 0xFF + 0x45 + 3;
    EXPECT_EQ(LoadBytes(stream), LoadResult::Loaded);
    EXPECT_EQ(Bytes(machine.ram + end - 3, machine.ram + end), (Bytes{7, 8, 9}));
}

TEST_F(SnapshotTest, DamagedStreamsAreRefusedAndChangeNothing) {
    std::memset(machine.ram + 0x2000, 0x66, 0xE000);
    machine.pc = 0x1234;
    struct Case {
        const char* what;
        Bytes stream;
    } cases[] = {
        {"empty file", {}},
        {"only the end marker", {0xED, 0x00}},
        {"ends before the registers", {0xED, 0xFF, 0x00, 0x01, 0xED}},
        {"ends inside a run code", {0xED, 0xFF, 0x00, 0xED, 0xFF}},
        {"runs past 64 KB",
         [] {
             Bytes b;
             for (int n = 0; n < 260; ++n)
                 b.insert(b.end(), {0xED, 0xFF, 0x01});
             return b;
         }()},
        {"literals past 64 KB", Bytes(0xE001, 0x01)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadBytes(c.stream), LoadResult::Failed) << c.what;
        EXPECT_EQ(LastReportedMessage().code, 12) << c.what;
        EXPECT_EQ(machine.pc, 0x1234) << c.what;
        EXPECT_EQ(machine.ram[0x2100], 0x66) << c.what;
        EXPECT_EQ(machine.ram[0xFFFF], 0x66) << c.what;
    }
}

TEST_F(SnapshotTest, StreamFillingMemoryExactlyLoads) {
    Bytes stream;
    for (int n = 0; n < 0xE000 / 0xE0; ++n)
        stream.insert(stream.end(), {0xED, 0xE0, 0x01});
    stream.insert(stream.end(), {0xED, 0x00});
    EXPECT_EQ(LoadBytes(stream), LoadResult::Loaded);
    EXPECT_EQ(machine.ram[0xFFFF], 0x01);
    EXPECT_EQ(machine.pc, 0x0101);
}

TEST_F(SnapshotTest, SaveDialogAsksForAceOrWav) {
    const std::string dir = ScratchFolder();
    SaveSnapshotDialog(); // cancelled
    EXPECT_EQ(dialogs.lastSave.title, "Save File");
    ASSERT_EQ(dialogs.lastSave.filters.size(), 2u);
    EXPECT_EQ(dialogs.lastSave.filters[1].second, "*.wav");
    EXPECT_TRUE(std::filesystem::is_empty(dir));

    dialogs.saveAnswers = {dir + "tape.wav"};
    SaveSnapshotDialog();
    EXPECT_FALSE(std::filesystem::exists(dir + "tape.ace")) << "the WAV choice never writes a snapshot";
    EXPECT_TRUE(std::filesystem::exists(dir + "tape.wav"));

    dialogs.saveAnswers = {dir + "game.ace"};
    SaveSnapshotDialog();
    EXPECT_TRUE(std::filesystem::exists(dir + "game.ace"));
}

TEST_F(SnapshotTest, RealSnapshotLoads) {
    REQUIRE_TEST_DATA();
    const std::string path = TestDataPath() + "/ace/snapshot/tut-tut.ace";
    EXPECT_EQ(LoadFileByName(path, LoadRoute::CommandLine), LoadResult::Loaded);
    EXPECT_EQ(currentFileKind, FileKind::Snapshot);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_GE(machine.sp, 0x3C00) << "the stack lies in RAM";
    EXPECT_LT(machine.pc, 0x8000);
}

} // namespace

// The decompiler and the export against the real ROM: every word of a set of programs
// lists as the ROM's own LIST shows it on the screen, and the exported text, typed into a
// fresh machine, compiles to the same dictionary bytes. Real tapes make the same round
// trip.
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "debugger/forth_decompiler.h"
#include "debugger/forth_export.h"
#include "debugger/forth_stack.h"
#include "debugger/forth_stepping.h"
#include "debugger/forth_word_break.h"
#include "debugger/forth_views.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "rom_machine_test.h"
#include "tape/load_file.h"
#include "tape/tape_deck.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t kFirstWord = 0x3C51; // the first byte after the FORTH vocabulary word

class ForthDecompilerTest : public RomMachineTest {
  protected:
    // Types one line and lets the ROM finish it before the next: keys typed while it
    // compiles would be lost. The ROM is done when it waits for a key again.
    static void TypeLine(const std::string& line, int settleFrames = 2) {
        StartSpool(line + "\r");
        for (int i = 0; i < 20000 && spool.spoolActive; ++i)
            RunFrame();
        RunFrames(settleFrames);
        for (int i = 0; i < 500 && !WaitingForKey(); ++i)
            RunFrame();
    }
    static void TypeLines(const std::string& text) {
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            TypeLine(line);
    }
    static std::vector<uint8_t> Dictionary() {
        const uint16_t end = uint16_t(machine.ram[0x3C37] | machine.ram[0x3C38] << 8);
        return std::vector<uint8_t>(machine.ram + kFirstWord, machine.ram + std::max(end, kFirstWord));
    }
    // What LIST printed, from its first line to the line before "OK", trailing spaces cut.
    static std::vector<std::string> ListedOnScreen(const std::string& head) {
        std::vector<std::string> lines;
        int row = 0;
        while (row < 24 && ScreenLine(row).rfind(head, 0) != 0)
            ++row;
        for (; row < 24; ++row) {
            std::string line = ScreenLine(row);
            line.erase(line.find_last_not_of(' ') + 1);
            if (line == "  OK") break;
            lines.push_back(line);
        }
        return lines;
    }
    // The listing as the 32-column screen shows it.
    static std::vector<std::string> AsOnScreen(const std::vector<std::string>& listing) {
        std::vector<std::string> rows;
        for (const std::string& line : listing)
            for (size_t p = 0; p == 0 || p < line.size(); p += 32) {
                std::string row = line.substr(p, 32);
                row.erase(row.find_last_not_of(' ') + 1);
                rows.push_back(row);
            }
        return rows;
    }
    // Every listable word lists as the ROM lists it; returns how many were compared.
    int CompareWithList() {
        int compared = 0;
        for (const ForthWord& word : buildWordList()) {
            const ForthListing listing = DecompileWord(word, ForthBase());
            // LIST finds only the newest word of a name.
            if (!listing.ok() || FindRamWord(word.name)->header != word.header) continue;
            SCOPED_TRACE(word.name);
            TypeLine("CLS LIST " + word.name, 60);
            EXPECT_EQ(ListedOnScreen(listing.lines[0]), AsOnScreen(listing.lines)) << Screen();
            ++compared;
        }
        return compared;
    }
    // Exports, types the text into a fresh machine and compares the dictionaries.
    void RoundTrip(uint32_t model, int expectedRaw = -1) {
        const std::vector<uint8_t> before = Dictionary();
        ForthExportCounts counts;
        const std::string text = ExportForthSource(counts);
        ASSERT_TRUE(Boot(model));
        TypeLines(text);
        const std::vector<uint8_t> after = Dictionary();
        size_t same = 0;
        while (same < after.size() && same < before.size() && after[same] == before[same])
            ++same;
        EXPECT_TRUE(after == before) << "first difference at " << std::hex << kFirstWord + same << " of "
                                     << kFirstWord + before.size() << "\n"
                                     << Screen() << text.substr(0, 3000);
        if (expectedRaw >= 0) {
            EXPECT_EQ(counts.raw, expectedRaw) << text;
        }
    }
};

struct Program {
    const char* name;
    const char* text;
    int raw; // words the export must write as bytes
};

const Program kPrograms[] = {
    {"if else", ": SGN DUP 0< IF DROP -1 ELSE 0> IF 1 ELSE 0 THEN THEN ;\n", 0},
    {"do loop", ": TAB 11 1 DO I . LOOP ;\n: EVENS 20 0 DO I . 2 +LOOP ;\n", 0},
    {"nested loops", ": NEST 3 0 DO\n2 0 DO I J + . LOOP\nLOOP ;\n", 0},
    {"begin", ": DOWN BEGIN 1- DUP 0= UNTIL ;\n: WH BEGIN DUP WHILE 1- REPEAT DROP ;\n", 0},
    {"definer", "DEFINER CONST , DOES> @ ;\n7 CONST SEVEN\n: USE SEVEN 2 * ;\n", 1},
    // LIST shows no operand after a COMPILER word, so a word using one is written raw.
    {"compiler", "2 COMPILER LIT2 , RUNS> @ ;\n: TWO [ 99 ] LIT2 ;\n0 COMPILER NOP RUNS> ;\n: N NOP ;\n", 1},
    {"floats", ": FL 1.5 -2.25E3 .001 ;\n: FM 1.E9 0. 3.14159 F* ;\n: FS 1.E-9 -1. ;\n", 0},
    {"strings", ": HI .\" Hello, World!\" CR ;\n: CM ( a comment ) 1 ( more ) ;\n: Q 1 .\" x\" 2 ;\n", 0},
    {"create with data", "CREATE TABLE 1 C, 2 C, 300 ,\n: T@ TABLE + C@ ;\n", 1},
    {"machine code", "CREATE MC 253 C, 233 C,\nFIND MC DUP 2+ SWAP !\n: RUNMC MC ;\n", 1},
    {"variable and constant", "10 VARIABLE V\n5 CONSTANT FIVE\n: VF V @ FIVE + ;\n", 2},
    {"immediate, ascii, exit", ": NOW 1 ; IMMEDIATE\n: AE ASCII * EMIT EXIT 2 ;\n", 0},
    {"redefinitions", ": D2 DUP ;\n: D2 D2 D2 ;\n: DUP OVER ;\n: X DUP ;\n", 0},
    {"literals in hex", "16 BASE C!\n: HX FF -10 7FFF ;\nDECIMAL\n: BIG -32768 32767 ;\n", 0},
};

TEST_F(ForthDecompilerTest, ProgramsListAsTheRomListsThemAndRebuildByteForByte) {
    REQUIRE_TEST_ROM();
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.name);
        ASSERT_TRUE(Boot());
        TypeLines(program.text);
        ASSERT_EQ(Screen().find("ERROR"), std::string::npos) << Screen();
        EXPECT_GT(CompareWithList(), 0);
        RoundTrip(0, program.raw);
    }
}

TEST_F(ForthDecompilerTest, ListingFollowsBase) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    TypeLines(": HX 255 -16 ;\n16 BASE C!\n");
    EXPECT_EQ(CompareWithList(), 1);
}

// Real tapes: the dictionary each loads is exported and rebuilt byte for byte.
TEST_F(ForthDecompilerTest, RealTapesRebuildByteForByte) {
    REQUIRE_TEST_ROM();
    REQUIRE_TEST_DATA();
    int tapes = 0;
    for (const auto& entry : fs::directory_iterator(TestDataPath() + "/ace/tap")) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        ASSERT_TRUE(Boot(3));
        ASSERT_EQ(LoadFileByName(path, LoadRoute::LoadFileDialog), LoadResult::Loaded);
        const TapeBlock& header = *tapeDeck.tapeInDeck->first();
        if (header.data.empty() || header.data[0] != 0) continue; // a bytes tape holds no words
        std::string name(header.data.begin() + 1, header.data.begin() + 11);
        name.erase(name.find_last_not_of(' ') + 1);
        TypeLine("load " + name, 100);
        RoundTrip(3);
        ++tapes;
    }
    EXPECT_GT(tapes, 8);
}

// Damaged bodies: each gives a message (or a listing of what is there), never a read past
// RAM or a hang, and the export still ends with its count.
TEST_F(ForthDecompilerTest, DamagedWordsAreBoundedAndSaySo) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    TypeLines(": SQ DUP * ;\n: CUBE DUP SQ * ;\n: LAST 1 ;\n");
    const std::vector<ForthWord> words = buildWordList();
    ASSERT_EQ(words.size(), 4u);
    const ForthWord cube = words[1];
    const uint32_t body = cube.header + 3u, end = cube.header - 4u + cube.lengthField;
    const std::vector<uint8_t> saved(machine.ram + body, machine.ram + end);
    auto restore = [&] { std::copy(saved.begin(), saved.end(), machine.ram + body); };
    struct Damage {
        const char* what;
        std::function<void()> apply;
        const char* fault; // "" when the word still lists, though not as source
    } damages[] = {
        {"no end marker", [&] { machine.ram[end - 2] = 0x6B; machine.ram[end - 1] = 0x08; }, "no end marker"},
        {"an item outside RAM", [&] { machine.ram[body] = 0x00; machine.ram[body + 1] = 0x28; }, "not a word"},
        {"an item at the top of memory", [&] { machine.ram[body] = 0xFF; machine.ram[body + 1] = 0xFF; },
         "not a word"},
        {"a string past the end", [&] { machine.ram[body] = 0x96; machine.ram[body + 1] = 0x13; }, "past the end"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        d.apply();
        const ForthListing listing = DecompileWord(buildWordList()[1], 10);
        EXPECT_NE(listing.fault.find(d.fault), std::string::npos) << listing.fault;
        EXPECT_FALSE(listing.reproducible);
        ForthExportCounts counts;
        EXPECT_NE(ExportForthSource(counts).find("CREATE CUBE"), std::string::npos);
        restore();
    }
    // A zero length field: LIST goes by the end marker; the export writes bytes.
    machine.ram[cube.header - 4] = machine.ram[cube.header - 3] = 0;
    ASSERT_EQ(buildWordList().size(), 4u);
    const ForthListing zero = DecompileWord(buildWordList()[1], 10);
    EXPECT_TRUE(zero.ok()) << zero.fault;
    EXPECT_FALSE(zero.reproducible);
    // A body that runs to the top of RAM (the newer words above it are gone too, so the
    // word is the one read before the damage, its length field now 0).
    std::fill(machine.ram + body, machine.ram + machine.ramTop + 1, 0x6B);
    ForthWord runaway = cube;
    runaway.lengthField = 0;
    EXPECT_FALSE(DecompileWord(runaway, 10).ok());
}

// Stepping by word through LOOPY, which calls CUBE, which calls SQ.
TEST_F(ForthDecompilerTest, WordStepsFollowTheInnerInterpreter) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    TypeLines(": SQ DUP * ;\n: CUBE DUP SQ * ;\n: LOOPY BEGIN 7 CUBE DROP 0 UNTIL ;\n");
    StartSpool("LOOPY\r");
    RunFrames(100);
    debuggerSession.debuggerOpen = true;
    // Into, until CUBE is entered from LOOPY.
    int steps = 0;
    while (DispatchDescription() != "CUBE in LOOPY+8" && steps++ < 20)
        ASSERT_TRUE(RunWordStep(WordStep::Into, kWordStepBound).reached);
    ASSERT_EQ(DispatchDescription(), "CUBE in LOOPY+8");
    ASSERT_TRUE(RunWordStep(WordStep::Into, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "DUP in CUBE+2");
    ASSERT_TRUE(RunWordStep(WordStep::Over, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "SQ in CUBE+4");
    ASSERT_TRUE(RunWordStep(WordStep::Over, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "* in CUBE+6") << "SQ ran whole";
    // The ROM's * is a colon word too: its first word, named with the ROM's names.
    ASSERT_TRUE(RunWordStep(WordStep::Into, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "U* in *+2");
    EXPECT_EQ(FormatReturnStackEntry(ReadForthReturnStack()[1]).substr(10), "  CUBE+6");
    ASSERT_TRUE(RunWordStep(WordStep::Out, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "; in CUBE+8") << "out of *";
    ASSERT_TRUE(RunWordStep(WordStep::Out, kWordStepBound).reached);
    EXPECT_EQ(DispatchDescription(), "DROP in LOOPY+10");
    EXPECT_EQ(ReadForthDataStack().cells.front(), 343);
    debuggerSession.debuggerOpen = false;
}

// A word's name in the breakpoint list's address field stops at that word's entry.
TEST_F(ForthDecompilerTest, BreakpointByWordName) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    TypeLines(": SQ DUP * ;\n");
    std::string address, condition;
    EXPECT_FALSE(WordBreakpointFields("#0038", address, condition));
    EXPECT_FALSE(WordBreakpointFields("NOSUCH", address, condition));
    ASSERT_TRUE(WordBreakpointFields("SQ", address, condition));
    ClearBreakpoints();
    ASSERT_EQ(AddBreakpoint(address, condition), BreakpointResult::Ok);
    EXPECT_EQ(BreakpointPlaceText(0), "SQ");
    // The debugger, opened by the hit from inside the step, sees the word's entry.
    struct Debugger : CapturingHost {
        std::string seen;
        void RunDebugger() override {
            seen = ForthWordNameAt(WordBeingEntered()) + " " + FormatForthDataStack(ReadForthDataStack(), 10);
        }
    } debugger;
    SetHost(&debugger);
    TypeLine("7 SQ .");
    SetHost(&dialogs);
    EXPECT_EQ(debugger.seen, "SQ depth 1: 7");
    ClearBreakpoints();
}

} // namespace

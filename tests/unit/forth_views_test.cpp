// The FORTH views against the real ROM's dictionary, and the walk's bounds on a corrupt
// one.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "debugger/forth_views.h"
#include "headless_runner.h"
#include "machine/frame.h"
#include "running_machine.h"
#include "tape/spool.h"

namespace {

class ForthViewsTest : public RunningMachineTest {
  protected:
    // Boots the ROM and types `text`, then lets the ROM finish the last line.
    bool BootAndType(const std::string& text) {
        if (!BootTestRom()) return false;
        for (int f = 0; f < 100; ++f)
            RunFrame();
        StartSpool(text);
        for (int f = 0; f < 4000 && spool.spoolActive; ++f)
            RunFrame();
        for (int f = 0; f < 20; ++f)
            RunFrame();
        return true;
    }
    static uint16_t Word(uint16_t address) {
        return uint16_t(machine.ram[address] | machine.ram[address + 1] << 8);
    }
};

TEST_F(ForthViewsTest, WordListFollowsTheRomsDictionaryNewestFirst) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootAndType(": SQUARE DUP * ;\r: CUBE DUP SQUARE * ;\r: NOW 1 ; IMMEDIATE\r"));
    const std::vector<ForthWord> words = buildWordList();
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].name, "NOW");
    EXPECT_EQ(words[1].name, "CUBE");
    EXPECT_EQ(words[2].name, "SQUARE");
    EXPECT_EQ(words[3].name, "FORTH");
    EXPECT_EQ(words[3].link, kRomDictionaryLink);
    EXPECT_EQ(words[3].header, 0x3C49);
    // The IMMEDIATE flag sits in the name-length byte and does not shift the name.
    EXPECT_TRUE(words[0].nameLength & kImmediateFlag);
    EXPECT_EQ(words[1].nameLength, 4);
    // Each link is the next (older) word's header; CONTEXT's vocabulary holds the newest.
    for (size_t k = 0; k + 1 < words.size(); ++k)
        EXPECT_EQ(words[k].link, words[k + 1].header) << words[k].name;
    EXPECT_EQ(Word(0x3C4C), words[0].header);
    // A colon definition's code field is the ROM's DOCOLON, the same for every one.
    EXPECT_EQ(words[1].codeField, words[2].codeField);
    EXPECT_EQ(FormatWordListLine(words[2]).substr(0, 6), "SQUARE");
}

TEST_F(ForthViewsTest, CorruptDictionariesEndTheWalk) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootAndType(": SQUARE DUP * ;\r: CUBE DUP SQUARE * ;\r"));
    const std::vector<ForthWord> sound = buildWordList();
    ASSERT_EQ(sound.size(), 3u);
    const uint16_t cube = sound[0].header, square = sound[1].header;

    // CUBE's link pointing at itself, and forwards, would loop.
    for (uint16_t link : {cube, uint16_t(cube + 0x40)}) {
        machine.ram[cube - 2] = uint8_t(link);
        machine.ram[cube - 1] = uint8_t(link >> 8);
        const std::vector<ForthWord> words = buildWordList();
        ASSERT_EQ(words.size(), 1u) << std::hex << link;
        EXPECT_EQ(words[0].name, "CUBE");
    }
    // A link into the ROM other than 1FFF, or to the top of memory, stops too.
    for (uint16_t link : {uint16_t(0x0100), uint16_t(0xFFFF)}) {
        machine.ram[cube - 2] = uint8_t(link);
        machine.ram[cube - 1] = uint8_t(link >> 8);
        EXPECT_EQ(buildWordList().size(), 1u) << std::hex << link;
    }
    // A name with no end mark is cut at its length.
    machine.ram[cube - 2] = uint8_t(square);
    machine.ram[cube - 1] = uint8_t(square >> 8);
    machine.ram[square - 5] &= 0x7F; // SQUARE's last letter
    EXPECT_EQ(buildWordList()[1].name, "SQUARE");
    // No vocabulary word at all (RAM wiped, as early in start-up): an empty list.
    std::fill(machine.ram + 0x3C00, machine.ram + 0x4000, 0xFF);
    const std::vector<ForthWord> wiped = buildWordList();
    EXPECT_LE(wiped.size(), 1u);
    std::fill(machine.ram + 0x3C00, machine.ram + 0x4000, 0x00);
    EXPECT_TRUE(buildWordList().empty());
}

TEST_F(ForthViewsTest, SystemVariablesAndPadShowRamBytes) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootAndType(""));
    const std::vector<SystemVariableRow> rows = SystemVariableRows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows.front().name, "FP_WS");
    EXPECT_EQ(rows.back().address, "#3C3F");
    EXPECT_EQ(rows.back().value, "#0A"); // BASE is decimal
    const SystemVariableRow& frames = rows[13];
    EXPECT_EQ(frames.name, "FRAMES");
    char expected[32];
    std::snprintf(expected, sizeof expected, "#%02X, #%02X, #%02X, #%02X", machine.ram[0x3C2B],
                  machine.ram[0x3C2C], machine.ram[0x3C2D], machine.ram[0x3C2E]);
    EXPECT_EQ(frames.value, expected);

    machine.ram[0x2710] = 'A';
    machine.ram[0x2711] = 0x80;
    const std::vector<std::string> pad = PadRows();
    ASSERT_EQ(pad.size(), 32u);
    EXPECT_EQ(pad[1].substr(0, 13), "2710   41 80 ");
    EXPECT_EQ(pad[1].substr(7 + 48 + 1, 2), "A.");
    EXPECT_EQ(pad[31].substr(0, 4), "28F0"); // each row is labelled with its own address
}

class HeadlessDebugTest : public HeadlessRomFixture {
  protected:
    static std::string ReadFile(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
};

TEST_F(HeadlessDebugTest, WordsAndSystemVariablesFromTheCommandLine) {
    const HeadlessResult r =
        Run({"--run", "100", "--type", ": SQUARE DUP * ;\n: CUBE DUP SQUARE * ;\n", "--words", "--sysvars"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t cube = r.out.find("CUBE "), square = r.out.find("SQUARE "), forth = r.out.find("FORTH ");
    ASSERT_NE(cube, std::string::npos) << r.out;
    EXPECT_LT(cube, square);
    EXPECT_LT(square, forth);
    EXPECT_NE(r.out.find("FORTH            1FFF\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("FRAMES   #3C2B  #"), std::string::npos) << r.out;

    // FRAMES counts frames: two different run lengths show different bytes.
    const HeadlessResult early = Run({"--run", "60", "--sysvars"});
    const HeadlessResult late = Run({"--run", "90", "--sysvars"});
    auto framesLine = [](const std::string& out) { return out.substr(out.find("FRAMES"), 36); };
    EXPECT_NE(framesLine(early.out), framesLine(late.out));
}

TEST_F(HeadlessDebugTest, PcLogOfOneIdleFrameIsRepeatable) {
    const HeadlessResult a = Run({"--run", "100", "--pc-log", dir + "a.log", "--run", "1"});
    const HeadlessResult b = Run({"--run", "100", "--pc-log", dir + "b.log", "--run", "1"});
    ASSERT_EQ(a.status, 0) << a.err;
    const std::string log = ReadFile(dir + "a.log");
    EXPECT_GT(std::count(log.begin(), log.end(), '\n'), 1000);
    EXPECT_EQ(log.rfind("PC = ", 0), 0u);
    // Each line ends with the instruction's mnemonic, not a second address and bytes.
    const std::string first = log.substr(0, log.find('\n'));
    const std::string mnemonic = first.substr(first.find("tstate = ") + 16);
    EXPECT_FALSE(std::regex_search(mnemonic, std::regex("^[0-9A-F]{4}  "))) << first;
    EXPECT_FALSE(mnemonic.empty()) << first;
    EXPECT_EQ(log, ReadFile(dir + "b.log"));
    // The idle ROM waits in HALT between interrupts; a repeated HALT is logged once.
    size_t halts = 0;
    for (size_t at = log.find("HALT"); at != std::string::npos; at = log.find("HALT", at + 1))
        ++halts;
    EXPECT_LE(halts, 2u);

    // An unwritable log is an error and runs nothing.
    const HeadlessResult bad = Run({"--pc-log", dir + "missing/x.log", "--run", "1"});
    EXPECT_EQ(bad.status, 1);
}

TEST_F(HeadlessDebugTest, DisassembleToRefusesBadRangesWithoutCreatingTheFile) {
    const HeadlessResult ok = Run({"--disassemble-to", dir + "rom.txt", "0", "#1F"});
    ASSERT_EQ(ok.status, 0) << ok.err;
    const std::string listing = ReadFile(dir + "rom.txt");
    EXPECT_EQ(listing.rfind("0000  F3       DI\n0001  21003C   LD    HL,#3C00\n", 0), 0u) << listing;
    EXPECT_EQ(Run({"--disassemble-to", dir + "empty.txt", "1", "0"}).status, 0);
    EXPECT_TRUE(ReadFile(dir + "empty.txt").empty());

    // The 3K machine ends at 3FFF; End before Start; not numbers.
    for (std::vector<std::string> range : {std::vector<std::string>{"#4000", "#4010"},
                                           {"5", "3"},
                                           {"x", "1"},
                                           {"-1", "5"},
                                           {"70000", "70001"}}) {
        const HeadlessResult r = Run({"--disassemble-to", dir + "bad.txt", range[0], range[1]});
        EXPECT_NE(r.status, 0) << range[0];
        EXPECT_FALSE(std::filesystem::exists(dir + "bad.txt")) << range[0];
    }
}

} // namespace

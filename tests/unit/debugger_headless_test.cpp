// The debugger scripted through noltace-headless on the real ROM: the whole ROM listed,
// a breakpoint with and without a condition stopping a run, and stepping from there.
#include <algorithm>
#include <set>
#include <sstream>

#include "headless_runner.h"
#include "test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class DebuggerHeadlessTest : public HeadlessRomFixture {};

TEST_F(DebuggerHeadlessTest, ListsTheWholeRomOnce) {
    const HeadlessResult r = Run({"--disassemble", "0", "0x1FFF"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GT(lines.size(), 4000u);
    EXPECT_EQ(lines.front(), "0000  F3       DI");
    std::set<std::string> seen;
    unsigned expected = 0, bytes = 0;
    for (const std::string& line : lines) {
        const unsigned address = std::stoul(line.substr(0, 4), nullptr, 16);
        ASSERT_EQ(address, expected) << "each line starts where the last one ended: " << line;
        ASSERT_TRUE(seen.insert(line).second) << "repeated: " << line;
        const std::string column = line.substr(6, 8);
        const unsigned length = unsigned(column.find_last_not_of(' ') + 1) / 2;
        expected = address + length;
        bytes += length;
    }
    EXPECT_GE(expected, 0x2000u);
    EXPECT_LE(expected, 0x2003u);
    EXPECT_GE(bytes, 0x2000u);

    const HeadlessResult labelled = Run({"--dis-labels", "rom,sv", "--disassemble", "#10", "#15"});
    EXPECT_EQ(labelled.out, "0010  2A3B3C   LD    HL,(SPARE)\n0013  73       LD    (HL),E\n"
                            "0014  23       INC   HL\n0015  C35F08   JP    #085F\n");
}

TEST_F(DebuggerHeadlessTest, BreakpointStopsTheRunAndTheNextActionGoesOn) {
    // The frame interrupt scans the keyboard at 0336 once a frame.
    const HeadlessResult r =
        Run({"--break", "#0336", "--run", "100", "--step", "2", "--registers", "--run", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 16u + 2u + 15u + 16u) << r.out;
    EXPECT_EQ(lines[0], "break at 0336");
    EXPECT_EQ(lines[1].substr(0, 8), "PC  0336");
    EXPECT_EQ(lines[15].substr(0, 7), "MEMPTR ");
    EXPECT_EQ(lines[16], "0336  01FEFE   LD    BC,#FEFE") << "--step starts where the break stopped";
    EXPECT_EQ(lines[17], "0339  ED50     IN    D,(C)");
    EXPECT_EQ(lines[18].substr(0, 8), "PC  033B");
    EXPECT_EQ(lines[33], "break at 0336") << "the next --run stops at the next frame's scan";
}

// The frame interrupt's handler at 0038 is seen before it runs: a log line, a break.
TEST_F(DebuggerHeadlessTest, TheInterruptHandlersFirstInstructionIsSeen) {
    const std::string log = dir + "frame.log";
    const HeadlessResult logged = Run({"--run", "100", "--pc-log", log, "--run", "1"});
    ASSERT_EQ(logged.status, 0) << logged.err;
    const std::vector<std::string> lines = Lines(ReadFileText(log));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 9), "PC = 0038") << "the frame begins with the acceptance";
    EXPECT_EQ(lines[0].substr(lines[0].size() - 11), "JP    #013A");
    EXPECT_EQ(lines[1].substr(0, 9), "PC = 013A");

    const HeadlessResult stopped = Run({"--break", "#0038", "--run", "3"});
    ASSERT_EQ(stopped.status, 0) << stopped.err;
    const std::vector<std::string> rows = Lines(stopped.out);
    ASSERT_GE(rows.size(), 16u) << stopped.out;
    EXPECT_EQ(rows[0], "break at 0038");
    EXPECT_EQ(rows[1].substr(0, 8), "PC  0038");
}

TEST_F(DebuggerHeadlessTest, ConditionStopsOnlyWhenItHolds) {
    const HeadlessResult never = Run({"--break", "#0336,IX=#1234", "--run", "100", "--registers"});
    ASSERT_EQ(never.status, 0) << never.err;
    EXPECT_EQ(never.out.find("break at"), std::string::npos);

    const HeadlessResult holds = Run({"--break", "#0336,IX=#3C00", "--run", "100"});
    EXPECT_EQ(holds.out.substr(0, 14), "break at 0336\n");

    const HeadlessResult unreadable = Run({"--break", "#0336,A==3", "--run", "100"});
    EXPECT_EQ(unreadable.status, 0);
    EXPECT_NE(unreadable.err.find("the breakpoint stops whatever the registers hold"), std::string::npos)
        << unreadable.err;
    EXPECT_EQ(unreadable.out.substr(0, 14), "break at 0336\n");

    const HeadlessResult bad = Run({"--break", "#9000", "--run", "1"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--break needs an address from 0 to #3FFF"), std::string::npos) << bad.err;
}

TEST_F(DebuggerHeadlessTest, BadDebuggerArgumentsExitTwoWithOneLine) {
    std::vector<std::string> tooMany;
    for (int k = 0; k <= 256; ++k) {
        tooMany.push_back("--break");
        tooMany.push_back(std::to_string(0x3C00 + k));
    }
    tooMany.push_back("--run");
    tooMany.push_back("1");
    const std::vector<std::vector<std::string>> bad = {
        {"--break", "zz", "--run", "1"},
        {"--break", "#10000", "--run", "1"},
        {"--break", "0x", "--run", "1"},
        {"--break", "#9000", "--run", "1"}, // above the 3K model's RAM
        tooMany,
        {"--disassemble", "10", "5"},
        {"--disassemble", "0", "0x10000"},
        {"--step", "-3"},
        {"--step", "0"},
        {"--watch", "zz", "--run", "1"},
        {"--watch", "#3C59-#3C58", "--run", "1"},
        {"--watch", "#3C59,x", "--run", "1"},
        {"--watch", "#10000", "--run", "1"},
        {"--break-port", "#10000", "--run", "1"},
        {"--break-port", "#3C-#3D", "--run", "1"},
    };
    for (const auto& args : bad) {
        const HeadlessResult r = Run(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[1];
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

// A FORTH variable watched: typing in the input buffer never touches it once it
// exists (the snapshot brings it in without a store), and the word that stores into it
// stops the run right after the store.
TEST_F(DebuggerHeadlessTest, AWatchpointOnAForthVariableStopsItsStore) {
    const std::string snapshot = dir + "v.ace";
    const HeadlessResult made = Run({"--run", "100", "--type", "0 VARIABLE V\n: S 5 V ! ;\nV .\n", "--screen",
                                     "--save-snapshot", snapshot});
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_NE(made.out.find("V . 15449"), std::string::npos) << made.out; // #3C59

    const HeadlessResult r = Run({"--watch", "0x3C59", "--load", snapshot, "--run", "10", "--type", "S\n",
                                  "--registers", "--type", "V @ .\n", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 16u) << r.out;
    EXPECT_EQ(lines[0].substr(0, 9), "break at ");
    EXPECT_EQ(lines[0].substr(13), " (write to #3C59)");
    EXPECT_EQ(lines[6].substr(0, 16), "HL  3C59  05 00 ") << "the low byte was just stored";
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("break at", 0) == 0; }),
              1);
    EXPECT_NE(r.out.find("V @ . 5"), std::string::npos) << "the run goes on after the stop";

    const HeadlessResult port = Run({"--break-port", "#FE", "--run", "100"});
    EXPECT_EQ(port.out.rfind("break at ", 0), 0u) << "the ROM reads the keyboard through port FE";
    EXPECT_NE(port.out.find("(port #"), std::string::npos) << port.out;
}

TEST_F(DebuggerHeadlessTest, HexadecimalAfterZeroXWherePossible) {
    const HeadlessResult r = Run({"--break", "0x336", "--run", "100", "--disassemble", "0x10", "0X10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 14), "break at 0336\n");
    EXPECT_NE(r.out.find("0010  2A3B3C"), std::string::npos) << r.out;

    const std::string file = dir + "block.bin";
    const HeadlessResult saved = Run({"--save-binary", file, "0x3C00", "0x10"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(ReadFileText(file).size(), 16u);
}

} // namespace

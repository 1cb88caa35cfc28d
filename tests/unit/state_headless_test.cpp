// Machine states through noltace-headless on the real ROM: going back in time (--rewind,
// --step-back) and a state file loaded into a fresh run each end exactly where a run
// that never left got to; bad state files are refused with a clear line.
#include <fstream>
#include <iterator>
#include <sstream>

#include "headless_runner.h"
#include "test_support.h"

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The debugger's 15 register rows: the last lines printed.
std::string RegisterRows(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::string rows;
    for (size_t i = lines.size() < 15 ? 0 : lines.size() - 15; i < lines.size(); ++i)
        rows += lines[i] + "\n";
    return rows;
}

// "PC=059D AF=0054 ... T=64525" from the register rows, or from a PC log line (which
// shows the machine after its instruction).
std::string MachineLine(const std::string& text, bool pcLog) {
    std::string line;
    for (const char* name : {"PC", "SP", "AF", "BC", "DE", "HL", "IR"}) {
        const std::string key = pcLog ? std::string(name) + " = " : "\n" + std::string(name) + "  ";
        const std::string::size_type at = ("\n" + text).find(key);
        if (at == std::string::npos) return "no " + std::string(name);
        line += std::string(name) + "=" + ("\n" + text).substr(at + key.size(), 4) + " ";
    }
    const std::string key = pcLog ? "tstate = " : "TStates: ";
    const std::string::size_type at = text.find(key);
    return at == std::string::npos ? line : line + "T=" + std::to_string(std::stol(text.substr(at + key.size())));
}

// The PC log line `back` lines before its last.
std::string LogLineBack(const std::string& path, size_t back) {
    std::vector<std::string> lines;
    std::istringstream in(FileBytes(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return back < lines.size() ? lines[lines.size() - 1 - back] : "";
}

class StateHeadlessTest : public HeadlessRomFixture {};

TEST_F(StateHeadlessTest, GoingBackEndsWhereARunThatNeverLeftGot) {
    const std::string a = dir + "a", b = dir + "b", c = dir + "c", state = dir + "s";
    // A busy FORTH loop that prints and beeps.
    const std::vector<std::string> busy = {"--type", ": SQ DUP * ;\n", "--type",
                                           ": L 30000 0 DO I SQ . 20 1 BEEP LOOP ;\nL\n", "--run", "30"};
    auto with = [&](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    struct Case {
        const char* name;
        std::vector<std::string> first, second; // the second run's result must be the first's
        enum { Snapshots, Registers } compare;
    } cases[] = {
        {"--rewind as the done-when says",
         {"--type", "30000 0 DO I SQ . LOOP\n", "--save-snapshot", a, "--run", "250", "--rewind", "5",
          "--save-snapshot", b},
         {},
         Case::Snapshots},
        {"--rewind over a busy loop", with(busy, {"--save-snapshot", a, "--run", "250", "--rewind", "5",
                                                  "--save-snapshot", b}),
         {}, Case::Snapshots},
        {"--rewind a whole minute",
         with(busy, {"--save-snapshot", a, "--run", "3000", "--rewind", "60", "--save-snapshot", b}), {},
         Case::Snapshots},
        {"--step-back as the done-when says", {"--step", "30", "--step-back", "10", "--registers"},
         {"--step", "20", "--registers"}, Case::Registers},
        {"--step-back over frames, as far back as three frames",
         {"--run", "100", "--step-back", "12000", "--step-back", "1", "--registers"},
         {"--run", "100", "--step-back", "12001", "--registers"}, Case::Registers},
        {"--step-back across kept states, from a breakpoint",
         {"--break", "#0336", "--run", "100", "--step", "4500", "--step-back", "4400", "--registers"},
         {"--break", "#0336", "--run", "100", "--step", "100", "--registers"}, Case::Registers},
        {"--load-state into a fresh run", with(busy, {"--save-state", state, "--run", "100", "--save-snapshot", a}),
         {"--load-state", state + ".nst", "--run", "100", "--save-snapshot", b}, Case::Snapshots},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((a + ".ace").c_str());
        std::remove((b + ".ace").c_str());
        const HeadlessResult first = Run(c.first);
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(first.err, "");
        if (c.second.empty() && c.compare == Case::Snapshots) {
            ASSERT_FALSE(FileBytes(a + ".ace").empty());
            EXPECT_EQ(FileBytes(a + ".ace"), FileBytes(b + ".ace"));
            continue;
        }
        const HeadlessResult second = Run(c.second);
        ASSERT_EQ(second.status, 0) << second.err;
        if (c.compare == Case::Registers) {
            EXPECT_EQ(RegisterRows(first.out), RegisterRows(second.out));
        } else {
            ASSERT_FALSE(FileBytes(a + ".ace").empty());
            EXPECT_EQ(FileBytes(a + ".ace"), FileBytes(b + ".ace"));
        }
    }
    // Instructions the frames ran: the machine is as the PC log showed it after the
    // instruction before them. (The log writes one line for a repeating LDIR's repeats,
    // which the interrupt handler at the start of each frame has: the last 4000
    // instructions are the ROM's key wait, a line each.)
    const std::string log = dir + "pc.log";
    for (const long back : {5L, 4000L}) {
        SCOPED_TRACE(back);
        ASSERT_EQ(Run({"--run", "99", "--pc-log", log, "--run", "1"}).status, 0);
        const HeadlessResult r = Run({"--run", "100", "--step-back", std::to_string(back), "--registers"});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string expected = MachineLine(LogLineBack(log, size_t(back)), true);
        EXPECT_EQ(MachineLine(r.out, false), expected);
        EXPECT_NE(expected.find("T="), std::string::npos) << expected;
    }

    // The busy loop does change the machine: without the rewind the snapshots differ.
    ASSERT_EQ(Run(with(busy, {"--save-snapshot", a, "--run", "250", "--save-snapshot", c})).status, 0);
    EXPECT_NE(FileBytes(a + ".ace"), FileBytes(c + ".ace"));
}

TEST_F(StateHeadlessTest, BadStateFilesAreRefusedWithAReason) {
    const std::string good = dir + "good";
    ASSERT_EQ(Run({"--run", "100", "--save-state", good}).status, 0);
    const std::string bytes = FileBytes(good + ".nst");
    ASSERT_GT(bytes.size(), 100u);
    std::string otherVersion = bytes;
    otherVersion[8] = 2;
    std::string random(5000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = char(i * 2654435761u >> 13);
    std::string flipped = bytes;
    flipped[bytes.size() / 2] ^= 0x55;
    const struct {
        const char* name;
        std::string contents, message;
    } cases[] = {
        {"truncated", bytes.substr(0, bytes.size() / 2), "damaged or cut short"},
        {"one byte changed", flipped, "damaged or cut short"},
        {"other version", otherVersion, "format version 2 (this version reads 1)"},
        {"random bytes", random, "not a NoltACE state file"},
        {"empty", "", "not a NoltACE state file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "bad.nst";
        std::ofstream(path, std::ios::binary) << c.contents;
        const HeadlessResult r = Run({"--run", "10", "--load-state", path, "--screen"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    const HeadlessResult tooFar = Run({"--run", "60", "--rewind", "5"});
    EXPECT_EQ(tooFar.status, 1);
    EXPECT_NE(tooFar.err.find("only 1.2 emulated seconds are kept"), std::string::npos) << tooFar.err;
    EXPECT_EQ(Run({"--step", "5", "--step-back", "6"}).err,
              "noltace-headless: --step-back 6: only 5 instructions can be stepped back\n");
}

} // namespace

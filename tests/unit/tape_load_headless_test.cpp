// Loading tapes the way people do, through noltace-headless on the real ROM: a LOAD that
// finds nothing waits for BREAK and never hangs the program, a LOAD past the end of a
// tape leaves the machine as it was, a named file is found on a tape of several, a tape
// cut short never loads half a program, and autoload types what loads the first file.
// Every run goes through `timeout`, so a hang fails the test instead of stopping it.
#include <random>
#include <string>
#include <vector>

#include "headless_runner.h"
#include "tape/tap_format.h"
#include "tape_convert.h"
#include "tape_test_support.h"

namespace {

class TapeLoadHeadlessTest : public HeadlessRomFixture {
  protected:
    static HeadlessResult RunBounded(std::vector<std::string> args) {
        args.insert(args.begin(), {"--rom", TestRomPath()});
        return RunHeadless(args, "timeout 60");
    }
    // A TAP of one file per name, each a word NAME that prints its number (1, 2, ...),
    // saved by the ROM itself; returned as the bytes of one tape.
    Bytes SavedWords(const std::vector<std::string>& names) {
        std::vector<std::string> args = {"--run", "100"};
        for (size_t n = 0; n < names.size(); ++n)
            args.insert(args.end(), {"--tape-out", dir + names[n], "--type",
                                     ": " + names[n] + " " + std::to_string(n + 1) + " . ;\n", "--type",
                                     "save " + names[n] + "\n", "--run", "20"});
        const HeadlessResult r = RunBounded(args);
        EXPECT_EQ(r.status, 0) << r.err;
        Bytes tape;
        for (const std::string& name : names) {
            const Bytes file = ReadFile(dir + name + ".tap");
            tape.insert(tape.end(), file.begin(), file.end());
        }
        return tape;
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        WriteFile(dir + name, bytes);
        return dir + name;
    }
    static std::vector<std::string> Lines(const std::string& screen) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = screen.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string line = screen.substr(start, end - start);
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line);
        }
        return lines;
    }
};

// A LOAD whose name is not on the tape (or a bare LOAD, which the ROM matches against
// nothing): the tape plays to its end and stops, the frame limit holds (exit 3), and
// BREAK ends the LOAD. Autorewind winds back as a LOAD begins, never in a loop.
TEST_F(TapeLoadHeadlessTest, ALoadThatFindsNothingEndsWithinTheFrameLimitAndBreakStopsIt) {
    const Bytes tap = SavedWords({"tw"});
    const std::string tzx = Write("tw.tzx", TapToTzx(tap));
    const std::string tapPath = Write("tw.tap", tap);
    const std::string text = "[Tapes]\nopt_fastloadtzx=0\nopt_autoload=0\nopt_autorewind=1\nopt_tape_type=0\n"
                             "opt_startaddr=20000\n \n[End]\n";
    const std::string rewind = Write("rewind.ini", Bytes(text.begin(), text.end()));
    const struct {
        const char* what;
        std::vector<std::string> setup;
        std::string tape;
        const char* command;
    } cases[] = {
        {"fast TZX, other name", {"--fastload"}, tzx, "load nothere\n"},
        {"fast TZX, bare load", {"--fastload"}, tzx, "load\n"},
        {"fast TZX, autorewind", {"--fastload", "--config", rewind}, tzx, "load nothere\n"},
        {"real-speed TZX", {}, tzx, "load nothere\n"},
        {"TAP, other name", {}, tapPath, "load nothere\n"},
        {"TAP, autorewind", {"--config", rewind}, tapPath, "load nothere\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = c.setup;
        args.insert(args.end(), {"--max", "200", "--load", c.tape, "--type", c.command, "--until", "OK"});
        HeadlessResult r = RunBounded(args);
        EXPECT_EQ(r.status, 3) << "the LOAD waits; --max ends the run\n" << r.err;

        args.resize(args.size() - 2);
        args.insert(args.end(), {"--run", "1200", "--type", " ", "--run", "10", "--screen"});
        r = RunBounded(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_GE(lines.size(), 2u) << r.out;
        EXPECT_NE(lines[1].find("Dict: tw"), std::string::npos) << "the tape's own name\n" << r.out;
        EXPECT_NE(r.out.find("ERROR 3"), std::string::npos) << "BREAK ends the LOAD\n" << r.out;
        EXPECT_EQ(r.out.find("Dict: tw", r.out.find("Dict: tw") + 1), std::string::npos)
            << "the tape plays once, autorewind or not\n" << r.out;
    }
}

// A tape of three files: LOAD passes the files it does not want, showing each one's own
// name; a LOAD past the end leaves the screen as it was; a tape cut inside its last data
// block never says OK for that program.
TEST_F(TapeLoadHeadlessTest, NamedFilesAreFoundAndNothingLoadsPastTheEndOrFromACutTape) {
    const Bytes three = SavedWords({"aa", "bb", "cc"});
    const std::string whole = Write("three.tap", three);
    const std::string cut = Write("cut.tap", Bytes(three.begin(), three.end() - 5));
    const struct {
        const char* what;
        std::string tape;
        std::vector<std::string> actions;
        int status;
        std::vector<std::string> screen; // the first lines, trailing spaces dropped
    } cases[] = {
        {"the third file by its name",
         whole,
         {"--type", "load cc\n", "--until", "OK", "--type", "cc\n", "--screen"},
         0,
         {"load cc", "Dict: aa", "Dict: bb", "Dict: cc         OK", "cc 3  OK", ""}},
        {"one LOAD past the end",
         whole,
         {"--type", "load cc\n", "--until", "OK", "--type", "cls load aa\n", "--run", "300", "--screen"},
         0,
         {"load aa", "", "", ""}},
        {"the second file after the first", whole,
         {"--type", "load aa\n", "--until", "OK", "--type", "load bb\n", "--run", "50", "--type", "aa bb\n",
          "--screen"},
         0, {"load aa", "Dict: aa         OK", "load bb", "Dict: bb         OK", "aa 1 bb 2  OK"}},
        {"cut inside the last data block", cut, {"--type", "load cc\n", "--until", "OK"}, 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"--max", "300", "--load", c.tape};
        args.insert(args.end(), c.actions.begin(), c.actions.end());
        const HeadlessResult r = RunBounded(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        const std::vector<std::string> lines = Lines(r.out);
        for (size_t n = 0; n < c.screen.size(); ++n)
            EXPECT_EQ(n < lines.size() ? lines[n] : "?", c.screen[n]) << "line " << n << "\n" << r.out;
    }
    const HeadlessResult r = RunBounded({"--max", "10", "--load", cut, "--run", "1"});
    EXPECT_NE(r.err.find("incorrect length"), std::string::npos) << r.err;
}

// Fast loading is off unless asked for; autoload types the command for the tape's first
// header, whatever the file is called.
TEST_F(TapeLoadHeadlessTest, FastLoadingOnlyWhenAskedAndAutoloadUsesTheHeadersName) {
    const Bytes tap = SavedWords({"tw"});
    const std::string tzx = Write("not the name.tzx", TapToTzx(tap));
    const std::string tapPath = Write("other.tap", tap);
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"fast TZX", {"--fastload", "--load", tzx, "--type", "load tw\n"}, 0},
        {"real-speed TZX", {"--load", tzx, "--type", "load tw\n"}, 3},
        {"autoload TZX", {"--fastload", "--autoload", "--load", tzx, "--run", "100"}, 0},
        {"autoload TAP", {"--autoload", "--load", tapPath, "--run", "100"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"--max", "40", "--run", "50"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--until", "Dict: tw         OK", "--screen"});
        const HeadlessResult r = RunBounded(args);
        EXPECT_EQ(r.status, c.status) << r.err << r.out;
    }
}

// FORTH source under the names FORTH programmers give it is typed in as spool text.
TEST_F(TapeLoadHeadlessTest, ForthSourceEndingsLoadAsSpoolText) {
    const std::string source = ": xy 77 . ;\nxy\n";
    for (const char* ending : {".f", ".fth", ".4th", ".forth", ".FTH", ".fs"}) {
        SCOPED_TRACE(ending);
        const std::string path = Write(std::string("words") + ending, Bytes(source.begin(), source.end()));
        const HeadlessResult r = RunBounded({"--run", "50", "--load", path, "--until", "xy 77", "--max", "50"});
        EXPECT_EQ(r.status, 0) << r.err;
    }
}

// WAV recordings: either way up (a capture that swings to one side of the middle only
// shows edges one way round), fast with --fastload, and autoload reads the first header
// from the signal, whatever the file is called.
TEST_F(TapeLoadHeadlessTest, WavsLoadEitherWayUpFastWhenAskedAndAutoloadReadsTheHeader) {
    const Bytes tap = SavedWords({"tw"});
    WavShape above, below;
    above.low8 = 128, above.high8 = 200; // the Ace's 0/1 output recorded DC-coupled
    below.low8 = 56, below.high8 = 128;
    const struct {
        const char* what;
        WavShape shape;
        std::vector<std::string> setup;
        bool typed;
        long maxFrames;
    } cases[] = {
        {"usual capture, real speed", {}, {}, true, 1500},
        {"usual capture, fast", {}, {"--fastload"}, true, 40},
        {"above the middle only", above, {"--fastload"}, true, 40},
        {"below the middle only", below, {"--fastload"}, true, 40},
        {"autoload, another file name", {}, {"--fastload", "--autoload"}, false, 40},
        {"autoload, above the middle only", above, {"--fastload", "--autoload"}, false, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string wav = Write("stars16s.wav", TapToWav(tap, c.shape));
        std::vector<std::string> args = c.setup;
        args.insert(args.end(), {"--max", std::to_string(c.maxFrames), "--run", "50", "--load", wav});
        if (c.typed) args.insert(args.end(), {"--type", "load tw\n"});
        else args.insert(args.end(), {"--run", "100"});
        args.insert(args.end(), {"--until", "Dict: tw         OK", "--type", "tw\n", "--until", "tw 1  OK"});
        const HeadlessResult r = RunBounded(args);
        EXPECT_EQ(r.status, 0) << r.err;
    }
}

// The standard-speed blocks of a TZX made by TapToTzx, each with its ID and fields.
std::vector<Bytes> TzxBlocks(const Bytes& tzx) {
    std::vector<Bytes> blocks;
    for (size_t pos = 10; pos + 5 <= tzx.size();) {
        const size_t size = 5 + (tzx[pos + 3] | tzx[pos + 4] << 8);
        blocks.emplace_back(tzx.begin() + long(pos), tzx.begin() + long(pos + size));
        pos += size;
    }
    return blocks;
}

Bytes Tzx(std::initializer_list<Bytes> blocks) {
    Bytes out{'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20};
    for (const Bytes& b : blocks)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

// A 44.1 kHz 8-bit mono WAV header for `samples` samples.
Bytes WavHeader(uint32_t samples) {
    Bytes h{'R', 'I', 'F', 'F'};
    auto put32 = [&h](uint32_t v) {
        for (int k = 0; k < 4; ++k)
            h.push_back(uint8_t(v >> (8 * k)));
    };
    put32(36 + samples);
    h.insert(h.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0});
    put32(44100);
    put32(44100);
    h.insert(h.end(), {1, 0, 8, 0, 'd', 'a', 't', 'a'});
    put32(samples);
    return h;
}

Bytes Jump(int16_t by) {
    return {0x23, uint8_t(by), uint8_t(uint16_t(by) >> 8)};
}

// TZX jump, call, return and select blocks are followed; a jump loop ends the tape
// instead of going round for ever.
TEST_F(TapeLoadHeadlessTest, TzxControlBlocksAreFollowedAndAJumpLoopEndsTheTape) {
    const std::vector<Bytes> tw = TzxBlocks(TapToTzx(SavedWords({"tw"})));
    ASSERT_EQ(tw.size(), 2u);
    const Bytes& header = tw[0];
    const Bytes& data = tw[1];
    Bytes wrong = data; // a data block whose bytes the ROM would take for the program
    for (size_t k = 6; k + 1 < wrong.size(); ++k)
        wrong[k] ^= 0x55;
    const Bytes ret{0x27};
    const Bytes call{0x26, 1, 0, 3, 0};                                      // calls the block 3 on
    const Bytes select{0x28, 11, 0, 2, 2, 0, 2, 'o', 'k', 1, 0, 2, 'n', 'o'}; // first: 2 on
    const struct {
        const char* what;
        Bytes tape;
        int status;
    } cases[] = {
        {"jump over a block", Tzx({header, Jump(2), wrong, data}), 0},
        {"call and return", Tzx({header, call, Jump(3), wrong, data, ret}), 0},
        {"select plays its first choice", Tzx({header, select, wrong, data}), 0},
        {"jumps in a loop", Tzx({header, Jump(1), Jump(-1), data}), 3},
        {"only control blocks", Tzx({Jump(1), Jump(-1), Bytes{0x24, 0xFF, 0xFF}, ret, Bytes{0x25}}), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Write("control.tzx", c.tape);
        for (const char* speed : {"--fastload", "--run"}) {
            std::vector<std::string> args = {"--max", "400", "--load", path, "--type", "load tw\n", "--until",
                                             "Dict: tw         OK"};
            if (std::string(speed) == "--fastload") args.insert(args.begin(), speed);
            const HeadlessResult r = RunBounded(args);
            EXPECT_EQ(r.status, c.status) << speed << "\n" << r.err;
        }
    }
}

// Bad tapes: the ROM listens, the frame limit holds, BREAK ends the LOAD, and nothing
// is loaded or written where it should not be.
TEST_F(TapeLoadHeadlessTest, BadTapesLeaveTheRomListeningAndBreakWorks) {
    std::mt19937 random(20);
    Bytes noise = WavHeader(44100 * 3);
    for (int n = 0; n < 44100 * 3; ++n)
        noise.push_back(uint8_t(random()));
    Bytes silence = WavHeader(44100 * 3);
    silence.resize(silence.size() + 44100 * 3, 128);
    const struct {
        const char* name;
        Bytes file;
        const char* refused; // the message when the file gives no tape at all
    } cases[] = {
        {"empty.tap", {}, "holds no blocks"},
        {"zero.tap", {0x00, 0x00}, nullptr},
        {"huge.tap", Concat({Bytes{0xFF, 0xFF}, Bytes(300, 0x20)}), "incorrect length"},
        {"shortheader.tap", TapBlock(Bytes{0x00, 'x'}), nullptr},
        {"cutheader.tzx", Bytes{'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20, 0x10, 0, 0, 27, 0, 0, 'x'}, nullptr},
        {"controls.tzx", Tzx({Bytes{0x21, 1, 'g'}, Bytes{0x22}, Bytes{0x20, 0, 0}, Bytes{0x2B, 1, 0, 0, 0, 1}}),
         nullptr},
        {"silence.wav", silence, nullptr},
        {"noise.wav", noise, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.file);
        if (c.refused) {
            const HeadlessResult r = RunBounded({"--load", path, "--run", "1"});
            EXPECT_NE(r.status, 0);
            EXPECT_NE(r.err.find(c.refused), std::string::npos) << r.err;
            continue;
        }
        // Typed by hand with fast loading, or by autoload (the file's own name, as there
        // is no header to read).
        std::string bare = c.name;
        bare.erase(bare.find('.'));
        for (bool autoload : {false, true}) {
            std::vector<std::string> args = {autoload ? "--autoload" : "--fastload", "--load", path};
            if (!autoload) args.insert(args.end(), {"--type", "load x\n"});
            args.insert(args.end(), {"--max", "100", "--until", "OK"});
            HeadlessResult r = RunBounded(args);
            EXPECT_EQ(r.status, 3) << r.err;
            args.resize(args.size() - 4);
            args.insert(args.end(), {"--run", "200", "--type", " ", "--run", "10", "--screen"});
            r = RunBounded(args);
            const std::vector<std::string> lines = Lines(r.out);
            ASSERT_GE(lines.size(), 3u) << r.out;
            EXPECT_EQ(lines[0], "load " + std::string(autoload ? bare : "x") + " ERROR 3") << r.out;
            EXPECT_EQ(lines[1] + lines[2], "") << "nothing else on the screen\n" << r.out;
        }
    }
}

} // namespace

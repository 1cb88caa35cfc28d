// noltace-headless from the outside: its command line, its errors and exit statuses,
// and what it prints and writes. A ROM of 8192 zero bytes (NOPs) stands in where the
// real ROM is not needed.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "headless_runner.h"
#include "machine/rom_keyboard.h"
#include "test_support.h"

namespace {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = ScratchFolder();
        nopRom = folder + "nop.rom";
        std::ofstream(nopRom, std::ios::binary) << std::string(8192, '\0');
    }
    std::vector<std::string> WithNopRom(std::vector<std::string> args) {
        args.insert(args.begin(), {"--rom", nopRom});
        return args;
    }
    std::string folder, nopRom;
};

TEST_F(HeadlessTest, BadCommandLinesExitWithOneLine) {
    REQUIRE_HEADLESS();
    // Every kind of value the option table takes, refused.
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--run"},
        {"--run", "-1"},
        {"--run", "12x"},
        {"--model", "4"},
        {"--colours", "x"},
        {"--max", "0"},
        {"stray.tap"},
        {"--type", ""},
        {"--until"},
        {"--screenshot"},
        {"--load", ""},
        {"--stats"},
        {"--colors", "9"},
        {"--audio-out", ""},
        {"--load-binary", "f", "70000"},
        {"--save-binary", "f", "0", "x"},
        {"--disassemble-to", "f", "0"},
        {"--disassemble", "5", "2"},
        {"--step", "0"},
        {"--dis-labels", "foo"},
        {"--break", ""},
        {"--watch", "1-0"},
        {"--break-port", "99999"},
        {"--decompile", ""},
        {"--export-words", ""},
    };
    for (const auto& args : bad) {
        const HeadlessResult r = RunHeadless(WithNopRom(args));
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.ErrLines(), 1) << args[0] << ": " << r.err;
        EXPECT_EQ(r.err.rfind("noltace-headless: ", 0), 0u) << r.err;
        // The line names what it refuses ("--stats" alone leaves nothing to do).
        if (args[0] != "--stats") EXPECT_NE(r.err.find(args[0]), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

// The README's section on the runner names exactly the options --help lists.
TEST_F(HeadlessTest, HelpDescribesEveryAction) {
    REQUIRE_HEADLESS();
    const HeadlessResult r = RunHeadless({"--help"});
    EXPECT_EQ(r.status, 0);
    const std::regex optionName("--[a-z][a-z-]*");
    auto namesIn = [&](const std::string& text) {
        std::set<std::string> names;
        for (std::sregex_iterator it(text.begin(), text.end(), optionName), end; it != end; ++it)
            names.insert(it->str());
        return names;
    };
    const std::string readme = ReadFileText(std::string(NOLTACE_SOURCE_DIR) + "/README.md");
    const size_t from = readme.find("## Headless runner");
    ASSERT_NE(from, std::string::npos);
    const size_t to = readme.find("\n## ", from);
    const std::set<std::string> documented = namesIn(readme.substr(from, to - from));
    const std::set<std::string> listed = namesIn(r.out);
    EXPECT_EQ(documented, listed);
    for (const char* option :
         {"--rom", "--model", "--colours", "--run", "--type", "--until", "--load", "--screen"})
        EXPECT_TRUE(listed.count(option)) << option;
}

TEST_F(HeadlessTest, RomProblemsAreOneClearLine) {
    REQUIRE_HEADLESS();
    HeadlessResult r = RunHeadless({"--rom", folder + "absent.rom", "--run", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.ErrLines(), 1);
    EXPECT_NE(r.err.find("absent.rom"), std::string::npos);
    EXPECT_NE(r.err.find("ROM missing"), std::string::npos);

    std::ofstream(folder + "short.rom", std::ios::binary) << std::string(8191, '\0');
    r = RunHeadless({"--rom", folder + "short.rom", "--run", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.ErrLines(), 1);
    EXPECT_NE(r.err.find("ROM file incorrect length"), std::string::npos);

    // No --rom and nothing in any standard place.
    r = RunHeadless({"--run", "1"}, "env -u NOLTACE_ROM -u XDG_DATA_HOME HOME='" + folder + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.ErrLines(), 1);
    EXPECT_NE(r.err.find("no ROM found"), std::string::npos) << r.err;

    // NOLTACE_ROM is the first place looked at.
    r = RunHeadless({"--run", "1"}, "env NOLTACE_ROM='" + nopRom + "'");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(HeadlessTest, LoadChoosesByEndingAndRefusesWhatItCannotLoad) {
    REQUIRE_HEADLESS();
    std::ofstream(folder + "game.tzx", std::ios::binary) << "xx";
    std::ofstream(folder + "notes.doc", std::ios::binary) << "xx";
    std::ofstream(folder + "prog.Fs", std::ios::binary) << "xx";
    const struct {
        std::string file, expected;
    } cases[] = {
        {folder + "notes.doc", "unknown kind"},
        {folder + "prog.Fs", "unknown kind"}, // endings match in lower or upper case only
        {folder + "game.tzx", "Not a TZX file"},
        {folder + "missing.txt", "No such file"},
        {folder, "unknown kind"},
    };
    for (const auto& c : cases) {
        const HeadlessResult r = RunHeadless(WithNopRom({"--load", c.file, "--screen"}));
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << "the actions stop at the failing one";
    }
    std::ofstream(folder + "words.TXT", std::ios::binary) << "abc\r\n";
    EXPECT_EQ(RunHeadless(WithNopRom({"--load", folder + "words.TXT"})).status, 0);
}

TEST_F(HeadlessTest, ScreenPrintsTwentyFourLinesFromVideoRam) {
    REQUIRE_HEADLESS();
    const HeadlessResult r = RunHeadless(WithNopRom({"--run", "2", "--screen"}));
    EXPECT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (int i = 0; i < 24; ++i)
        expected += std::string(32, '.') + "\n"; // code 0 is not printable
    EXPECT_EQ(r.out, expected);
}

TEST_F(HeadlessTest, UntilTimesOutWithStatusThree) {
    REQUIRE_HEADLESS();
    const HeadlessResult r = RunHeadless(WithNopRom({"--max", "5", "--until", "READY", "--screen"}));
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.ErrLines(), 1);
    EXPECT_NE(r.err.find("within 5 frames"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(HeadlessTest, StatsComeLastAndCountFrames) {
    REQUIRE_HEADLESS();
    const HeadlessResult r =
        RunHeadless(WithNopRom({"--stats", "--run", "7", "--type", "ab\\ncd\n", "--run", "3"}));
    EXPECT_EQ(r.status, 0) << r.err;
    std::smatch m;
    const std::regex line(R"(^frames=(\d+) tstates=(\d+) seconds=[0-9.]+ speed=[0-9.]+\n$)");
    ASSERT_TRUE(std::regex_search(r.out, m, line)) << r.out;
    // 6 characters, each held for the pacer's bound (a ROM without the Ace's keyboard
    // routine never shows that it took a key) and let go for a frame, plus the frame
    // that ends the spool.
    EXPECT_EQ(std::stol(m[1]), 7 + 6 * (RomKeyPacer::kMaxHoldFrames + 1) + 1 + 3);
    EXPECT_EQ(std::stoll(m[2]), std::stoll(m[1]) * 64584);
}

TEST_F(HeadlessTest, ScreenshotsAreBmpOrPng) {
    REQUIRE_HEADLESS();
    const std::string bmp = folder + "shot.bmp", png = folder + "shot.PNG";
    const HeadlessResult r =
        RunHeadless(WithNopRom({"--colours", "2", "--run", "1", "--screenshot", bmp, "--screenshot", png}));
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream f(bmp, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 54u + 384 * 312 * 4);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(bytes[28]), 32) << "32 bits per pixel";
    // "White & Black": the whole picture of a blank screen is white paper.
    EXPECT_EQ(bytes.find_first_not_of(std::string("\xFF\xFF\xFF\x00", 4), 54) % 4, 3u);
    std::ifstream p(png, std::ios::binary);
    char signature[8] = {};
    p.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    // A mixed-case ending is no PNG name, in the runner as in the desktop program.
    const std::string mixed = folder + "shot.Png";
    ASSERT_EQ(RunHeadless(WithNopRom({"--run", "1", "--screenshot", mixed})).status, 0);
    std::ifstream m(mixed, std::ios::binary);
    char start[2] = {};
    m.read(start, 2);
    EXPECT_EQ(std::string(start, 2), "BM");

    const HeadlessResult bad = RunHeadless(WithNopRom({"--screenshot", folder + "no/such/folder.bmp"}));
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.ErrLines(), 1);
}

} // namespace

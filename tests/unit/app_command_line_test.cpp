#include "app/command_line.h"
#include "app/program_info.h"

#include <gtest/gtest.h>

namespace {

TEST(AppCommandLineTest, NoArgumentsLoadNothing) {
    const CommandLine cl = ParseCommandLine({});
    EXPECT_EQ(cl.action, StartupAction::None);
    EXPECT_FALSE(cl.iniInExecutableFolder);
    EXPECT_EQ(cl.pendingFile, "");
}

TEST(AppCommandLineTest, OneArgumentIsTheFileToLoadUnlessItIsTheIniSwitch) {
    CommandLine cl = ParseCommandLine({"-i"});
    EXPECT_TRUE(cl.iniInExecutableFolder);
    EXPECT_EQ(cl.action, StartupAction::None);

    cl = ParseCommandLine({"/tapes/game.tap"});
    EXPECT_EQ(cl.action, StartupAction::LoadFile);
    EXPECT_EQ(cl.pendingFile, "/tapes/game.tap");
    EXPECT_FALSE(cl.iniInExecutableFolder);

    // A lone ".bin" name (no address) and a lone "-r" are ordinary file names.
    EXPECT_EQ(ParseCommandLine({"code.bin"}).action, StartupAction::LoadFile);
    EXPECT_EQ(ParseCommandLine({"-r"}).pendingFile, "-r");
}

TEST(AppCommandLineTest, BinaryFileTakesADecimalAddress) {
    CommandLine cl = ParseCommandLine({"code.bin", "16384"});
    EXPECT_EQ(cl.action, StartupAction::LoadBinary);
    EXPECT_EQ(cl.pendingFile, "code.bin");
    EXPECT_EQ(cl.binaryAddress, 16384);
    EXPECT_EQ(ParseCommandLine({"a.bin", "0"}).binaryAddress, 0);
    EXPECT_EQ(ParseCommandLine({"a.bin", "65535"}).binaryAddress, 65535);
}

TEST(AppCommandLineTest, BinaryTestIsCaseSensitiveAndNeedsANameBeforeTheEnding) {
    // ".BIN" and a bare ".bin" are not binary files: two arguments then do nothing.
    for (const char* name : {"code.BIN", ".bin", "code.bin.txt"}) {
        const CommandLine cl = ParseCommandLine({name, "16384"});
        EXPECT_EQ(cl.action, StartupAction::None) << name;
        EXPECT_EQ(cl.pendingFile, "") << name;
    }
    EXPECT_EQ(ParseCommandLine({"x.bin", "1"}).action, StartupAction::LoadBinary);
}

TEST(AppCommandLineTest, BadAddressLoadsNothingAndSaysWhy) {
    for (const char* address : {"", "0x4000", "$4000", "-1", "65536", "99999999999", "12ab", " 100"}) {
        const CommandLine cl = ParseCommandLine({"code.bin", address});
        EXPECT_EQ(cl.action, StartupAction::None) << address;
        EXPECT_NE(cl.problem, "") << address;
    }
}

TEST(AppCommandLineTest, SwitchesWithAName) {
    CommandLine cl = ParseCommandLine({"-i", "game.tap"});
    EXPECT_TRUE(cl.iniInExecutableFolder);
    EXPECT_EQ(cl.pendingFile, "game.tap");
    EXPECT_EQ(cl.action, StartupAction::None) << "-i with a name records it but loads nothing";

    cl = ParseCommandLine({"-r", "mine.rom"});
    EXPECT_EQ(cl.action, StartupAction::LoadRom);
    EXPECT_EQ(cl.pendingFile, "mine.rom");
    EXPECT_FALSE(cl.iniInExecutableFolder);
}

TEST(AppCommandLineTest, OtherFormsDoNothing) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"game.tap", "more.tap"},
                                               {"-x", "game.tap"},
                                               {"-i", "game.tap", "extra"},
                                               {"code.bin", "16384", "extra"},
                                               {"-r", "mine.rom", "-i"}}) {
        const CommandLine cl = ParseCommandLine(args);
        EXPECT_EQ(cl.action, StartupAction::None) << args[0] << " " << args[1];
        EXPECT_FALSE(cl.iniInExecutableFolder) << args[0] << " " << args[1];
    }
}

// --help and --version are answered before anything starts, wherever they stand; a
// file that merely looks like an option is not mistaken for one.
TEST(AppCommandLineTest, HelpAndVersionAreAnsweredFirst) {
    const struct {
        std::vector<std::string> args;
        bool asks;
        const char* answerStart;
    } cases[] = {
        {{"--help"}, true, "Usage: noltace"},
        {{"-h"}, true, "Usage: noltace"},
        {{"--version"}, true, "noltace 1.06\n"},
        {{"-i", "--version"}, true, "noltace 1.06\n"},
        {{"--version", "--help"}, true, "noltace 1.06\n"},
        {{"game.tap"}, false, ""},
        {{"--helpful.tap"}, false, ""},
        {{}, false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AsksForInformation(c.args), c.asks) << (c.args.empty() ? "" : c.args[0]);
        if (c.asks) {
            EXPECT_EQ(InformationText(c.args, "noltace", NoltaceUsageText()).rfind(c.answerStart, 0), 0u);
        }
    }
    EXPECT_EQ(VersionLine("noltace-headless"), "noltace-headless 1.06");
}

} // namespace

// The configuration file through the real reader and writer: the layout it writes, the
// reader's rules on good and bad files, and what a missing, corrupt or unwritable file
// does to the user's settings and to the file on disk.
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "app/config/config_file.h"
#include "app/shell_state.h"
#include "base/messages.h"
#include "base/window_places.h"
#include "debugger/breakpoint_list_file.h"
#include "debugger/breakpoints.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "machine/machine_state.h"
#include "sound/sound_settings.h"
#include "tape/file_paths.h"
#include "tape/spool.h"
#include "tape/tape_settings.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class ConfigFileTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        saved_ = LiveOptions();
        savedFolder_ = configFolder;
        configFolder = ScratchFolder();
        StoreOptionsToLive(DefaultOptions("/data/"));
        keptConfigRows.clear();
    }
    void TearDown() override {
        StoreOptionsToLive(saved_);
        configFolder = savedFolder_;
        MachineTest::TearDown();
    }
    std::string DefaultText() { return FormatConfigText(DefaultOptions("/data/")); }
    // Parses `text` over the defaults; the result's values by key, or nothing on failure.
    std::optional<OptionSet> Parse(const std::string& text) {
        OptionSet staged = DefaultOptions("/data/");
        if (!ParseConfigText(text, staged)) return std::nullopt;
        return staged;
    }
    static const OptionValue& Value(const OptionSet& set, const LiveVariable& live) {
        return set[size_t(SettingIndex(live))];
    }

    OptionSet saved_;
    std::string savedFolder_;
};

TEST_F(ConfigFileTest, DefaultsAreWrittenInTheFileLayout) {
    const std::vector<std::string> lines = Lines(DefaultText());
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines.front(), "[Emulation]");
    EXPECT_EQ(lines[1], "opt_emulation_speed=100");
    EXPECT_EQ(lines[4], "opt_spool_speed=8");
    EXPECT_EQ(lines[5], " ");
    EXPECT_EQ(lines[6], "[Tapes]");
    EXPECT_EQ(lines[lines.size() - 2], "[End]");
    EXPECT_EQ(lines.back(), kConfigEndLine);
    std::vector<std::string> headers;
    for (const std::string& line : lines)
        if (line.starts_with("[")) headers.push_back(line);
    EXPECT_EQ(headers,
              (std::vector<std::string>{"[Emulation]", "[Tapes]", "[Hardware]", "[Display]", "[Sound]",
                                        "[Debugger]", "[Folders]", "[Window Placements]", "[End]"}));
    // The 29 window lines, the first and last of them with their defaults.
    const auto placements = std::find(lines.begin(), lines.end(), "[Window Placements]");
    EXPECT_EQ(lines.end() - placements, 1 + 29 + 1 + 2);
    EXPECT_EQ(placements[1], "Main Window=500");
    EXPECT_EQ(placements[7], "Window Size=1");
    EXPECT_EQ(placements[29], "WAV Browser=300");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "opt_DrawSize=1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "opt_current_tap_dir=/data/tapes/"), lines.end());
    // And it reads back as the same settings.
    EXPECT_EQ(Parse(DefaultText()), DefaultOptions("/data/"));
}

TEST_F(ConfigFileTest, ReaderRulesAndBadInput) {
    const std::string good = DefaultText();
    const std::string crlf = [&] {
        std::string t;
        for (char c : good)
            t += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return t;
    }();
    std::string randomBytes;
    for (unsigned i = 0, x = 12345; i < 4096; ++i)
        randomBytes += char((x = x * 1103515245 + 12345) >> 16);
    const std::string hugeNumber(10u << 20, '9');
    const std::string longFolder = "/" + std::string(400, 'f') + "/";

    struct Case {
        const char* what;
        std::string text;
        std::function<void(const OptionSet&)> check; // null: the file must be refused
    };
    const std::vector<Case> cases = {
        {"misspelt keys", Replace(Replace(good, "opt_colours=", "colors ="), "opt_model_type=", "opt_modle="),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &machine.model).number, 0); }},
        {"values by position",
         Replace(Replace(good, "opt_exit_msg=1\nopt_focus_on=0", "opt_exit_msg=0\nopt_focus_on=1"),
                 "opt_colours=0", "opt_colours=3"),
         [](const OptionSet& s) {
             EXPECT_EQ(Value(s, &opt_exit_msg).number, 0);
             EXPECT_EQ(Value(s, &opt_focus_on).number, 1);
         }},
        {"swapped lines swap settings",
         Replace(good, "opt_snd_sound=1\nopt_snd_volume=40", "opt_snd_volume=0\nopt_snd_sound=1"),
         [](const OptionSet& s) {
             EXPECT_EQ(Value(s, &opt_snd_sound).number, 0);
             EXPECT_EQ(Value(s, &opt_snd_volume).number, 0); // 1, to the nearest 10
         }},
        {"speed 150", Replace(good, "opt_emulation_speed=100", "opt_emulation_speed=150"),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_emulation_speed).number, 150); }},
        {"Windows line ends", crlf,
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &snapshotFolder).text, "/data/snapshots/"); }},
        {"a line without = is the number", Replace(good, "opt_colours=0", "4"),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_colours).number, 4); }},
        {"integers at the edges of their range",
         Replace(Replace(Replace(good, "Main Window=500", "Main Window=-7"), "Main Window=400", "Main Window=3"),
                 "Calculator=400", "Calculator=99999999999"),
         [](const OptionSet& s) {
             EXPECT_EQ(Value(s, &mainWindowPlacement.width).number, -7);
             EXPECT_EQ(Value(s, &mainWindowPlacement.left).number, 3);
             EXPECT_EQ(Value(s, &toolWindowPlaces[kPlaceCalculator].left).number, 1000000);
         }},
        {"not a number is 0", Replace(good, "opt_exit_msg=1", "opt_exit_msg=yes"),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_exit_msg).number, 0); }},
        {"the Input section holds nothing", Replace(good, "[Sound]", "[Input]\n[Sound]"),
         [](const OptionSet&) {}},
        {"lines after [End] are ignored", good + "[Garbage\nmore\n", [](const OptionSet&) {}},
        {"out of range values are clamped",
         Replace(Replace(Replace(Replace(Replace(good, "opt_DrawSize=1", "opt_DrawSize=7"),
                                         "opt_snd_freq=44100", "opt_snd_freq=0"),
                                 "opt_snd_num_buffers=8", "opt_snd_num_buffers=500"),
                         "opt_emulation_speed=100", "opt_emulation_speed=-5"),
                 "opt_snd_soundbits=16", "opt_snd_soundbits=13"),
         [](const OptionSet& s) {
             EXPECT_EQ(Value(s, &opt_DrawSize).number, 3);
             EXPECT_EQ(Value(s, &opt_snd_freq).number, 11025);
             EXPECT_EQ(Value(s, &opt_snd_num_buffers).number, 50);
             EXPECT_EQ(Value(s, &opt_emulation_speed).number, 10);
             EXPECT_EQ(Value(s, &opt_snd_soundbits).number, 16);
         }},
        {"a 10 MB number", Replace(good, "opt_spool_speed=8", "opt_spool_speed=" + hugeNumber),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_spool_speed).number, 20); }},
        {"a 10 MB text", Replace(good, "opt_startaddr=20000", "opt_startaddr=" + hugeNumber),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_startaddr).text, "9999999"); }},
        {"a folder longer than its field",
         Replace(good, "opt_current_sna_dir=/data/snapshots/", "x=" + longFolder),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &snapshotFolder).text.size(), 259u); }},
        {"empty file", "", nullptr},
        {"random bytes", randomBytes, nullptr},
        {"cut in the middle of a section", good.substr(0, good.find("opt_snd_freq")), nullptr},
        {"cut before [End]", good.substr(0, good.find("[End]")), nullptr},
        {"separator left out is read by key",
         Replace(Replace(good, "opt_spool_speed=8\n \n", "opt_spool_speed=8\n"), "opt_spool_speed=8", "opt_spool_speed=12"),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &opt_spool_speed).number, 12); }},
        {"header with trailing space", Replace(good, "[Display]", "[Display] "), nullptr},
        {"unknown section", Replace(good, "[Debugger]", "[Debug]"), nullptr},
        {"lower-case section name", Replace(good, "[Sound]", "[sound]"), nullptr},
        {"a 10 MB line where a header belongs: the section before is read by key",
         Replace(Replace(good, "[Hardware]", hugeNumber), "opt_model_type=0", "opt_model_type=2"),
         [](const OptionSet& s) { EXPECT_EQ(Value(s, &machine.model).number, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<OptionSet> read = Parse(c.text);
        if (!c.check) {
            EXPECT_FALSE(read.has_value());
            continue;
        }
        ASSERT_TRUE(read.has_value());
        c.check(*read);
    }
}

// A file of another version: a row this version does not know added to one section and a
// row taken away from another. Every other value stays, the missing one takes its default,
// and the unknown row survives being written back.
TEST_F(ConfigFileTest, FileOfAnotherVersionKeepsTheUsersSettings) {
    opt_colours = 3;
    opt_snd_volume = 70;
    opt_spool_speed = 14;
    opt_emulation_speed = 250;
    tapeFolder = "/home/me/tapes/";
    ASSERT_TRUE(SaveConfig());
    std::string text = ReadText(ConfigFilePath());
    text = Replace(text, "opt_colours=3\n", "opt_colours=3\nopt_future_setting=5\n");
    text = Replace(text, "opt_spool_speed=14\n", "");
    WriteText(ConfigFilePath(), text);

    StoreOptionsToLive(DefaultOptions("/elsewhere/"));
    EXPECT_EQ(LoadConfig(), LoadResult::Loaded);
    EXPECT_TRUE(recorder.messages.empty()) << "nothing to report";
    EXPECT_EQ(opt_colours, 3);
    EXPECT_EQ(opt_snd_volume, 70);
    EXPECT_EQ(opt_emulation_speed, 250.0f);
    EXPECT_EQ(tapeFolder, "/home/me/tapes/");
    EXPECT_EQ(opt_spool_speed, 8) << "a missing row takes its default";

    ASSERT_TRUE(SaveConfig());
    const std::string written = ReadText(ConfigFilePath());
    EXPECT_NE(written.find("opt_shader=0\nopt_future_setting=5\n \n[Sound]"), std::string::npos) << written;
    EXPECT_NE(written.find("opt_spool_speed=8\n"), std::string::npos);
    keptConfigRows.clear();
}

TEST_F(ConfigFileTest, LiveValuesAreWrittenAsTheFileKeepsThem) {
    opt_emulation_speed = 99.5f;
    opt_DrawSize = 0;
    tapeFolder = "/home/me/tapes/game.tap";
    mainWindowPlacement = {10, 20, 800, 700};
    toolWindowPlaces[kPlaceCalculator] = {123, 456};
    ASSERT_TRUE(SaveConfig());
    const std::string text = ReadText(ConfigFilePath());
    EXPECT_NE(text.find("opt_emulation_speed=99\n"), std::string::npos);
    EXPECT_NE(text.find("opt_DrawSize=1\n"), std::string::npos);
    EXPECT_EQ(opt_DrawSize, 0) << "the live scale is not changed by writing";
    EXPECT_NE(text.find("opt_current_tap_dir=/home/me/tapes/\n"), std::string::npos);
    EXPECT_NE(text.find("Main Window=800\nMain Window=700\nMain Window=10\nMain Window=20\n"),
              std::string::npos);
    EXPECT_NE(text.find("Calculator=123\nCalculator=456\n"), std::string::npos);

    // Read back over other values: everything returns, the model with its memory limits.
    StoreOptionsToLive(DefaultOptions("/elsewhere/"));
    WriteText(ConfigFilePath(), Replace(text, "opt_model_type=0", "opt_model_type=1"));
    EXPECT_EQ(LoadConfig(), LoadResult::Loaded);
    EXPECT_EQ(opt_emulation_speed, 99.0f);
    EXPECT_EQ(machine.model, 1u);
    EXPECT_EQ(machine.ramTop, 0x7FFFu);
    EXPECT_EQ(tapeFolder, "/home/me/tapes/");
    EXPECT_EQ(toolWindowPlaces[kPlaceCalculator].top, 456);
    EXPECT_TRUE(recorder.messages.empty());
    for (const auto& entry : fs::directory_iterator(configFolder))
        EXPECT_TRUE(entry.path().filename() == kConfigFileName ||
                    entry.path().filename() == kBreakpointFileName)
            << "no temporary file is left behind: " << entry.path();
}

TEST_F(ConfigFileTest, BreakpointsLastInAFileOfTheirOwn) {
    machine.ramTop = 0xFFFF;
    ClearBreakpoints();
    AddBreakpoint("#0336", "IX=#3C00");
    AddBreakpoint("#8000", "");
    AddBreakpoint("#3C59-#3C5A", "", BreakKind::Write);
    UpdateBreakpoint(2, "#3C59-#3C5A", "", false, BreakKind::Write);
    AddBreakpoint("#9000", "A=5", BreakKind::Read);
    AddBreakpoint("#FE", "", BreakKind::Port);
    ASSERT_TRUE(SaveConfig());
    EXPECT_EQ(ReadText(configFolder + kBreakpointFileName),
              "EXEC #0336 YES IX=#3C00\nEXEC #8000 YES\nWRITE #3C59-#3C5A NO\nREAD #9000 YES A=5\nPORT #00FE "
              "YES\n");

    // The next start (a 3K machine): the entry beyond its memory is left out.
    ClearBreakpoints();
    EXPECT_EQ(LoadConfig(), LoadResult::Loaded);
    ASSERT_EQ(breakpointState.breakpointCount, 4);
    EXPECT_EQ(FormatBreakpointList(),
              "EXEC #0336 YES IX=#3C00\nWRITE #3C59-#3C5A NO\nREAD #9000 YES A=5\nPORT #00FE YES\n");
    EXPECT_TRUE(debugHooksOn);
    EXPECT_TRUE(watchpointsOn);

    // Lines that are no entries are skipped, the rest kept.
    EXPECT_EQ(
        ParseBreakpointList("EXEC #0038 YES\r\nJUMP #10 YES\nEXEC zz YES\nWRITE #10 MAYBE\n\nPORT #FE NO\n"),
        3);
    EXPECT_EQ(FormatBreakpointList(), "EXEC #0038 YES\nPORT #00FE NO\n");
    ClearBreakpoints();
}

TEST_F(ConfigFileTest, FirstStartWritesTheDefaultsQuietly) {
    opt_colours = 3;
    EXPECT_EQ(LoadConfig(), LoadResult::Failed);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(opt_colours, 0);
    const std::string text = ReadText(ConfigFilePath());
    EXPECT_TRUE(text.starts_with("[Emulation]\n"));
    EXPECT_TRUE(text.ends_with("[End]\n-----Nothing Below This Line-----\n"));
    EXPECT_FALSE(fs::exists(ConfigFilePath() + ".bad"));
}

TEST_F(ConfigFileTest, CorruptFileIsKeptAsBadAndReplaced) {
    const std::string users = "[Emulation]\nopt_emulation_speed=250\nmy own notes\n";
    WriteText(ConfigFilePath(), users);
    opt_snd_freq = 22050;
    EXPECT_EQ(LoadConfig(), LoadResult::Failed);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0], "NoltACE Error|06 - Configuration file corrupt");
    EXPECT_EQ(recorder.messages[1], "NoltACE Error|Creating new config file");
    EXPECT_EQ(opt_snd_freq, 44100u) << "nothing of the broken file is applied";
    EXPECT_EQ(opt_emulation_speed, 100.0f);
    EXPECT_EQ(ReadText(ConfigFilePath() + ".bad"), users);
    OptionSet reread = LiveOptions();
    EXPECT_TRUE(ParseConfigText(ReadText(ConfigFilePath()), reread));
}

TEST_F(ConfigFileTest, UnwritableFolderSaysSoOnceAndKeepsTheSettings) {
    // A folder below a plain file cannot be made, whoever runs the test.
    WriteText(configFolder + "plain", "x");
    configFolder += "plain/noltace/";
    opt_colours = 2;
    EXPECT_FALSE(SaveConfig());
    EXPECT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(opt_colours, 2);
    recorder.messages.clear();
    ApplyDefaults(); // applies, tries once to write, says so once
    EXPECT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(opt_colours, 0);
    recorder.messages.clear();
    EXPECT_EQ(LoadConfig(), LoadResult::Failed); // a first start in a folder that cannot be written
    EXPECT_EQ(recorder.messages.size(), 1u);
    EXPECT_FALSE(fs::exists(ConfigFilePath()));
}

} // namespace

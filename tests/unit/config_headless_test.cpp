// noltace-headless --config: a desktop configuration reproduced in automation. A program
// too big for the 3K machine loads when the file selects 19K, the command line still
// overrides the file, a setting from the file and from its option make the same machine,
// and a broken file stops the run with one line of error.
#include <fstream>
#include <iterator>

#include "app/config/config_file.h"
#include "display/display_settings.h"
#include "headless_runner.h"
#include "machine/machine_state.h"
#include "sound/sound_settings.h"
#include "tape/tape_deck.h"
#include "test_support.h"

namespace {

class ConfigHeadlessTest : public HeadlessRomFixture {
  protected:
    // A configuration file with the defaults but for the model and autoload.
    std::string WriteConfig(const std::string& name, long model) {
        OptionSet options = DefaultOptions(dir);
        options[size_t(SettingIndex(&machine.model))].number = model;
        options[size_t(SettingIndex(&opt_autoload))].number = 1;
        const std::string path = dir + name;
        std::ofstream(path, std::ios::binary) << FormatConfigText(options);
        return path;
    }
};

TEST_F(ConfigHeadlessTest, ModelFromTheFileLoadsA16KProgram) {
    // A word with 5000 bytes of data behind it: its tape holds more than the 3K machine's RAM.
    HeadlessResult r = Run({"--model", "1", "--tape-out", dir + "big", "--type",
                            ": BIG 3 2 + . ; 5000 ALLOT\n", "--type", "SAVE BIG\n", "--run", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> loadAndRun = {"--load", dir + "big.tap", "--run",   "300",
                                                 "--type", "BIG\n",         "--screen"};

    auto withConfig = [&](const std::string& config, std::vector<std::string> extra) {
        std::vector<std::string> args = {"--config", config};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), loadAndRun.begin(), loadAndRun.end());
        return Run(args);
    };
    r = withConfig(WriteConfig("19k.ini", 1), {});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("BIG 5  OK"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;

    // A file of another version (a row more in one section, one fewer in another) still
    // selects 19K: the sections that changed are read by key.
    {
        std::ifstream in(WriteConfig("newer.ini", 1));
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.replace(text.find("opt_model_type=1\n"), 17, "opt_memory_wait=1\nopt_model_type=1\n");
        text.erase(text.find("opt_focus_on=0\n"), 15);
        std::ofstream(dir + "newer.ini", std::ios::binary) << text;
    }
    r = withConfig(dir + "newer.ini", {});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("BIG 5  OK"), std::string::npos) << r.out;

    r = withConfig(WriteConfig("3k.ini", 0), {});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("ERROR 10"), std::string::npos) << r.out;

    // The set-up options come after the file and win.
    r = withConfig(WriteConfig("19k.ini", 1), {"--model", "0"});
    EXPECT_NE(r.out.find("ERROR 10"), std::string::npos) << r.out;
}

TEST_F(ConfigHeadlessTest, UnreadableFileIsAnError) {
    std::ofstream(dir + "broken.ini") << "[Emulation]\nopt_emulation_speed=100\n";
    for (const std::string& config : {dir + "broken.ini", dir + "missing.ini"}) {
        const HeadlessResult r = Run({"--config", config, "--run", "1"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.ErrLines(), 1) << r.err;
        EXPECT_NE(r.err.find(config), std::string::npos) << r.err;
    }
}

// A setting reached through the file or through its own option is one setting: the two
// runs print and write the same, and differ from a run without it.
TEST_F(ConfigHeadlessTest, FileAndOptionGiveTheSameMachine) {
    const struct {
        LiveVariable live;
        long value;
        std::vector<std::string> option;
    } cases[] = {
        {&machine.model, 2, {"--model", "2"}},
        {&opt_colours, 3, {"--colours", "3"}},
        {&opt_snd_output, 0, {"--sound-output", "0"}},
    };
    // What the machine shows of itself: its system variables, its picture and its sound.
    auto outcome = [&](const std::string& name, std::vector<std::string> args) {
        const std::vector<std::string> look = {"--audio-out", dir + name + ".wav", "--run",        "100",
                                               "--sysvars",   "--screenshot",      dir + name + ".bmp"};
        args.insert(args.end(), look.begin(), look.end());
        const HeadlessResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out + ReadFileText(dir + name + ".wav") + ReadFileText(dir + name + ".bmp");
    };
    const std::string plain = outcome("plain", {});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option[0]);
        OptionSet options = DefaultOptions(dir);
        options[size_t(SettingIndex(c.live))].number = c.value;
        const std::string path = dir + "one.ini";
        std::ofstream(path, std::ios::binary) << FormatConfigText(options);
        const std::string fromFile = outcome("file", {"--config", path});
        EXPECT_TRUE(fromFile == outcome("option", c.option));
        EXPECT_TRUE(fromFile != plain) << "the setting changes what the machine shows";
    }
}

} // namespace

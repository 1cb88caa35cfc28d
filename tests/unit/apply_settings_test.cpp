// Every way into the settings ends in ApplySettings: a setting that arrives through the
// configuration file, the options dialog's OK or the headless runner's set-up (a file
// read over the settings, applied whole) leaves the machine in the same state.
#include <fstream>
#include <functional>

#include "app/config/apply_settings.h"
#include "app/config/config_file.h"
#include "app/shell_state.h"
#include "display/display_settings.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "sound_test_support.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/tape_settings.h"

namespace {

// What a setting can change: the machine's memory, the picture, the frame driver, the
// sound stream, and the live values themselves.
struct SettingsEffect {
    uint32_t model, topPage, ramTop;
    uint32_t ink, paper;
    int frameSkipCountdown;
    uint32_t sampleRate;
    uint8_t channels;
    OptionSet live;
    bool operator==(const SettingsEffect&) const = default;
};

SettingsEffect EffectNow(const FakeAudioDevice& device) {
    return {machine.model,      machine.topPage,          machine.ramTop,         renderer.inkColour,    renderer.paperColour,
            frameDriver.frameSkipCountdown, device.format.sampleRate, device.format.channels, LiveOptions()};
}

struct Entry {
    const char* name;
    std::function<void(const LiveVariable&, long)> apply;
};

class ApplySettingsTest : public SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        saved_ = LiveOptions();
        savedFolder_ = configFolder;
        configFolder = ScratchFolder();
        StoreOptionsToLive(DefaultOptions(configFolder));
        keptConfigRows.clear();
        StartStream();
    }
    void TearDown() override {
        StoreOptionsToLive(saved_);
        configFolder = savedFolder_;
        SetAudioDevice(nullptr);
        SoundTest::TearDown();
    }

    // The defaults with one setting changed, as a configuration file's text.
    std::string FileWith(const LiveVariable& live, long value) {
        OptionSet options = LiveOptions();
        options[size_t(SettingIndex(live))].number = value;
        return FormatConfigText(options);
    }

    std::vector<Entry> Entries() {
        return {
            {"the configuration file",
             [this](const LiveVariable& live, long value) {
                 std::ofstream(ConfigFilePath(), std::ios::binary) << FileWith(live, value);
                 ASSERT_EQ(LoadConfig(), LoadResult::Loaded);
             }},
            {"the options dialog's OK",
             [](const LiveVariable& live, long value) {
                 SyncOptionsFromLive();
                 OptionNumber(live) = value;
                 ApplyOptionCopies(live == LiveVariable(&machine.model));
             }},
            {"the headless set-up",
             [this](const LiveVariable& live, long value) {
                 const std::string path = configFolder + "headless.ini";
                 std::ofstream(path, std::ios::binary) << FileWith(live, value);
                 OptionSet settings = LiveOptions();
                 std::string problem;
                 ASSERT_EQ(LoadConfigFile(path, settings, problem), LoadResult::Loaded) << problem;
                 ApplySettings(EverySetting(LiveOptions(), settings));
             }},
        };
    }

    OptionSet saved_;
    std::string savedFolder_;
};

TEST_F(ApplySettingsTest, EveryWayInLeavesTheSameMachine) {
    struct Case {
        const char* name;
        LiveVariable live;
        long value;
        std::function<void()> check; // what the setting must have done
    };
    const Case cases[] = {
        {"model 35K", &machine.model, 2,
         [] {
             EXPECT_EQ(machine.topPage, 5u);
             EXPECT_EQ(machine.ramTop, 0xBFFFu);
             EXPECT_EQ(machine.pc, 0) << "a new model resets the machine";
         }},
        {"model 51K", &machine.model, 3, [] { EXPECT_EQ(machine.ramTop, 0xFFFFu); }},
        {"green screen", &opt_colours, 3,
         [] {
             EXPECT_EQ(renderer.inkColour, ColourSchemeAt(3).ink);
             EXPECT_EQ(renderer.paperColour, ColourSchemeAt(3).paper);
         }},
        {"frameskip 5", &frameSkipPeriod, 5, [] { EXPECT_EQ(frameDriver.frameSkipCountdown, 5); }},
        {"22050 Hz sound", &opt_snd_freq, 22050, [this] { EXPECT_EQ(device.format.sampleRate, 22050u); }},
        {"mono sound", &opt_snd_output, 0, [this] { EXPECT_EQ(device.format.channels, 1); }},
        {"speed 150%", &opt_emulation_speed, 150,
         [] { EXPECT_EQ(soundStream.params.tstatesPerSample, 109u); }},
        {"volume 70", &opt_snd_volume, 70, [] { EXPECT_EQ(opt_snd_volume, 70); }},
        {"fast loading", &opt_fastloadtzx, 1, [] { EXPECT_TRUE(opt_fastloadtzx); }},
        {"spool speed 3", &opt_spool_speed, 3, [] { EXPECT_EQ(opt_spool_speed, 3); }},
    };
    const OptionSet defaults = LiveOptions();
    for (const Case& c : cases) {
        std::optional<SettingsEffect> first;
        for (const Entry& entry : Entries()) {
            SCOPED_TRACE(std::string(c.name) + " through " + entry.name);
            StoreOptionsToLive(defaults);
            ApplySettings(EverySetting(LiveOptions(), defaults));
            machine.pc = 0x1234;
            entry.apply(c.live, c.value);
            c.check();
            const SettingsEffect effect = EffectNow(device);
            if (!first)
                first = effect;
            else
                EXPECT_TRUE(effect == *first) << "differs from " << Entries().front().name;
        }
    }
}

TEST_F(ApplySettingsTest, OnlyANewModelResetsFromTheDialog) {
    const struct {
        LiveVariable live;
        long value;
        bool modelButton;
        bool resets;
    } cases[] = {
        {&opt_colours, 2, false, false},
        {&opt_snd_volume, 90, false, false},
        {&machine.model, 1, true, true},
        {&machine.model, 0, true, true}, // the model in use, chosen again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SettingIndex(c.live));
        machine.pc = 0x1234;
        SyncOptionsFromLive();
        OptionNumber(c.live) = c.value;
        ApplyOptionCopies(c.modelButton);
        EXPECT_EQ(machine.pc == 0, c.resets);
    }
}

} // namespace

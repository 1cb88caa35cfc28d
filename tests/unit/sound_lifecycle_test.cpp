// Setting the stream up and tearing it down, its failures, and stopping and restarting
// it around pauses and message boxes.
#include <gtest/gtest.h>

#include "machine/reset.h"
#include "sound_test_support.h"

namespace {

using SoundLifecycleTest = SoundTest;

TEST_F(SoundLifecycleTest, WithoutADeviceSoundReportsAndStaysOff) {
    EXPECT_EQ(InitSound(), 1);
    EXPECT_EQ(LastReportedMessage().code, 61);
    EXPECT_EQ(LastReportedMessage().caption, "NoltACE Error");
    EXPECT_EQ(recorder.messages.size(), 1u);
    EXPECT_FALSE(SoundOutputOn());
    // The rest of the program runs on: pausing and stopping are harmless.
    PauseSound(true);
    PauseSound(false);
    StopSound();
    EXPECT_FALSE(SoundOutputOn());
}

TEST_F(SoundLifecycleTest, EachSetUpFailureHasItsCodeAndLeavesNothingOpen) {
    struct Case {
        bool connect, open, play;
        int code;
        std::vector<std::string> calls;
    } cases[] = {
        {false, true, true, 61, {"connect"}},
        {true, false, true, 64, {"connect", "open", "close"}},
        {true, true, false, 65, {"connect", "open", "clear", "play", "clear", "close"}},
    };
    for (const Case& c : cases) {
        device = FakeAudioDevice{};
        device.connectOk = c.connect;
        device.openOk = c.open;
        device.playOk = c.play;
        SetAudioDevice(&device);
        EXPECT_EQ(InitSound(), 1);
        EXPECT_EQ(LastReportedMessage().code, c.code);
        EXPECT_EQ(device.calls, c.calls) << "code " << c.code;
        EXPECT_FALSE(SoundOutputOn());
        EXPECT_FALSE(soundStream.open);
        EXPECT_FALSE(soundStream.connected);
    }
}

TEST_F(SoundLifecycleTest, SoundOffConnectsButMakesNoStream) {
    opt_snd_sound = 0;
    SetAudioDevice(&device);
    EXPECT_EQ(InitSound(), 0);
    EXPECT_FALSE(SoundOutputOn());
    EXPECT_TRUE(soundStream.connected);
    EXPECT_FALSE(soundStream.open);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"connect"}));
}

TEST_F(SoundLifecycleTest, InitSoundResetsTheChipButAMachineResetDoesNot) {
    StartStream();
    SelectRegister(kAyToneFineA), WriteRegister(0x55);
    ResetMachine();
    EXPECT_EQ(ay.regs[kAyToneFineA], 0x55);
    ShutdownSound();
    EXPECT_EQ(InitSound(), 0);
    EXPECT_EQ(ay.regs[kAyToneFineA], 0);
    EXPECT_EQ(ay.regs[kAyMixer], 0xFF);
}

TEST_F(SoundLifecycleTest, PauseStopsAndRestartsPlaybackAndSampling) {
    StartStream();
    device.calls.clear();
    PauseSound(true);
    EXPECT_FALSE(SoundOutputOn());
    EXPECT_FALSE(device.playing);
    PauseSound(false);
    EXPECT_TRUE(SoundOutputOn());
    EXPECT_TRUE(device.playing);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"pause", "play"}));
}

TEST_F(SoundLifecycleTest, StopSoundDropsWhatWasQueuedAndRestartsTheClocks) {
    StartStream();
    machine.earLevel = 1;
    AdvanceSoundClocks(100);
    AdvanceSoundClocks(50);
    ASSERT_GT(soundStream.fill, 0u);
    device.calls.clear();
    StopSound();
    EXPECT_EQ(device.calls, (std::vector<std::string>{"clear", "pause"}));
    EXPECT_EQ(soundStream.fill, 0u);
    EXPECT_EQ(soundStream.sampleClock, 0u);
    EXPECT_EQ(soundStream.ayClock, 0u);
    EXPECT_FALSE(SoundOutputOn());
}

TEST_F(SoundLifecycleTest, MessageBoxSilencesTheStreamWhileItIsUp) {
    StartStream();
    device.calls.clear();
    ReportMessage(kCaptionFile, 13);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"pause", "play"}));
    EXPECT_TRUE(SoundOutputOn());
}

TEST_F(SoundLifecycleTest, ShutdownClosesTheDeviceAndLowersTheSpeakerLine) {
    StartStream();
    machine.earLevel = 1;
    TakeSample();
    device.calls.clear();
    ShutdownSound();
    EXPECT_EQ(device.calls, (std::vector<std::string>{"clear", "close"}));
    EXPECT_EQ(machine.earLevel, 0);
    EXPECT_EQ(soundStream.fill, 0u);
    EXPECT_FALSE(SoundOutputOn());
    // Applying new settings: a second set-up works on the same device.
    opt_snd_freq = 22050;
    EXPECT_EQ(InitSound(), 0);
    EXPECT_EQ(device.format.sampleRate, 22050u);
}

TEST_F(SoundLifecycleTest, StartUpFailureCanBeLeftToTheCallerToReport) {
    device.openOk = false;
    SetAudioDevice(&device);
    EXPECT_EQ(InitSound(false), 1);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_FALSE(soundStream.connected);
    // Later set-ups report their own failures again.
    EXPECT_EQ(InitSound(), 1);
    EXPECT_EQ(recorder.messages,
              (std::vector<std::string>{"NoltACE Error|40 - SDL Audio: Failed to open the audio stream"}));
}

TEST_F(SoundLifecycleTest, ADeviceThatGoesAwayIsReportedOnceAndSoundStaysOff) {
    // Unplugged while playing, or failing to play again after a pause: either way one
    // message, the stream shut down, and every later attempt silent.
    for (const bool unplugged : {true, false}) {
        SCOPED_TRACE(unplugged ? "unplugged" : "resume fails");
        device = FakeAudioDevice{};
        recorder.messages.clear();
        StartStream();
        if (unplugged) {
            device.lost = true;
            for (int i = 0; i < 3 * int(soundStream.params.samplesPerChunk) && SoundOutputOn(); ++i)
                AdvanceSoundClocks(soundStream.params.tstatesPerSample + 1);
        } else {
            PauseSound(true);
            device.playOk = false;
            PauseSound(false);
        }
        EXPECT_EQ(recorder.messages, (std::vector<std::string>{
                                         "NoltACE Error|41 - SDL Audio: Failed to start the audio stream"}));
        EXPECT_FALSE(SoundOutputOn());
        EXPECT_FALSE(soundStream.open);
        EXPECT_EQ(device.calls.back(), "close");
        for (int i = 0; i < 5; ++i) {
            PauseSound(true);
            PauseSound(false);
            StopSound();
            ReportMessage(kCaptionFile, 13); // a box pauses and resumes sound around itself
        }
        EXPECT_EQ(recorder.messages.size(), 6u);
        EXPECT_FALSE(SoundOutputOn());
    }
}

TEST_F(SoundLifecycleTest, InstallingAnotherDeviceShutsTheOldStreamDown) {
    StartStream();
    FakeAudioDevice other;
    SetAudioDevice(&other);
    EXPECT_EQ(device.calls.back(), "close");
    EXPECT_FALSE(SoundOutputOn());
    EXPECT_EQ(InstalledAudioDevice(), &other);
}

} // namespace

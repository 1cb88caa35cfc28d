// The SDL2 audio device, on SDL's dummy driver (which plays silently in real time).
#include <gtest/gtest.h>

#ifdef NOLTACE_HAVE_SDL_AUDIO
#include <cstdlib>

#include "sound/sdl/sdl_audio_device.h"
#include "sound_test_support.h"

namespace {

class SoundSdlDeviceTest : public SoundTest {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SoundTest::SetUp();
    }
};

TEST_F(SoundSdlDeviceTest, StreamOpensAndPlaysOnTheDummyDriver) {
    SdlAudioDevice sdl;
    SetAudioDevice(&sdl);
    ASSERT_EQ(InitSound(), 0) << LastReportedMessage().text;
    EXPECT_TRUE(SoundOutputOn());
    EXPECT_NE(sdl.id(), 0u);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(sdl.id()), SDL_AUDIO_PLAYING);

    PauseSound(true);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(sdl.id()), SDL_AUDIO_PAUSED);
    PauseSound(false);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(sdl.id()), SDL_AUDIO_PLAYING);
    ShutdownSound();
    EXPECT_EQ(sdl.id(), 0u);
    SetAudioDevice(nullptr);
}

TEST_F(SoundSdlDeviceTest, QueueStaysWithinItsDepthAsTheDeviceDrainsIt) {
    opt_snd_num_buffers = 4; // one chunk ahead
    SdlAudioDevice sdl;
    SetAudioDevice(&sdl);
    ASSERT_EQ(InitSound(), 0) << LastReportedMessage().text;
    const uint32_t chunk = soundStream.params.chunkBytes;
    for (int i = 0; i < 4 * int(soundStream.params.samplesPerChunk); ++i) {
        TakeSample();
        ASSERT_LE(sdl.QueuedBytes(), chunk);
    }
    StopSound(); // drops the queue and pauses
    EXPECT_EQ(sdl.QueuedBytes(), 0u);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(sdl.id()), SDL_AUDIO_PAUSED);
    // Paused, a chunk is kept but not waited for.
    FlushChunk();
    EXPECT_EQ(sdl.QueuedBytes(), chunk);
    ShutdownSound();
    SetAudioDevice(nullptr);
}

TEST_F(SoundSdlDeviceTest, EightBitMonoIsAcceptedToo) {
    opt_snd_soundbits = 8;
    opt_snd_output = kOutputMono;
    opt_snd_freq = 11025;
    SdlAudioDevice sdl;
    SetAudioDevice(&sdl);
    ASSERT_EQ(InitSound(), 0) << LastReportedMessage().text;
    EXPECT_EQ(soundStream.params.chunkBytes, 221u);
    ShutdownSound();
    SetAudioDevice(nullptr);
}

} // namespace
#else
TEST(SoundSdlDeviceTest, NeedsSdl2) {
    GTEST_SKIP() << "built without SDL2";
}
#endif

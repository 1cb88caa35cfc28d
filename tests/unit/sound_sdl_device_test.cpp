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

// The device pulls whole chunks in one go where the queue allows it, and never more than
// the queue keeps waiting.
TEST(SdlDevicePull, SmallestPowerOfTwoHoldingAChunkWithinTheQueue) {
    struct Case {
        uint32_t rate, chunkFrames, bytesPerFrame, queueChunks;
        uint16_t pull;
    } const cases[] = {
        {44100, 884, 4, 2, 1024}, // the default: a pull a frame
        {44100, 884, 4, 1, 512},  // one chunk waiting: a whole chunk would leave it short
        {44100, 884, 2, 12, 1024},
        {22050, 442, 4, 2, 512},
        {11025, 221, 1, 2, 256},
        {11025, 221, 1, 1, 128}, // less than 256 waiting
        {44100, 8840, 4, 2, 8192}, // emulation at 10%: the largest pull
    };
    for (const Case& c : cases) {
        AudioStreamFormat format;
        format.sampleRate = c.rate;
        format.bits = c.bytesPerFrame == 1 ? 8 : 16;
        format.channels = uint8_t(c.bytesPerFrame == 4 ? 2 : 1);
        format.chunkBytes = c.chunkFrames * c.bytesPerFrame;
        format.queueChunks = c.queueChunks;
        const uint16_t pull = DevicePullFrames(format);
        EXPECT_EQ(pull, c.pull) << c.rate << " Hz, " << c.chunkFrames << " frames a chunk";
        EXPECT_LE(pull, c.chunkFrames * c.queueChunks);
    }
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

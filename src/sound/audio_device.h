// The audio device that plays the sample stream: the one platform interface of the
// sound output.
//
// The core makes the samples (sound_output.h) and hands the device one chunk, a frame's
// worth, at a time. QueueChunk waits until the device has played far enough that at
// most `queueChunks` chunks are waiting, so while sound is on the device's clock paces
// the emulation. The front end installs a device with SetAudioDevice() before
// InitSound(): the Qt application an SDL2 device (sound/sdl/), the headless runner a
// WavWriterDevice, tests a fake. No method is called per sample.
#pragma once

#include <cstdint>

// What the host's audio system can play.
struct AudioCapabilities {
    uint32_t maxSampleRate = 44100;
    bool sixteenBit = true; // false: only 8-bit samples
};

// The stream's PCM format. 16-bit samples are signed little-endian, 8-bit unsigned;
// stereo frames are left then right.
struct AudioStreamFormat {
    uint32_t sampleRate = 44100;
    uint8_t bits = 16;
    uint8_t channels = 2;
    uint32_t chunkBytes = 0;  // bytes per QueueChunk call
    uint32_t queueChunks = 2; // chunks kept waiting ahead of playback (at least 1)
};

class AudioDevice {
  public:
    virtual ~AudioDevice() = default;

    // Reaches the host's audio system and says what it can play; false when there is
    // no audio system to talk to.
    virtual bool Connect(AudioCapabilities& caps) = 0;
    // Creates the stream, empty and not yet playing.
    virtual bool Open(const AudioStreamFormat& format) = 0;
    // Starts or resumes playback.
    virtual bool Play() = 0;
    // Stops playback, keeping what is queued.
    virtual void Pause() = 0;
    // Drops everything queued and not yet played.
    virtual void Clear() = 0;
    // Queues one chunk, then waits (at most about a second) until no more than
    // `queueChunks` chunks are waiting to be played. Never waits while paused.
    virtual void QueueChunk(const uint8_t* bytes, uint32_t count) = 0;
    // Closes the stream and lets go of the audio system; Connect may follow again.
    virtual void Close() = 0;
    // True once the stream has stopped by itself: the device was unplugged, or the
    // sound server went away.
    virtual bool Lost() const { return false; }
};

// Installs the device InitSound uses (nullptr: none, sound cannot start). The device
// must outlive its use; installing another one shuts the running stream down first.
void SetAudioDevice(AudioDevice* device);
AudioDevice* InstalledAudioDevice();

// The SDL2 audio device: plays the sample stream through SDL's queued audio
// (SDL_OpenAudioDevice without a callback, SDL_QueueAudio per chunk) and paces the
// emulation by waiting on SDL_GetQueuedAudioSize.
//
// Usage (the Qt application, once at start-up, before InitSound()):
//     InstallSdlAudioDevice();
// SDL_AUDIODRIVER chooses SDL's driver as usual ("dummy" for tests).
#pragma once

#include <SDL.h>

#include "sound/audio_device.h"

class SdlAudioDevice final : public AudioDevice {
  public:
    ~SdlAudioDevice() override;

    bool Connect(AudioCapabilities& caps) override;
    bool Open(const AudioStreamFormat& format) override;
    bool Play() override;
    void Pause() override;
    void Clear() override;
    void QueueChunk(const uint8_t* bytes, uint32_t count) override;
    void Close() override;
    bool Lost() const override;

    SDL_AudioDeviceID id() const { return device_; }
    uint32_t QueuedBytes() const;

  private:
    void CloseStream();

    bool subsystemUp_ = false;
    SDL_AudioDeviceID device_ = 0;
    AudioStreamFormat format_;
    bool playing_ = false;
};

// The sample frames SDL pulls from the queue at a time: a power of two, as SDL's drivers
// expect, and the smallest that holds a chunk, so the device's thread wakes about once a
// frame rather than twice; but never more than the queue keeps waiting (`queueChunks`
// chunks), or pulls would find the queue short. 256 at the least, where the queue
// holds that many.
uint16_t DevicePullFrames(const AudioStreamFormat& format);

// Creates the one SDL audio device of the program and installs it with SetAudioDevice().
void InstallSdlAudioDevice();

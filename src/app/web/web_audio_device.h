// The audio device of the web page: each chunk goes to the page's AudioWorklet
// (site/noltace-audio.js) without waiting. The browser's main thread must never block,
// so the page paces the emulation instead: it runs frames only while the worklet holds
// less than a few frames of sound (see site/noltace-page.js).
#pragma once

#include "sound/audio_device.h"

class WebAudioDevice final : public AudioDevice {
  public:
    bool Connect(AudioCapabilities& caps) override;
    bool Open(const AudioStreamFormat& format) override;
    bool Play() override;
    void Pause() override;
    void Clear() override;
    void QueueChunk(const uint8_t* bytes, uint32_t count) override;
    void Close() override;

  private:
    AudioStreamFormat format_;
};

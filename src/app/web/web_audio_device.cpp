#include "web_audio_device.h"

#include <emscripten.h>

bool WebAudioDevice::Connect(AudioCapabilities& caps) {
    caps.maxSampleRate = uint32_t(EM_ASM_INT({ return noltacePage.audioSampleRate(); }));
    caps.sixteenBit = true;
    return caps.maxSampleRate > 0;
}

bool WebAudioDevice::Open(const AudioStreamFormat& format) {
    format_ = format;
    return EM_ASM_INT({ return noltacePage.audioOpen($0, $1, $2); }, format.sampleRate, format.bits,
                      format.channels) != 0;
}

bool WebAudioDevice::Play() {
    EM_ASM({ noltacePage.audioPlay(true); });
    return true;
}

void WebAudioDevice::Pause() {
    EM_ASM({ noltacePage.audioPlay(false); });
}

void WebAudioDevice::Clear() {
    EM_ASM({ noltacePage.audioClear(); });
}

void WebAudioDevice::QueueChunk(const uint8_t* bytes, uint32_t count) {
    EM_ASM({ noltacePage.audioQueue($0, $1, $2, $3); }, bytes, count, format_.bits, format_.channels);
}

void WebAudioDevice::Close() {
    EM_ASM({ noltacePage.audioClear(); });
}

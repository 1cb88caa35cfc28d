#include "sound/sdl/sdl_audio_device.h"

namespace {

constexpr uint32_t kMaxWaitMs = 1000; // the wait for the device never blocks longer

// SDL pulls from the queue in pieces of this many sample frames: the largest power of
// two within one chunk, so a chunk is never split over more than two pulls.
Uint16 DevicePullFrames(const AudioStreamFormat& f) {
    const uint32_t frameBytes = uint32_t(f.bits / 8) * f.channels;
    const uint32_t chunkFrames = frameBytes ? f.chunkBytes / frameBytes : 0;
    uint32_t frames = 256;
    while (frames * 2 <= chunkFrames && frames < 8192)
        frames *= 2;
    return Uint16(frames);
}

} // namespace

SdlAudioDevice::~SdlAudioDevice() {
    Close();
}

bool SdlAudioDevice::Connect(AudioCapabilities& caps) {
    if (!subsystemUp_) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // keep SIGINT/SIGTERM's default actions
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        subsystemUp_ = true;
    }
    // SDL converts any rate and width to what the hardware takes.
    caps.maxSampleRate = 192000;
    caps.sixteenBit = true;
    return true;
}

bool SdlAudioDevice::Open(const AudioStreamFormat& format) {
    CloseStream();
    format_ = format;
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = int(format.sampleRate);
    want.format = format.bits == 16 ? AUDIO_S16LSB : AUDIO_U8;
    want.channels = format.channels;
    want.samples = DevicePullFrames(format);
    want.callback = nullptr; // queued audio
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    playing_ = false;
    return device_ != 0;
}

bool SdlAudioDevice::Play() {
    if (!device_) return false;
    SDL_PauseAudioDevice(device_, 0);
    playing_ = SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
    return playing_;
}

void SdlAudioDevice::Pause() {
    if (!device_) return;
    SDL_PauseAudioDevice(device_, 1);
    playing_ = false;
}

void SdlAudioDevice::Clear() {
    if (device_) SDL_ClearQueuedAudio(device_);
}

uint32_t SdlAudioDevice::QueuedBytes() const {
    return device_ ? SDL_GetQueuedAudioSize(device_) : 0;
}

void SdlAudioDevice::QueueChunk(const uint8_t* bytes, uint32_t count) {
    if (!device_) return;
    // A failed queue drops the chunk; the next one plays on.
    SDL_QueueAudio(device_, bytes, count);
    if (!playing_) return;
    const uint32_t limit = format_.queueChunks * format_.chunkBytes;
    const Uint64 start = SDL_GetTicks64();
    while (SDL_GetQueuedAudioSize(device_) > limit) {
        if (SDL_GetTicks64() - start >= kMaxWaitMs) break;
        SDL_Delay(1);
    }
}

bool SdlAudioDevice::Lost() const {
    // SDL marks a device that went away as stopped; a paused one reads as paused.
    return device_ && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

void SdlAudioDevice::CloseStream() {
    if (device_) SDL_CloseAudioDevice(device_);
    device_ = 0;
    playing_ = false;
}

void SdlAudioDevice::Close() {
    CloseStream();
    if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemUp_ = false;
}

void InstallSdlAudioDevice() {
    static SdlAudioDevice device;
    SetAudioDevice(&device);
}

#include "sound/sdl/sdl_audio_device.h"

namespace {

constexpr uint32_t kMaxWaitMs = 1000; // the wait for the device never blocks longer

} // namespace

uint16_t DevicePullFrames(const AudioStreamFormat& f) {
    const uint32_t frameBytes = uint32_t(f.bits / 8) * f.channels;
    const uint32_t chunkFrames = frameBytes ? f.chunkBytes / frameBytes : 0;
    const uint32_t queueFrames = chunkFrames * (f.queueChunks ? f.queueChunks : 1);
    uint32_t frames = 256;
    while (frames > queueFrames && frames > 64) // 11025 Hz with one chunk waiting
        frames /= 2;
    while (frames < chunkFrames && frames * 2 <= queueFrames && frames < 8192)
        frames *= 2;
    return uint16_t(frames);
}

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
    // Sleep for as long as the excess takes to play, rather than polling every
    // millisecond: the thread then wakes about once a frame, not twenty times.
    const uint32_t frameBytes = uint32_t(format_.bits / 8) * format_.channels;
    const uint32_t bytesPerSecond = format_.sampleRate * frameBytes;
    // The device takes the queue in whole pulls, so the excess goes in whole pulls too:
    // wait as long as they play, not the few milliseconds of a part of one, which only
    // wakes the thread to look again. Waking up to a pull late is harmless: the queue
    // still holds `limit` bytes less one pull.
    const uint32_t pullBytes = uint32_t(DevicePullFrames(format_)) * frameBytes;
    const Uint64 start = SDL_GetTicks64();
    for (uint32_t queued; (queued = SDL_GetQueuedAudioSize(device_)) > limit;) {
        if (SDL_GetTicks64() - start >= kMaxWaitMs) break;
        uint64_t excess = queued - limit;
        if (pullBytes) excess = (excess + pullBytes - 1) / pullBytes * pullBytes;
        // A millisecond more: the device's pulls come a little later than their length
        // (its thread sleeps for a pull, then works), and a wake just before one only
        // sleeps again.
        const uint64_t ms = bytesPerSecond ? (excess * 1000 + bytesPerSecond - 1) / bytesPerSecond + 1 : 1;
        SDL_Delay(Uint32(ms < 1 ? 1 : ms > kMaxWaitMs ? kMaxWaitMs : ms));
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

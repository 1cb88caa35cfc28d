#include "sound/sound_output.h"

#include <algorithm>
#include <vector>

#include "base/messages.h"
#include "sound/audio_device.h"
#include "sound/sound_settings.h"

SoundStream soundStream;

namespace {

AudioDevice* audioDevice = nullptr;
std::vector<uint8_t> chunkStorage;

constexpr uint32_t kMinSampleRate = 11025;
constexpr uint16_t kSpeakerLevel = 8192; // the speaker line high, on the AY's 0..3999 scale
constexpr int kVolumeStep = 40;          // each 40% of volume passes the mix once more

// The echo rings play back what was written this long ago: a tenth of a second, a
// distinct repeat without smearing the Ace's short beeps into each other.
int EchoDelaySamples(uint32_t sampleRate) {
    return std::clamp(int(sampleRate / 10), 1, kEchoRingLength - 1);
}

void ResetEchoRings(uint32_t sampleRate) {
    SoundStream& s = soundStream;
    std::fill(std::begin(s.echoLeft), std::end(s.echoLeft), uint16_t(0));
    std::fill(std::begin(s.echoRight), std::end(s.echoRight), uint16_t(0));
    s.echoWrite = 0;
    s.echoRead = kEchoRingLength - EchoDelaySamples(sampleRate);
}

inline int NextRingPosition(int position) {
    return position == kEchoRingLength - 1 ? 0 : position + 1;
}

float ClampedSpeed(float speed) {
    if (!(speed >= 10.0f)) return 10.0f; // also catches NaN
    return std::min(speed, 1000.0f);
}

// How many chunks wait ahead of playback: a quarter of the buffer setting, so the
// default of 8 frames keeps two chunks (40 ms) queued, enough to ride out a late frame
// without a noticeable lag behind the keyboard; a bigger setting trades lag for
// safety against dropouts on a busy host.
uint32_t QueueDepth(uint32_t bufferFrames) {
    return std::max<uint32_t>(1, bufferFrames / 4);
}

int Fail(int code) {
    ShutdownSound();
    ReportMessage(kCaptionError, code);
    return 1;
}

} // namespace

void SetAudioDevice(AudioDevice* device) {
    if (device != audioDevice && soundStream.connected) ShutdownSound();
    audioDevice = device;
    SetMessageBoxPause(device ? PauseSound : nullptr);
}

AudioDevice* InstalledAudioDevice() {
    return audioDevice;
}

StreamParameters ComputeStreamParameters(uint32_t sampleRate, uint8_t bits, uint8_t channels,
                                         float speedPercent, uint32_t bufferChunks, uint32_t frameTstates) {
    StreamParameters p;
    p.sampleRate = std::max<uint32_t>(sampleRate, 1);
    p.bits = bits;
    p.channels = channels;
    p.bufferChunks = bufferChunks;
    const float speed = speedPercent * 0.01f;
    const float perSample = 50.0f * speed * float(frameTstates) / float(p.sampleRate);
    p.tstatesPerSample = std::max<uint32_t>(uint32_t(perSample), 1);
    const float perChunk = float(frameTstates) * speed / float(p.tstatesPerSample);
    p.samplesPerChunk = std::max<uint32_t>(uint32_t(perChunk), 1);
    p.chunkBytes = p.samplesPerChunk * (bits == 16 ? 2 : 1) * (channels == 2 ? 2 : 1);
    p.streamBytes = bufferChunks * p.chunkBytes;
    return p;
}

int InitSound() {
    if (soundStream.connected) ShutdownSound();
    SyncAy();
    BuildAyVolumeTable();
    ResetAy();

    AudioCapabilities caps;
    if (!audioDevice || !audioDevice->Connect(caps)) return Fail(61);
    soundStream.connected = true;
    if (!opt_snd_sound) return 0;

    SoundStream& s = soundStream;
    s.sampleClock = s.ayClock = 0;

    uint32_t rate = std::max(opt_snd_freq, kMinSampleRate);
    rate = std::min(rate, caps.maxSampleRate);
    const uint8_t bits = (opt_snd_soundbits == 16 && caps.sixteenBit) ? 16 : 8;
    s.outputMode = opt_snd_output <= kOutputAcbStereo ? opt_snd_output : uint8_t(kOutputAbcStereo);
    const uint8_t channels = s.outputMode == kOutputMono ? 1 : 2;
    s.enhancement = opt_echo <= kEnhanceReverb ? opt_echo : uint8_t(kEnhanceNone);
    s.volumeFactor = uint16_t(opt_snd_volume / kVolumeStep);
    const uint32_t buffers = std::clamp<uint32_t>(opt_snd_num_buffers, 1, 50);
    s.params = ComputeStreamParameters(rate, bits, channels, ClampedSpeed(opt_emulation_speed), buffers);
    ResetEchoRings(s.params.sampleRate);

    chunkStorage.assign(s.params.chunkBytes, 0);
    s.chunk = chunkStorage.data();
    s.fill = 0;

    AudioStreamFormat format;
    format.sampleRate = s.params.sampleRate;
    format.bits = bits;
    format.channels = channels;
    format.chunkBytes = s.params.chunkBytes;
    format.queueChunks = QueueDepth(buffers);
    if (!audioDevice->Open(format)) return Fail(64);
    s.open = true;

    ClearStream();
    if (!audioDevice->Play()) return Fail(65);
    soundOutputActive = true;
    return 0;
}

void ShutdownSound() {
    ClearStream();
    SoundStream& s = soundStream;
    s.fill = 0;
    machine.earLevel = 0;
    soundOutputActive = false;
    if (s.connected && audioDevice) audioDevice->Close();
    s.open = false;
    s.connected = false;
}

void ClearStream() {
    SoundStream& s = soundStream;
    if (!s.open) return;
    SyncAy();
    audioDevice->Clear();
    s.fill = 0;
    s.sampleClock = 0;
    s.ayClock = 0;
}

void StopSound() {
    ClearStream();
    if (!soundStream.open) return;
    audioDevice->Pause();
    soundOutputActive = false;
}

void PauseSound(bool stop) {
    if (!soundStream.open) return;
    if (stop) {
        audioDevice->Pause();
        soundOutputActive = false;
    } else {
        soundOutputActive = audioDevice->Play();
    }
}

void SyncAy() {
    SoundStream& s = soundStream;
    while (s.ayClock > kAyTickTstates) {
        s.ayClock -= kAyTickTstates;
        AyTick();
    }
}

void TakeSample() {
    SoundStream& s = soundStream;
    s.sampleClock -= s.params.tstatesPerSample;
    if (!s.open) return; // the switch was forced on without a stream to fill
    SyncAy();
    ComputeLevels();

    // All sums are 16-bit and wrap, as the mix always was.
    const uint16_t speaker = uint16_t(machine.earLevel * kSpeakerLevel);
    const uint16_t a = ay.level[0], b = ay.level[1], c = ay.level[2];
    uint16_t left, right;
    switch (s.outputMode) {
    case kOutputMono: left = right = uint16_t(speaker + a + b + c); break;
    case kOutputAcbStereo:
        left = uint16_t(speaker + a + c);
        right = uint16_t(speaker + c + b);
        break;
    default: // ABC: B sits in the middle
        left = uint16_t(speaker + a + b);
        right = uint16_t(speaker + b + c);
        break;
    }

    uint16_t out;
    switch (s.enhancement) {
    case kEnhanceEcho: {
        s.echoLeft[s.echoWrite] = left;
        s.echoRight[s.echoWrite] = right;
        s.echoWrite = NextRingPosition(s.echoWrite);
        const uint16_t echoL = s.echoLeft[s.echoRead], echoR = s.echoRight[s.echoRead];
        s.echoRead = NextRingPosition(s.echoRead);
        out = uint16_t(((echoR >> 2) + (left >> 1)) + ((echoL >> 2) + (right >> 1)));
        break;
    }
    case kEnhanceReverb: {
        // The delayed output is fed back, so each repeat is half as loud as the last.
        const uint16_t echoL = s.echoLeft[s.echoRead], echoR = s.echoRight[s.echoRead];
        s.echoRead = NextRingPosition(s.echoRead);
        const uint16_t wetL = uint16_t((echoL >> 1) + (left >> 1));
        const uint16_t wetR = uint16_t((echoR >> 1) + (right >> 1));
        s.echoLeft[s.echoWrite] = wetL;
        s.echoRight[s.echoWrite] = wetR;
        s.echoWrite = NextRingPosition(s.echoWrite);
        out = uint16_t(wetL + wetR);
        break;
    }
    default: out = uint16_t(left + right); break;
    }

    const uint16_t sample = uint16_t(out * s.volumeFactor);
    uint8_t* p = s.chunk + s.fill;
    // Both channels carry the same value: the stereo placement is in the sum above.
    if (s.params.bits == 16) {
        p[0] = uint8_t(sample);
        p[1] = uint8_t(sample >> 8);
        if (s.params.channels == 2) {
            p[2] = p[0];
            p[3] = p[1];
        }
        s.fill += 2u * s.params.channels;
    } else {
        p[0] = uint8_t(sample >> 8);
        if (s.params.channels == 2) p[1] = p[0];
        s.fill += s.params.channels;
    }
    if (s.fill >= s.params.chunkBytes) FlushChunk();
}

void FlushChunk() {
    SoundStream& s = soundStream;
    s.fill = 0;
    audioDevice->QueueChunk(s.chunk, s.params.chunkBytes);
}

void ResetSound() {
    ShutdownSound();
    SetAudioDevice(nullptr);
    soundStream = SoundStream{};
    chunkStorage.clear();
    ay = AyState{};
    ResetAy();
    ResetSoundSettings();
}

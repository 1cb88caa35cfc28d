#include "sound/sound_output.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "machine/run_state.h"
#include "sound/audio_device.h"
#include "sound/sound_settings.h"

SoundStream soundStream;

namespace {

AudioDevice* audioDevice = nullptr;
std::vector<uint8_t> chunkStorage;
std::vector<uint16_t> highStorage, ticksStorage;
std::vector<float> ayStorage;
std::vector<StereoSample> mixStorage;

constexpr uint32_t kMinSampleRate = 11025;

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

bool reportFailures = true; // cleared while start-up sets sound up

int Fail(int code) {
    ShutdownSound();
    if (reportFailures) ReportMessage(kCaptionError, code);
    return 1;
}

// The device stopped playing by itself. Shutting the stream down makes every later
// pause, resume and chunk a no-op, so the user hears of it once.
void StreamLost() {
    ShutdownSound();
    ReportMessage(kCaptionError, kMsgSoundStreamStart);
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

// Everything InitSound does; failures are reported as `reportFailures` says.
static int SetUpStream() {
    if (soundStream.connected) ShutdownSound();
    SyncAy();
    BuildAyVolumeTable();
    ResetAy();

    AudioCapabilities caps;
    if (!audioDevice || !audioDevice->Connect(caps)) return Fail(kMsgSoundObject);
    soundStream.connected = true;
    if (!opt_snd_sound) return 0;

    SoundStream& s = soundStream;
    s.sampleClock = s.ayClock = 0;

    uint32_t rate = std::max(opt_snd_freq, kMinSampleRate);
    rate = std::min(rate, caps.maxSampleRate);
    const uint8_t bits = (opt_snd_soundbits == 16 && caps.sixteenBit) ? 16 : 8;
    const uint8_t channels = opt_snd_output == kOutputMono ? 1 : 2;
    const uint32_t buffers = std::clamp<uint32_t>(opt_snd_num_buffers, 1, 50);
    s.params = ComputeStreamParameters(rate, bits, channels, ClampedSpeed(opt_emulation_speed), buffers);
    s.periodsPerTstate = 1.0f / float(s.params.tstatesPerSample);
    ConfigureMixer(s.mix, opt_snd_output, opt_echo, opt_snd_volume, s.params.sampleRate);

    chunkStorage.assign(s.params.chunkBytes, 0);
    s.chunk = chunkStorage.data();
    s.fill = 0;
    const uint32_t samples = s.params.samplesPerChunk;
    highStorage.assign(samples, 0);
    ticksStorage.assign(samples, 0);
    ayStorage.assign(3 * samples, 0.0f);
    mixStorage.assign(samples, StereoSample{});
    s.periodHigh = highStorage.data();
    s.periodTicks = ticksStorage.data();
    s.periodAy = ayStorage.data();
    s.taken = s.ayDone = s.mixed = 0;

    AudioStreamFormat format;
    format.sampleRate = s.params.sampleRate;
    format.bits = bits;
    format.channels = channels;
    format.chunkBytes = s.params.chunkBytes;
    format.queueChunks = QueueDepth(buffers);
    if (!audioDevice->Open(format)) return Fail(kMsgSoundStreamOpen);
    s.open = true;

    ClearStream();
    if (!audioDevice->Play()) return Fail(kMsgSoundStreamStart);
    soundOutputActive = true;
    return 0;
}

int InitSound(bool reportFailure) {
    reportFailures = reportFailure;
    const int result = SetUpStream();
    reportFailures = true;
    return result;
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
    s.taken = s.ayDone = s.mixed = 0;
    s.sampleClock = 0;
    s.speakerHigh = 0;
    s.ayClock = 0;
    s.caughtUpTo = machine.tstates;
    ay.levelTicks = 0; // the next sample averages from here
    for (uint32_t& sum : ay.levelSum)
        sum = 0;
    RestartMixerFilters(s.mix);
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
        CatchUpSound(machine.tstates); // the time played up to the pause
        audioDevice->Pause();
        soundOutputActive = false;
    } else {
        soundOutputActive = audioDevice->Play();
        soundStream.caughtUpTo = machine.tstates; // the pause itself is silent
        if (!soundOutputActive) StreamLost();
    }
}

namespace {

// The AY levels of the samples taken and not yet worked out.
void RunPendingAy() {
    SoundStream& s = soundStream;
    if (s.ayDone == s.taken) return;
    AyRunPeriods(s.periodTicks + s.ayDone, s.taken - s.ayDone, s.periodAy + 3 * s.ayDone);
    s.ayDone = s.taken;
}

} // namespace

void SyncAy() {
    SoundStream& s = soundStream;
    RunPendingAy();
    if (s.ayClock <= kAyTickTstates) return;
    // A tick for every 16 T-states past the last, leaving 1 to 16 on the clock.
    const uint32_t ticks = (s.ayClock - 1) / kAyTickTstates;
    s.ayClock -= ticks * kAyTickTstates;
    AyRun(ticks);
}

void EndSamplePeriod(uint32_t tstates, uint32_t high) {
    SoundStream& s = soundStream;
    const uint32_t over = std::min(tstates, s.sampleClock - s.params.tstatesPerSample);
    s.speakerHigh += high ? tstates - over : 0;
    TakeSample();
    s.speakerHigh = high ? over : 0;
}

void CatchUpSound(uint32_t now) {
    SoundStream& s = soundStream;
    const uint32_t from = s.caughtUpTo;
    s.caughtUpTo = now;
    if (now <= from || !soundOutputActive || !s.open || runState.FastMode) return;
    AdvanceSoundSpan(now - from, machine.earLevel != 0);
}

void EndSoundFrame(uint32_t now, uint32_t frameTstates) {
    CatchUpSound(now);
    SoundStream& s = soundStream;
    s.caughtUpTo = s.caughtUpTo > frameTstates ? s.caughtUpTo - frameTstates : 0;
}

namespace {

// The whole sample periods of a span that starts on a period's boundary, as many as
// the chunk has room for: each is simply the level for the whole period and the AY
// ticks the clock owes by its end, so they are taken in one tight loop on locals.
// Returns the T-states left.
uint32_t TakeWholePeriods(uint32_t tstates, bool high) {
    SoundStream& s = soundStream;
    const uint32_t period = s.params.tstatesPerSample;
    const uint32_t frameBytes = (s.params.bits / 8u) * s.params.channels;
    // The samples until the chunk is full (and flushed): the last may overfill it.
    const uint32_t room =
        s.fill < s.params.chunkBytes ? (s.params.chunkBytes - s.fill + frameBytes - 1) / frameBytes : 1;
    // Only past the period's end; none if the clock owes more ticks than a sample holds.
    const bool oneByOne = s.ayClock + period > kAyTickTstates * UINT16_MAX;
    const uint32_t count = oneByOne ? 0 : std::min((tstates - 1) / period, room);
    const uint16_t highPart = uint16_t(high ? period : 0);
    uint16_t* periodHigh = s.periodHigh + s.taken;
    uint16_t* periodTicks = s.periodTicks + s.taken;
    for (uint32_t i = 0; i < count; ++i)
        periodHigh[i] = highPart;
    if (count > 0) {
        // A tick for every 16 T-states past the last, leaving 1 to 16 on the clock.
        // After the first period the clock starts at `rest`, so the ticks owed by the
        // end of each period follow from its number alone: no period waits on the one
        // before.
        const uint32_t first = (s.ayClock + period - 1) / kAyTickTstates;
        periodTicks[0] = uint16_t(first);
        const uint32_t rest = s.ayClock + period - first * kAyTickTstates; // 1 to 16
        for (uint32_t i = 1; i < count; ++i)
            periodTicks[i] = uint16_t((rest - 1 + i * period) / kAyTickTstates -
                                      (rest - 1 + (i - 1) * period) / kAyTickTstates);
        const uint32_t last = rest - 1 + (count - 1) * period;
        s.ayClock = last - (last / kAyTickTstates) * kAyTickTstates + 1;
    }
    s.taken += count;
    s.fill += count * frameBytes;
    if (count > 0 && s.fill >= s.params.chunkBytes) FlushChunk();
    return tstates - count * period;
}

} // namespace

void AdvanceSoundSpan(uint32_t tstates, bool high) {
    SoundStream& s = soundStream;
    const uint32_t period = s.params.tstatesPerSample;
    // A sample is taken once the clock has gone past its period, as one instruction at
    // a time would take it; the part up to the period's end belongs to it.
    while (s.sampleClock + tstates > period && s.open) {
        if (s.sampleClock == 0 && s.speakerHigh == 0 && tstates > period) {
            tstates = TakeWholePeriods(tstates, high);
            if (s.sampleClock + tstates <= period || !s.open) break;
        }
        const uint32_t part = s.sampleClock < period ? period - s.sampleClock : 0;
        s.sampleClock += part;
        s.speakerHigh += high ? part : 0;
        s.ayClock += part;
        tstates -= part;
        TakeSample();
    }
    s.sampleClock += tstates;
    s.speakerHigh += high ? tstates : 0;
    s.ayClock += tstates;
}

void TakeSample() {
    SoundStream& s = soundStream;
    const uint32_t period = s.params.tstatesPerSample;
    s.sampleClock -= period;
    // After a long instruction the count may run past one period.
    const uint32_t high = std::min(s.speakerHigh, period);
    s.speakerHigh = 0;
    if (!s.open) return; // the switch was forced on without a stream to fill
    // The AY ticks this period owes, to be run with the others of the chunk.
    uint32_t ticks = 0;
    if (s.ayClock > kAyTickTstates) {
        ticks = std::min<uint32_t>((s.ayClock - 1) / kAyTickTstates, UINT16_MAX);
        s.ayClock -= ticks * kAyTickTstates;
    }
    s.periodHigh[s.taken] = uint16_t(high);
    s.periodTicks[s.taken] = uint16_t(ticks);
    ++s.taken;
    s.fill += (s.params.bits / 8u) * s.params.channels;
    if (s.fill >= s.params.chunkBytes) FlushChunk();
}

void MixPendingSamples() {
    SoundStream& s = soundStream;
    if (!s.open || s.mixed == s.taken) return;
    RunPendingAy();
    const uint32_t count = s.taken - s.mixed;
    StereoSample* v = mixStorage.data();
    MixSamples(s.mix, s.periodHigh + s.mixed, s.periodsPerTstate, s.periodAy + 3 * s.mixed, count, v);
    const uint32_t frameBytes = (s.params.bits / 8u) * s.params.channels;
    uint8_t* p = s.chunk + s.mixed * frameBytes;
    const bool stereo = s.params.channels == 2;
    if (s.params.bits == 16 && stereo && std::endian::native == std::endian::little) {
        // The mix's pairs already are the stream's little-endian left-right frames.
        static_assert(sizeof(StereoSample) == 4);
        std::memcpy(p, v, count * sizeof(StereoSample));
    } else if (s.params.bits == 16) {
        for (uint32_t i = 0; i < count; ++i, p += frameBytes) {
            p[0] = uint8_t(v[i].left);
            p[1] = uint8_t(uint16_t(v[i].left) >> 8);
            if (stereo) {
                p[2] = uint8_t(v[i].right);
                p[3] = uint8_t(uint16_t(v[i].right) >> 8);
            }
        }
    } else {
        // 8-bit PCM is unsigned, silence at 128.
        for (uint32_t i = 0; i < count; ++i, p += frameBytes) {
            p[0] = uint8_t((v[i].left >> 8) + 128);
            if (stereo) p[1] = uint8_t((v[i].right >> 8) + 128);
        }
    }
    s.mixed = s.taken;
}

void FlushChunk() {
    SoundStream& s = soundStream;
    MixPendingSamples();
    s.fill = 0;
    s.taken = s.ayDone = s.mixed = 0;
    audioDevice->QueueChunk(s.chunk, s.params.chunkBytes);
    if (audioDevice->Lost()) StreamLost();
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

#include "tape/wav_deck.h"

#include <algorithm>
#include <cstdio>

#include "base/current_file.h"
#include "base/file_writer.h"
#include "base/host.h"
#include "base/messages.h"
#include "machine/machine_state.h"
#include "sound/sound_output.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/tape_header.h"
#include "tape/wav_header_scan.h"

WavFormat wavFormat;
std::vector<uint8_t> wavSamples;
uint32_t wavPosition = 0;
uint64_t wavFrames = 0;
int wavVolume = 0;
int wavBias = 0;
bool wavWide = false;
bool wavInvert = false;
uint32_t tstatesPerSample = 0;
bool recordPrepared = false;
std::string wavDisplayName;

namespace {

constexpr uint32_t kRecordRate = 44100;
constexpr uint8_t kMicHigh = 224, kMicLow = 32, kSilence = 128;
constexpr int kHoldSamples = 128; // a steady MIC level decays to silence after this

SamplePeriod period{};

struct LevelCache {
    uint32_t position = 0;
    int volume = 0, bias = 0;
    bool invert = false;
    uint64_t frames = 0;
    uint8_t level = 0;
    bool valid = false;
};
LevelCache levelCache; // emptied whenever the samples change
uint32_t remainderCarry = 0;
std::string recordPath;
uint8_t lastMic = 0, lastSample = kSilence;
int sameCount = 0;

void SetTiming(const WavFormat& f) {
    period = SamplePeriodFor(f.sampleRate);
    tstatesPerSample = period.whole;
    remainderCarry = 0;
    wavWide = f.bitsPerSample > 8;
}

void RecordSample() {
    const uint8_t mic = machine.micBit;
    uint8_t sample;
    if (mic == lastMic) {
        ++sameCount;
        sample = sameCount < kHoldSamples ? (mic ? kMicHigh : kMicLow)
                                          : uint8_t(kSilence + 9 * (int(lastSample) - kSilence) / 10);
    } else {
        sameCount = 0;
        sample = mic ? kMicHigh : kMicLow;
    }
    SetSpeakerLine(mic != 0, machine.tstates); // from the next instruction on
    lastSample = sample;
    lastMic = mic;
    if (wavSamples.size() <= wavPosition) wavSamples.resize(size_t(wavPosition) + 1, kSilence);
    wavSamples[wavPosition] = sample;
    levelCache.valid = false;
    wavFrames = std::max<uint64_t>(wavFrames, wavPosition);
}

void AdvanceOneSample() {
    ++wavPosition;
    if (recording) RecordSample();
    if (wavPlaying && wavPosition > wavFrames) StopWavPlayback();
}

void ClearWav() {
    levelCache.valid = false;
    wavPlaying = recording = recordPrepared = recordArmed = false;
    wavLoaded = false;
    wavSamples.clear();
    wavSamples.shrink_to_fit();
    wavPosition = 0;
    wavFrames = 0;
    wavVolume = wavBias = 0;
    wavInvert = false;
    wavDisplayName.clear();
}

} // namespace

SamplePeriod SamplePeriodFor(uint32_t rate) {
    const uint32_t clock = machine.frameTstates * 50;
    if (rate == 0) return {clock, 0, 1};
    return {clock / rate, clock % rate, rate};
}

bool LoadWavFromBuffer(const std::string& bareName) {
    const std::span<const uint8_t> bytes = LoadBufferBytes();
    const WavParseResult parsed = ParseWav(bytes);
    if (!parsed.error.empty()) return ReportMessage(kCaptionError, kMsgNotPcmWav);
    if (recordPrepared) FinishRecording();
    ClearWav();
    wavFormat = parsed.format;
    wavSamples.assign(bytes.begin() + long(parsed.dataOffset),
                      bytes.begin() + long(parsed.dataOffset + parsed.dataSize));
    wavFrames = parsed.dataSize / parsed.format.blockAlign;
    SetTiming(wavFormat);
    wavLoaded = true;
    ForgetRomListening();
    wavDisplayName = currentFilePath.empty() ? bareName : FileNameOf(currentFilePath);
    const TapeFileName first = DetectWavPolarity();
    if (opt_autoload) StartSpool(AutoloadText(first, bareName));
    return false;
}

uint8_t WavRawLevel(uint64_t n) {
    if (n >= wavFrames) return kSilence;
    const size_t offset = size_t(n) * wavFormat.blockAlign + (wavFormat.blockAlign > 1 ? 1 : 0);
    if (offset >= wavSamples.size()) return kSilence;
    const uint8_t b = wavSamples[offset];
    return wavWide ? uint8_t(b - 128) : b; // the signed high byte as an unsigned one
}

uint8_t WavSampleLevel(uint64_t n) {
    if (n >= wavFrames) return kSilence;
    const uint8_t b = WavRawLevel(n);
    // The recorder inverts the signal; a capture made the other way up is played as it is.
    const int v = wavInvert ? int(b) - 128 : 127 - b;
    const double x = wavVolume * 0.1;
    const double f = wavVolume > 0 ? (1 + x) * v : v / (1 - x);
    const int t = std::clamp(int(f) + wavBias, -127, 127);
    return uint8_t(t + 128);
}

// The ROM's loader reads the port many times per sample: the level is worked out once
// per sample position (and again when the volume, bias or samples change).
uint8_t WavCurrentSample() {
    LevelCache& c = levelCache;
    if (!c.valid || c.position != wavPosition || c.volume != wavVolume || c.bias != wavBias ||
        c.invert != wavInvert || c.frames != wavFrames)
        c = {wavPosition, wavVolume, wavBias, wavInvert, wavFrames, WavSampleLevel(wavPosition), true};
    return c.level;
}

void StartWavPlayback() {
    if (wavPlaying || recording || !wavLoaded) return;
    if (wavPosition >= wavFrames) wavPosition = 0;
    machine.tapeClock = 0;
    remainderCarry = 0;
    wavPlaying = true;
}

void StopWavPlayback() {
    wavPlaying = false;
}

void ToggleWavPlayback() {
    if (recordPrepared) {
        FinishRecording();
        return;
    }
    if (wavPlaying)
        StopWavPlayback();
    else
        StartWavPlayback();
}

void PrepareRecording(const std::string& path) {
    if (recordPrepared) FinishRecording();
    ClearWav();
    wavFormat = WavFormat{1, 1, kRecordRate, kRecordRate, 1, 8};
    SetTiming(wavFormat);
    wavSamples.reserve(size_t(kRecordRate) * 60);
    wavSamples.assign(1, kSilence); // sample 0 is silence; the first recorded one is 1
    recordPath = path;
    recordPrepared = recordArmed = true;
    wavDisplayName = "Recording";
    lastMic = 0;
    lastSample = kSilence;
    sameCount = 0;
    RemoveSaveTrap();
}

void StartRecording() {
    if (!recordArmed || recording) return;
    machine.tapeClock = 0;
    remainderCarry = 0;
    wavFrames = 0;
    recording = true;
}

bool WriteWavFile(const std::string& path) {
    const size_t size = std::min<size_t>(size_t(wavFrames + 1) * wavFormat.blockAlign, wavSamples.size());
    FileWriter out(path);
    if (out.Open() && out.Write(EncodeWavHeader(wavFormat, uint32_t(size))) &&
        out.Write(std::span(wavSamples.data(), size)) && out.Commit())
        return true;
    return !ReportWriteFailure(out.Error());
}

bool FinishRecording() {
    if (!recordPrepared) return false;
    recording = recordPrepared = recordArmed = false;
    InstallSaveTrap();
    // Every recorded sample belongs to the file, the last one included.
    wavSamples.resize(size_t(wavFrames) + 1, kSilence);
    wavFrames = wavSamples.size();
    levelCache.valid = false;
    wavLoaded = true;
    wavPosition = 0;
    std::string path = recordPath;
    recordPath.clear();
    if (path.empty()) {
        FileDialogRequest request;
        request.title = "Save WAV File";
        request.filters = {{"WAV files (*.wav)", "*.wav"}};
        request.initialFolder = FolderOf(tapeFolder);
        request.defaultExtension = "wav";
        path = host().ChooseSaveFile(request);
        if (path.empty()) return false;
    }
    tapeFolder = path;
    path = WithExtension(path, ".wav");
    wavDisplayName = FileNameOf(path);
    return WriteWavFile(path);
}

void WavSampleTick(uint32_t) {
    for (;;) {
        AdvanceOneSample();
        // The period's fraction: one more T-state each time the remainders add up to a
        // whole one.
        remainderCarry += period.remainder;
        if (remainderCarry >= period.rate && machine.tapeClock > tstatesPerSample) {
            remainderCarry -= period.rate;
            --machine.tapeClock;
        }
        // At high rates one instruction can span several samples; the step takes the
        // last period off itself.
        if (!(wavPlaying || recording) || machine.tapeClock <= 2 * tstatesPerSample) return;
        machine.tapeClock -= tstatesPerSample;
    }
}

void ResetWavDeck() {
    if (recordPrepared) InstallSaveTrap();
    recordPath.clear();
    ClearWav();
    tstatesPerSample = 0;
}

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

WavDeckState wavDeck;

namespace {

constexpr uint32_t kRecordRate = 44100;
constexpr uint8_t kMicHigh = 224, kMicLow = 32, kSilence = 128;
constexpr int kHoldSamples = 128; // a steady MIC level decays to silence after this

void SetTiming(const WavFormat& f) {
    wavDeck.period = SamplePeriodFor(f.sampleRate);
    wavDeck.tstatesPerSample = wavDeck.period.whole;
    wavDeck.remainderCarry = 0;
    wavDeck.wavWide = f.bitsPerSample > 8;
}

void RecordSample() {
    const uint8_t mic = machine.micBit;
    uint8_t sample;
    if (mic == wavDeck.lastMic) {
        ++wavDeck.sameCount;
        sample = wavDeck.sameCount < kHoldSamples
                     ? (mic ? kMicHigh : kMicLow)
                     : uint8_t(kSilence + 9 * (int(wavDeck.lastSample) - kSilence) / 10);
    } else {
        wavDeck.sameCount = 0;
        sample = mic ? kMicHigh : kMicLow;
    }
    SetSpeakerLine(mic != 0, machine.tstates); // from the next instruction on
    wavDeck.lastSample = sample;
    wavDeck.lastMic = mic;
    if (wavDeck.wavSamples.size() <= wavDeck.wavPosition)
        wavDeck.wavSamples.resize(size_t(wavDeck.wavPosition) + 1, kSilence);
    wavDeck.wavSamples[wavDeck.wavPosition] = sample;
    wavDeck.levelCache.valid = false;
    wavDeck.wavFrames = std::max<uint64_t>(wavDeck.wavFrames, wavDeck.wavPosition);
}

void AdvanceOneSample() {
    ++wavDeck.wavPosition;
    if (recording) RecordSample();
    if (wavPlaying && wavDeck.wavPosition > wavDeck.wavFrames) StopWavPlayback();
}

void ClearWav() {
    wavDeck.levelCache.valid = false;
    wavPlaying = recording = wavDeck.recordPrepared = recordArmed = false;
    wavLoaded = false;
    wavDeck.wavSamples.clear();
    wavDeck.wavSamples.shrink_to_fit();
    wavDeck.wavPosition = 0;
    wavDeck.wavFrames = 0;
    wavDeck.wavVolume = wavDeck.wavBias = 0;
    wavDeck.wavInvert = false;
    wavDeck.wavDisplayName.clear();
}

} // namespace

SamplePeriod SamplePeriodFor(uint32_t rate) {
    const uint32_t clock = machine.frameTstates * 50;
    if (rate == 0) return {clock, 0, 1};
    return {clock / rate, clock % rate, rate};
}

LoadResult LoadWavFromBuffer(const std::string& bareName) {
    const std::span<const uint8_t> bytes = LoadBufferBytes();
    const WavParseResult parsed = ParseWav(bytes);
    if (!parsed.error.empty()) return ReportLoadFailure(kCaptionError, kMsgNotPcmWav);
    if (wavDeck.recordPrepared) FinishRecording();
    ClearWav();
    wavDeck.wavFormat = parsed.format;
    wavDeck.wavSamples.assign(bytes.begin() + long(parsed.dataOffset),
                              bytes.begin() + long(parsed.dataOffset + parsed.dataSize));
    wavDeck.wavFrames = parsed.dataSize / parsed.format.blockAlign;
    SetTiming(wavDeck.wavFormat);
    wavLoaded = true;
    ForgetRomListening();
    wavDeck.wavDisplayName =
        currentFile.currentFilePath.empty() ? bareName : FileNameOf(currentFile.currentFilePath);
    const TapeFileName first = DetectWavPolarity();
    if (opt_autoload) StartSpool(AutoloadText(first, bareName));
    return LoadResult::Loaded;
}

uint8_t WavRawLevel(uint64_t n) {
    if (n >= wavDeck.wavFrames) return kSilence;
    const size_t offset =
        size_t(n) * wavDeck.wavFormat.blockAlign + (wavDeck.wavFormat.blockAlign > 1 ? 1 : 0);
    if (offset >= wavDeck.wavSamples.size()) return kSilence;
    const uint8_t b = wavDeck.wavSamples[offset];
    return wavDeck.wavWide ? uint8_t(b - 128) : b; // the signed high byte as an unsigned one
}

uint8_t WavSampleLevel(uint64_t n) {
    if (n >= wavDeck.wavFrames) return kSilence;
    const uint8_t b = WavRawLevel(n);
    // The recorder inverts the signal; a capture made the other way up is played as it is.
    const int v = wavDeck.wavInvert ? int(b) - 128 : 127 - b;
    const double x = wavDeck.wavVolume * 0.1;
    const double f = wavDeck.wavVolume > 0 ? (1 + x) * v : v / (1 - x);
    const int t = std::clamp(int(f) + wavDeck.wavBias, -127, 127);
    return uint8_t(t + 128);
}

// The ROM's loader reads the port many times per sample: the level is worked out once
// per sample position (and again when the volume, bias or samples change).
uint8_t WavCurrentSample() {
    WavLevelCache& c = wavDeck.levelCache;
    if (!c.valid || c.position != wavDeck.wavPosition || c.volume != wavDeck.wavVolume ||
        c.bias != wavDeck.wavBias || c.invert != wavDeck.wavInvert || c.frames != wavDeck.wavFrames)
        c = {wavDeck.wavPosition,
             wavDeck.wavVolume,
             wavDeck.wavBias,
             wavDeck.wavInvert,
             wavDeck.wavFrames,
             WavSampleLevel(wavDeck.wavPosition),
             true};
    return c.level;
}

void StartWavPlayback() {
    if (wavPlaying || recording || !wavLoaded) return;
    if (wavDeck.wavPosition >= wavDeck.wavFrames) wavDeck.wavPosition = 0;
    machine.tapeClock = 0;
    wavDeck.remainderCarry = 0;
    wavPlaying = true;
}

void StopWavPlayback() {
    wavPlaying = false;
}

void ToggleWavPlayback() {
    if (wavDeck.recordPrepared) {
        FinishRecording();
        return;
    }
    if (wavPlaying)
        StopWavPlayback();
    else
        StartWavPlayback();
}

void PrepareRecording(const std::string& path) {
    if (wavDeck.recordPrepared) FinishRecording();
    ClearWav();
    wavDeck.wavFormat = WavFormat{1, 1, kRecordRate, kRecordRate, 1, 8};
    SetTiming(wavDeck.wavFormat);
    wavDeck.wavSamples.reserve(size_t(kRecordRate) * 60);
    wavDeck.wavSamples.assign(1, kSilence); // sample 0 is silence; the first recorded one is 1
    wavDeck.recordPath = path;
    wavDeck.recordPrepared = recordArmed = true;
    wavDeck.wavDisplayName = "Recording";
    wavDeck.lastMic = 0;
    wavDeck.lastSample = kSilence;
    wavDeck.sameCount = 0;
    RemoveSaveTrap();
}

void StartRecording() {
    if (!recordArmed || recording) return;
    machine.tapeClock = 0;
    wavDeck.remainderCarry = 0;
    wavDeck.wavFrames = 0;
    recording = true;
}

bool WriteWavFile(const std::string& path) {
    const size_t size = std::min<size_t>(size_t(wavDeck.wavFrames + 1) * wavDeck.wavFormat.blockAlign,
                                         wavDeck.wavSamples.size());
    FileWriter out(path);
    if (out.Open() && out.Write(EncodeWavHeader(wavDeck.wavFormat, uint32_t(size))) &&
        out.Write(std::span(wavDeck.wavSamples.data(), size)) && out.Commit())
        return true;
    return !ReportWriteFailure(out.Error());
}

bool FinishRecording() {
    if (!wavDeck.recordPrepared) return false;
    recording = wavDeck.recordPrepared = recordArmed = false;
    InstallSaveTrap();
    // Every recorded sample belongs to the file, the last one included.
    wavDeck.wavSamples.resize(size_t(wavDeck.wavFrames) + 1, kSilence);
    wavDeck.wavFrames = wavDeck.wavSamples.size();
    wavDeck.levelCache.valid = false;
    wavLoaded = true;
    wavDeck.wavPosition = 0;
    std::string path = wavDeck.recordPath;
    wavDeck.recordPath.clear();
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
    wavDeck.wavDisplayName = FileNameOf(path);
    return WriteWavFile(path);
}

void WavSampleTick(uint32_t) {
    for (;;) {
        AdvanceOneSample();
        // The period's fraction: one more T-state each time the remainders add up to a
        // whole one.
        wavDeck.remainderCarry += wavDeck.period.remainder;
        if (wavDeck.remainderCarry >= wavDeck.period.rate && machine.tapeClock > wavDeck.tstatesPerSample) {
            wavDeck.remainderCarry -= wavDeck.period.rate;
            --machine.tapeClock;
        }
        // At high rates one instruction can span several samples; the step takes the
        // last period off itself.
        if (!(wavPlaying || recording) || machine.tapeClock <= 2 * wavDeck.tstatesPerSample) return;
        machine.tapeClock -= wavDeck.tstatesPerSample;
    }
}

void WavDeckState::Reset() {
    if (recordPrepared) InstallSaveTrap();
    *this = WavDeckState{};
    wavPlaying = recording = recordArmed = wavLoaded = false;
}

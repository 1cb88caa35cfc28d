// WAV tapes: a sampled cassette recording played into the EAR line, and the ROM's SAVE
// recorded from the MIC bit into a new WAV. Independent of the block tapes of the deck:
// a WAV and a TAP or TZX tape can be present at the same time.
//
//   LoadWavFromBuffer("maze");     // validated; playback starts when the ROM reads tape
//   PrepareRecording("");          // the next SAVE is recorded; "" asks for a name later
//   FinishRecording();             // writes the file, the recording becomes the loaded WAV
//
// The sample clock is the machine's own (50 frames of 64584 T-states a second) with a
// remainder carried from sample to sample, so a long tape does not drift.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/load_result.h"
#include "machine/hook_switches.h"
#include "tape/wav_file.h"

inline bool& wavLoaded = rareHookSwitches.wavLoaded;
inline bool& recordArmed = rareHookSwitches.recordArmed;
inline bool& wavPlaying = rareHookSwitches.wavPlaying;
inline bool& recording = rareHookSwitches.recording;

// Sample periods for `rate` on the machine's clock: whole T-states and the remainder.
struct SamplePeriod {
    uint32_t whole, remainder, rate;
};

// The level of the sample at `position` as last worked out; emptied whenever the samples
// or the way they are played change.
struct WavLevelCache {
    uint32_t position = 0;
    int volume = 0, bias = 0;
    bool invert = false;
    uint64_t frames = 0;
    uint8_t level = 0;
    bool valid = false;
};

struct WavDeckState {
    WavFormat wavFormat;
    std::vector<uint8_t> wavSamples; // raw sample frames as in the file
    uint32_t wavPosition = 0;        // current sample frame
    uint64_t wavFrames = 0;          // sample frames in wavSamples
    int wavVolume = 0;               // 0 = unchanged; +10 doubles, -10 halves
    int wavBias = 0;                 // added to every level, -127..127
    bool wavWide = false;            // more than 8 bits per sample
    bool wavInvert = false;          // "Invert signal": play the other way up from the usual
    uint32_t tstatesPerSample = 0;   // whole T-states of one sample period
    bool recordPrepared = false;
    std::string wavDisplayName; // the browser's title: the file's name, or "Recording"
    SamplePeriod period{};
    WavLevelCache levelCache;
    uint32_t remainderCarry = 0; // the period's fractions carried from sample to sample
    std::string recordPath;      // the file a prepared recording goes to ("" = ask)
    uint8_t lastMic = 0, lastSample = 128;
    int sameCount = 0; // samples the MIC level has stayed the same

    // Nothing loaded, nothing recorded, the save trap in place.
    void Reset();
};
extern WavDeckState wavDeck;

// File kind 3 of Load File. A file that cannot be played reports code 26, changes
// nothing and fails. The polarity is chosen so that the first header reads
// (wav_header_scan.h); with autoload on, types the command that loads that file.
LoadResult LoadWavFromBuffer(const std::string& bareName);

// The level of sample frame n for the EAR line and the waveform: 1..255, 128 beyond the end.
uint8_t WavSampleLevel(uint64_t n);
// Sample frame n as an unsigned byte, before volume, bias and polarity; 128 beyond the end.
uint8_t WavRawLevel(uint64_t n);
uint8_t WavCurrentSample(); // WavSampleLevel(wavPosition)

void StartWavPlayback(); // from the start again when the position is at the end
void StopWavPlayback();
// The browser's play button: ends a recording (saving it), else starts or stops playback.
void ToggleWavPlayback();

// Arms a recording of the ROM's next SAVE: the TAP save trap comes out so the ROM's own
// routine drives MIC. `path` is the file to write ("" asks when the recording ends).
void PrepareRecording(const std::string& path);
void StartRecording(); // the ROM reached its SAVE routine
// Ends a prepared recording: the save trap goes back, the file is written (asking for a
// name when none was given) and the recording stays loaded for playback. False when
// nothing was written (no recording, cancelled, or the file could not be written).
bool FinishRecording();
// The samples of the recording or loaded WAV as a canonical 8/16-bit PCM file.
bool WriteWavFile(const std::string& path);

// From the instruction step each time tapeClock has passed tstatesPerSample; the step
// then takes one period off tapeClock.
void WavSampleTick(uint32_t tstates);

SamplePeriod SamplePeriodFor(uint32_t rate);

// Sound output: samples the speaker line and the AY chip at a fixed number of T-states
// per sample, mixes them, and streams one chunk (a frame's worth) at a time to the
// installed audio device (audio_device.h), whose playback then paces the emulation.
//
// Usage: the front end installs a device with SetAudioDevice() and calls InitSound() at
// start-up (a failure there is followed by ReportMessage(0, 60)), ShutdownSound() on
// exit, and ShutdownSound() + InitSound() to apply changed sound settings. The shell
// calls PauseSound(true/false) around pause, Fast mode, menus and message boxes, and
// StopSound() when the window loses the focus. The instruction step calls
// AdvanceSoundClocks after every instruction while SoundOutputOn() and not FastMode;
// the frame driver skips its own pacing while SoundOutputOn().
#pragma once

#include <cstdint>

#include "machine/hook_switches.h"
#include "machine/machine_state.h"
#include "sound/ay.h"

// True while the stream exists and plays: the instruction step then advances the
// sound clocks and the audio device, not the frame driver, paces the emulation.
inline bool& soundOutputActive = rareHookSwitches.soundOutputActive;
inline bool SoundOutputOn() {
    return soundOutputActive;
}

constexpr uint32_t kAyTickTstates = 16; // the AY is clocked once per 16 T-states
constexpr int kEchoRingLength = 6144;   // samples per side

// The stream's parameters, derived from the settings when the stream is set up.
struct StreamParameters {
    uint32_t sampleRate = 44100;
    uint8_t bits = 16;
    uint8_t channels = 2;
    uint32_t bufferChunks = 8;
    uint32_t tstatesPerSample = 73;
    uint32_t samplesPerChunk = 884;
    uint32_t chunkBytes = 3536;
    uint32_t streamBytes = 8 * 3536;
};

// TstatesPerSample = trunc(50 x speed% x frame / rate), SamplesPerChunk =
// trunc(frame x speed% / TstatesPerSample), both worked in single precision; ChunkBytes
// and StreamBytes follow from width, channels and buffer. At 100%: 73/884 at 44100 Hz,
// 146/442 at 22050 Hz, 292/221 at 11025 Hz. The emulation speed acts only here: a
// slower speed takes samples more often, so the device's clock plays a frame longer.
StreamParameters ComputeStreamParameters(uint32_t sampleRate, uint8_t bits, uint8_t channels,
                                         float speedPercent, uint32_t bufferChunks,
                                         uint32_t frameTstates = kFrameTstates);

// The running stream: its latched format and mix, the sample and AY clocks, the chunk
// being assembled and the echo rings.
struct SoundStream {
    StreamParameters params;
    uint8_t outputMode = 1;    // SoundOutputMode
    uint8_t enhancement = 0;   // SoundEnhancement
    uint16_t volumeFactor = 1; // volume / 40: 0, 1 or 2

    uint32_t sampleClock = 0; // T-states since the last sample
    uint32_t ayClock = 0;     // T-states since the last AY tick (see SyncAy)

    uint8_t* chunk = nullptr; // assembly area of params.chunkBytes bytes
    uint32_t fill = 0;        // bytes assembled

    uint16_t echoLeft[kEchoRingLength] = {};
    uint16_t echoRight[kEchoRingLength] = {};
    int echoWrite = 0;
    int echoRead = 0;

    bool connected = false; // the device's audio system is reached
    bool open = false;      // the stream exists
};

extern SoundStream soundStream;

// Returns 0 on success, 1 after reporting a failure (codes 61, 64, 65).
int InitSound();
void ShutdownSound();
void ClearStream();
void StopSound();
void PauseSound(bool stop);
// Restarts the sample clock (leaving Fast mode).
inline void RestartSampleClock() {
    soundStream.sampleClock = 0;
}

// One sample of the speaker and the AY into the chunk; flushes a full chunk.
void TakeSample();
// Hands the full chunk to the device, which waits until it has played far enough.
void FlushChunk();

// Runs the AY ticks that the T-states counted so far owe (one per 16 past the last).
// The chip is clocked lazily: each instruction only adds its T-states to `ayClock`,
// and the owed ticks run in one go before anything depends on the chip's state: a
// sample, a register write, a stream reset. The chip therefore goes through exactly
// the ticks it would have had after every instruction, for a fraction of the cost.
void SyncAy();

// Called after every instruction (sound on, Fast off) with the instruction's T-states:
// at most one sample (which sees the AY as it was before this instruction's ticks),
// then this instruction's AY ticks, owed until the next sync.
inline void AdvanceSoundClocks(uint32_t tstates) {
    SoundStream& s = soundStream;
    s.sampleClock += tstates;
    if (s.sampleClock > s.params.tstatesPerSample) TakeSample();
    s.ayClock += tstates;
}

// The whole sound subsystem back to its start: stream shut down, no device installed,
// the chip reset with its tone counters cleared, the settings at their defaults.
void ResetSound();

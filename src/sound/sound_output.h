// Sound output: takes the speaker line and the AY chip over sample periods of a fixed
// number of T-states (the line's time high, the chip's levels averaged over its ticks),
// mixes them (sound_mixer.h), and streams one chunk (a frame's worth) at a time to the
// installed audio device (audio_device.h), whose playback then paces the emulation.
//
// Usage: the front end installs a device with SetAudioDevice() and calls InitSound() at
// start-up (a failure there is reported as ReportMessage(0, kMsgSoundInit)), ShutdownSound() on
// exit, and ShutdownSound() + InitSound() to apply changed sound settings. The shell
// calls PauseSound(true/false) around pause, Fast mode, menus and message boxes, and
// StopSound() when the window loses the focus. The sound costs the instruction step
// nothing: whatever changes the speaker line (SetSpeakerLine) or writes to the AY
// first has the sound worked out up to that moment (CatchUpSound), and the frame
// driver does the rest of the frame at its end (EndSoundFrame), skipping its own
// pacing while SoundOutputOn().
#pragma once

#include <cstdint>

#include "machine/machine_state.h"
#include "sound/ay.h"
#include "sound/sound_mixer.h"

// True while the stream exists and plays: the sound clocks then run with the machine's
// and the audio device, not the frame driver, paces the emulation.
inline bool soundOutputActive = false;
inline bool SoundOutputOn() {
    return soundOutputActive;
}

constexpr uint32_t kAyTickTstates = 16; // the AY is clocked once per 16 T-states

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

// The running stream: its latched format and mix, the sample and AY clocks, and the
// chunk being assembled.
struct SoundStream {
    StreamParameters params;
    float periodsPerTstate = 1; // 1 / params.tstatesPerSample

    uint32_t sampleClock = 0; // T-states since the last sample
    uint32_t speakerHigh = 0; // of those, the T-states the speaker line was high
    uint32_t ayClock = 0;     // T-states since the last AY tick (see SyncAy)
    uint32_t caughtUpTo = 0;  // the machine's T-state (in its frame) worked out to

    uint8_t* chunk = nullptr; // assembly area of params.chunkBytes bytes
    uint32_t fill = 0;        // bytes assembled (or taken and still to be mixed)

    // The samples of the chunk are taken as they fall due but worked out in batches:
    // for each, the T-states the speaker was high and the AY ticks of its period are
    // noted; the AY's levels follow when the chip must catch up (a register write, a
    // full chunk), and the mix when the chunk is full.
    uint32_t taken = 0;              // samples of the chunk taken
    uint32_t ayDone = 0;             // of those, the ones with their AY levels
    uint32_t mixed = 0;              // and the ones mixed into the chunk's bytes
    uint16_t* periodHigh = nullptr;  // per sample: speaker T-states high,
    uint16_t* periodTicks = nullptr; // AY ticks,
    float* periodAy = nullptr;       // and the three AY levels averaged

    bool connected = false; // the device's audio system is reached
    bool open = false;      // the stream exists

    // Last, so that its echo rings do not come between the fields every instruction uses.
    SoundMixer mix; // output mode, enhancement, volume and their filters
};

extern SoundStream soundStream;

// Returns 0 on success, 1 after a failure (codes 61, 64, 65), which it reports unless
// `reportFailure` is false: start-up reports one message of its own instead, once the
// main window shows.
int InitSound(bool reportFailure = true);
// A stream that stops by itself (its device unplugged, or restarting it fails) is shut
// down and reported once, with code 65; the emulator then runs on silently.

void ShutdownSound();
void ClearStream();
void StopSound();
void PauseSound(bool stop);
// Restarts the sample clock (leaving Fast mode) from the machine's present T-state.
inline void RestartSampleClock() {
    soundStream.sampleClock = 0;
    soundStream.caughtUpTo = machine.tstates;
}

// Ends a sample period: notes the T-states the speaker line was high in it
// (`speakerHigh`, which starts again at 0) and the AY ticks it owes. The sample itself
// is worked out with the others of the chunk (MixPendingSamples), at the latest when
// the chunk is full and flushed.
void TakeSample();
// Ends the sample period inside an instruction of `tstates` T-states, `high` of them
// with the speaker line high: the part before the period's end joins this sample, the
// rest starts the next one.
void EndSamplePeriod(uint32_t tstates, uint32_t high);
// Hands the full chunk to the device, which waits until it has played far enough.
void FlushChunk();
// Works out the samples taken so far into the chunk's bytes (which FlushChunk does).
void MixPendingSamples();

// Runs the AY ticks that the T-states counted so far owe (one per 16 past the last):
// first those of the samples taken, then those since the last sample.
// The chip is clocked lazily: the sound clocks only add T-states to `ayClock`, and the
// owed ticks run in one go before anything depends on the chip's state: a register
// write, a full chunk, a stream reset. The chip therefore goes through exactly the
// ticks of the time that passed, for a fraction of the cost.
void SyncAy();

// One instruction's worth of the sound clocks, as the step once fed them (the machine
// now goes by CatchUpSound): counts the time the speaker line (which a playing tape drives too) spent high,
// takes at most one sample (which sees the AY as it was before this instruction's ticks), then owes this
// instruction's AY ticks until the next sync. The line's level after the instruction counts for all of its
// T-states: off by a few T-states at an edge, the same for every edge, so tones keep their pitch and duty
// cycle.
inline void AdvanceSoundClocks(uint32_t tstates) {
    SoundStream& s = soundStream;
    const uint32_t high = machine.earLevel ? tstates : 0;
    s.sampleClock += tstates;
    if (s.sampleClock > s.params.tstatesPerSample)
        EndSamplePeriod(tstates, high);
    else
        s.speakerHigh += high;
    s.ayClock += tstates;
}

// Works the sound out from where it was last caught up to the machine's T-state `now`
// (counted within the frame, as MachineState::tstates), with the speaker line at its
// present level all that time: the samples that fall due are taken, and the T-states
// are owed to the AY. Does nothing but move the mark while the stream does not play or
// Fast mode is on, and after the machine's clock went back (a reset, a new frame).
void CatchUpSound(uint32_t now);
// The frame ends at `now`: the sound is caught up, and its mark moves back with the
// machine's clock by the frame's `frameTstates`.
void EndSoundFrame(uint32_t now, uint32_t frameTstates);
// Goes on from `now` without sound for the time since the last catch-up (the fast
// tape loader's instructions).
inline void SkipSoundTo(uint32_t now) {
    soundStream.caughtUpTo = now;
}
// `tstates` T-states with the speaker line high (or low) throughout: every sample
// period that ends in them is taken, with the line's time high and the AY ticks up
// to its exact end.
void AdvanceSoundSpan(uint32_t tstates, bool high);

// The speaker line goes to `level` at the machine's T-state `at`: an instruction that
// reads or writes the port counts as changing it at its start, a tape sample that
// drives it at the end of the instruction that played it. The time before is worked
// out at the old level first, so an edge costs one catch-up and a steady line nothing.
inline void SetSpeakerLine(uint16_t level, uint32_t at) {
    if (level == machine.earLevel) return;
    CatchUpSound(at);
    machine.earLevel = level;
}

// The whole sound subsystem back to its start: stream shut down, no device installed,
// the chip reset with its tone counters cleared, the settings at their defaults.
void ResetSound();

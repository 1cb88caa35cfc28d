// The AY-3-8910 sound chip of the add-on sound interfaces ("Boldfield", "Ace User",
// "Fuller Box"), clocked from emulated time.
//
// Usage: the port decoder (machine/ports.cpp) calls SelectRegister, WriteRegister and
// ReadRegister for the fitted interface's ports. The sound clock (sound_output.h) runs
// the chip once per 16 T-states, in arrears (see SyncAy): AyRunPeriods for the sample
// periods taken, each getting its channels' levels averaged over its ticks, and AyRun
// for the ticks since. InitSound calls ResetAy; a machine reset leaves
// the chip alone, so its registers survive resets and tape or snapshot loads. The
// debugger reads `ay.regs` with the labels of kAyRegisterLabels.
#pragma once

#include <cstdint>

// Envelope generator states.
enum AyEnvelopeState : uint8_t {
    kEnvFalling = 0,
    kEnvRising = 1,
    kEnvHoldLow = 2,  // held at 0
    kEnvHoldHigh = 3, // held at 15
};

// Registers by number.
enum AyRegister : uint8_t {
    kAyToneFineA = 0,
    kAyToneCoarseA = 1,
    kAyNoisePeriod = 6,
    kAyMixer = 7,   // bits 0-2 tone off for A, B, C; bits 3-5 noise off for A, B, C
    kAyVolumeA = 8, // bits 0-3 amplitude, bit 4 follow the envelope
    kAyEnvFine = 11,
    kAyEnvCoarse = 12,
    kAyEnvShape = 13,
    kAyPortA = 14,
    kAyPortB = 15,
};

struct AyState {
    uint8_t regs[16] = {};
    uint8_t selected = 0; // last register-select value; its low 4 bits choose the register
    uint16_t toneCount[3] = {};
    uint8_t toneOut[3] = {}; // tone flip-flops
    uint8_t noiseCount = 0;
    uint8_t noisePeriod = 0; // period in force, 1 to 31 once the generator has stepped
    uint8_t noiseOut = 0;
    uint32_t noiseLow = 0, noiseHigh = 1; // the noise shift register
    uint16_t envCount = 0;
    uint8_t envHalf = 0; // the envelope steps on every second tick
    uint8_t envVolume = 0;
    uint8_t envState = kEnvFalling;
    uint16_t level[3] = {}; // channel output levels A, B, C, 0 to 3999

    // Each channel's level summed over the ticks since the last sample, and the
    // number of those ticks: the sample plays their average. (A sample's sums hold a
    // few ticks' worth: 32 bits are plenty.)
    uint32_t levelSum[3] = {};
    uint32_t levelTicks = 0;
};

extern AyState ay;

extern const uint8_t kAyRegisterMasks[16];      // applied to every data write
extern const char* const kAyRegisterLabels[16]; // " 0  Channel A fine pitch:" ...
extern uint16_t ayVolumeTable[16];              // amplitude -> level, built by BuildAyVolumeTable

void BuildAyVolumeTable();
// Registers to their power-on values (R7, R14, R15 = 0xFF, the rest 0) and the
// generators to rest; the tone counters keep their values. Builds the volume table too.
void ResetAy();

void SelectRegister(uint8_t v); // register-select port
void WriteRegister(uint8_t v);  // data port, write (masked; R13 restarts the envelope)
uint8_t ReadRegister();         // data port, read

// One chip clock (16 T-states): envelope, noise, tones; then the channel levels of the
// new state are set and added to the sums. Does nothing while AY sound is off.
void AyTick();
// Exactly `ticks` AyTick calls, but skipping in one step over the stretches in which no
// generator changes its output, so an idle or slow chip costs next to nothing.
void AyRun(uint32_t ticks);
// Runs the chip through `count` sample periods of `ticks[i]` ticks each and stores
// each period's average levels at levels[3 i .. 3 i + 2]: the same as AyRun then
// TakeAverageLevels for each, but run from one generator step to the next, so that
// its cost follows the steps and the periods, not the ticks.
void AyRunPeriods(const uint16_t* ticks, uint32_t count, float* levels);
// Sets `ay.level` from the generators, the mixer and the volume registers.
void ComputeLevels();
// Each channel's level averaged over the ticks summed since the last call, which
// starts the next sums; with no tick summed (AY sound off, or no time passed), the
// levels of the present state.
void TakeAverageLevels(float levels[3]);

inline uint16_t AyTonePeriod(int channel) {
    return uint16_t(ay.regs[2 * channel] | (ay.regs[2 * channel + 1] << 8));
}
inline uint16_t AyEnvelopePeriod() {
    return uint16_t(ay.regs[kAyEnvFine] | (ay.regs[kAyEnvCoarse] << 8));
}

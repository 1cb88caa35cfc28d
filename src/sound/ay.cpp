#include "sound/ay.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "sound/sound_output.h"
#include "sound/sound_settings.h"

AyState ay;

// Unused register bits do not exist on the chip: they read back as 0.
const uint8_t kAyRegisterMasks[16] = {
    0xFF, 0x0F, 0xFF, 0x0F, 0xFF, 0x0F, // tone periods: 8 fine + 4 coarse bits
    0x1F,                               // noise period
    0xFF,                               // mixer
    0x1F, 0x1F, 0x1F,                   // volumes: amplitude + envelope bit
    0xFF, 0xFF,                         // envelope period
    0x0F,                               // envelope shape
    0x00, 0x00,                         // I/O ports: not connected, not writable
};

const char* const kAyRegisterLabels[16] = {
    " 0  Channel A fine pitch:",
    " 1  Channel A coarse pitch:",
    " 2  Channel B fine pitch:",
    " 3  Channel B coarse pitch:",
    " 4  Channel C fine pitch:",
    " 5  Channel C coarse pitch:",
    " 6  Noise pitch:",
    " 7  Mixer:",
    " 8  Channel A volume:",
    " 9  Channel B volume:",
    "10  Channel C volume:",
    "11  Envelope fine duration:",
    "12  Envelope coarse duration:",
    "13  Envelope shape:",
    "14  I/O port A:",
    "15  I/O port B:",
};

uint16_t ayVolumeTable[16];

namespace {

// The chip's logarithmic DAC steps on a 0..4095 scale.
const uint16_t kVolumeBase[16] = {0,   54,   79,   111,  167,  255,  351,  559,
                                  671, 1071, 1471, 1839, 2327, 2879, 3455, 4095};

bool UsesEnvelope() {
    return ((ay.regs[kAyVolumeA] | ay.regs[kAyVolumeA + 1] | ay.regs[kAyVolumeA + 2]) & 0x10) != 0;
}

void RestartEnvelope(uint8_t shape) {
    ay.envCount = 0;
    if ((shape >= 4 && shape <= 7) || shape >= 12) {
        ay.envState = kEnvRising;
        ay.envVolume = 0;
    } else {
        ay.envState = kEnvFalling;
        ay.envVolume = 15;
    }
}

// One step of a ramp: at `end` the ramp is over and the generator goes to state `then`
// with volume `restart`; otherwise the volume moves one step towards `end`.
void Ramp(uint8_t end, uint8_t then, uint8_t restart) {
    if (ay.envVolume == end) {
        ay.envState = then;
        ay.envVolume = restart;
    } else {
        ay.envVolume = uint8_t(end ? ay.envVolume + 1 : ay.envVolume - 1);
    }
}

// One envelope step of shape `shape`. The single-ramp shapes end held at 0 (0-7, 9, 15)
// or at 15 (11, 13); the saws (8, 12) jump to the far end in one step; the triangles
// (10, 14) dwell for one extra step at each end. Shapes 9 and 15 step as 0-3 and 4-7.
void StepEnvelope(uint8_t shape) {
    const uint8_t rule = shape <= 3 || shape == 9 ? 0 : (shape <= 7 || shape == 15) ? 4 : shape;
    const uint8_t s = ay.envState;
    switch (rule) {
    // fall once, hold at 0
    case 0:
        if (s != kEnvHoldLow) Ramp(0, kEnvHoldLow, 0);
        break;
    // rise once, drop to 0 and hold
    case 4:
        if (s != kEnvHoldLow) Ramp(15, kEnvHoldLow, 0);
        break;
    // falling saw
    case 8: Ramp(0, kEnvFalling, 15); break;
    // triangle, starting downwards
    case 10:
        if (s == kEnvFalling)
            Ramp(0, kEnvRising, 0);
        else
            Ramp(15, kEnvFalling, 15);
        break;
    // fall once, hold at 15
    case 11:
        if (s != kEnvHoldHigh) Ramp(0, kEnvHoldHigh, 15);
        break;
    // rising saw
    case 12: Ramp(15, kEnvRising, 0); break;
    // rise once, hold at 15
    case 13:
        if (s != kEnvHoldHigh) Ramp(15, kEnvHoldHigh, 15);
        break;
    // triangle, starting upwards
    case 14:
        if (s == kEnvRising)
            Ramp(15, kEnvFalling, 15);
        else
            Ramp(0, kEnvRising, 0);
        break;
    }
}

void StepNoise() {
    ay.noiseCount = 0;
    uint8_t period = ay.regs[kAyNoisePeriod] & 0x1F;
    ay.noisePeriod = period ? period : 1;
    uint32_t newBit = (ay.noiseHigh ^ (ay.noiseLow >> 15) ^ (ay.noiseLow >> 13)) & 1;
    ay.noiseOut = uint8_t(ay.noiseLow & 1);
    ay.noiseLow = (ay.noiseLow >> 1) | (newBit << 31);
    ay.noiseHigh >>= 1;
}

// AyRun's plan: the ticks until the next generator step, the step included, with
// `ay.level` holding the levels of the present state; 0 when a register write, a reset
// or a single tick has made it unknown.
uint32_t untilChange = 0;

bool NoiseRuns() {
    return (ay.regs[kAyMixer] & 0x38) != 0x38; // noise on for at least one channel
}

// One tick of the generators: envelope, noise, tones.
void TickGenerators() {
    ay.envHalf ^= 1;
    if (ay.envHalf) {
        ++ay.envCount;
        if (UsesEnvelope() && ay.envCount >= AyEnvelopePeriod()) {
            ay.envCount = 0;
            StepEnvelope(ay.regs[kAyEnvShape]);
        }
    }

    if (NoiseRuns()) {
        ++ay.noiseCount;
        if (ay.noiseCount >= ay.noisePeriod) StepNoise();
    }

    // Periods below 5 are above the range a speaker can reproduce: such a channel
    // holds its level instead of squealing. Written without branches: whether a
    // flip-flop turns on this tick is as good as random to the host's predictor.
    for (int c = 0; c < 3; ++c) {
        const uint16_t count = uint16_t(ay.toneCount[c] + 1);
        const uint16_t period = AyTonePeriod(c);
        const bool flip = period >= 5 && count >= period;
        ay.toneCount[c] = flip ? 0 : count;
        ay.toneOut[c] ^= uint8_t(flip);
    }
}

void AddLevels(uint32_t ticks) {
    for (int c = 0; c < 3; ++c)
        ay.levelSum[c] += uint32_t(ay.level[c]) * ticks;
    ay.levelTicks += ticks;
}

// A counter that will read `next` after the coming increment and acts once it reaches
// `period`: the increments until it does, the coming one included. The counters wrap,
// so `next` may be 0 after a long count with the generator switched off.
uint32_t IncrementsUntil(uint32_t next, uint32_t period) {
    return next >= period ? 1 : period - next + 1;
}

// The tick, counted from 1, on which a generator next steps (UINT32_MAX: never): a
// tone flip-flop turns (0-2), the noise register shifts (3) or the envelope moves (4).
uint32_t TicksUntilStep(int generator, bool noiseOn, bool envelopeOn) {
    if (generator < 3) {
        const uint16_t period = AyTonePeriod(generator);
        return period >= 5 ? IncrementsUntil(uint16_t(ay.toneCount[generator] + 1), period) : UINT32_MAX;
    }
    if (generator == 3)
        return noiseOn ? IncrementsUntil(uint8_t(ay.noiseCount + 1), ay.noisePeriod) : UINT32_MAX;
    if (!envelopeOn) return UINT32_MAX;
    // The envelope counts on every second tick: the next one if envHalf is 0 now.
    const uint32_t steps = IncrementsUntil(uint16_t(ay.envCount + 1), AyEnvelopePeriod());
    return ay.envHalf ? 2 * steps : 2 * steps - 1;
}

// The plan's view of each generator: the ticks until it steps, counted from the state
// of the counters (they may lag the plan's `untilChange` by ticks not yet skipped). A
// value that runs early only costs a look at the generator; none runs late.
uint32_t stepDue[5];

void PlanAllGenerators(bool noiseOn, bool envelopeOn) {
    untilChange = UINT32_MAX;
    for (int g = 0; g < 5; ++g) {
        stepDue[g] = TicksUntilStep(g, noiseOn, envelopeOn);
        untilChange = std::min(untilChange, stepDue[g]);
    }
}

// After `ticks` ticks: the generators that have stepped (or whose value ran out) are
// planned again, the others come that much nearer. Returns the nearest.
uint32_t PlanAfter(uint32_t ticks, bool noiseOn, bool envelopeOn) {
    uint32_t next = UINT32_MAX;
    for (int g = 0; g < 5; ++g) {
        stepDue[g] = stepDue[g] > ticks ? stepDue[g] - ticks : TicksUntilStep(g, noiseOn, envelopeOn);
        next = std::min(next, stepDue[g]);
    }
    return next;
}

// Advances the counters over `ticks` ticks in which no generator steps.
void SkipQuietTicks(uint32_t ticks, bool noiseOn) {
    if (ticks == 0) return;
    for (uint32_t& due : stepDue)
        due -= due == UINT32_MAX ? 0 : ticks;
    const uint32_t envelopeCounts = ay.envHalf ? ticks / 2 : (ticks + 1) / 2;
    ay.envCount = uint16_t(ay.envCount + envelopeCounts);
    ay.envHalf ^= uint8_t(ticks & 1);
    if (noiseOn) ay.noiseCount = uint8_t(ay.noiseCount + ticks);
    for (int c = 0; c < 3; ++c)
        ay.toneCount[c] = uint16_t(ay.toneCount[c] + ticks);
}

// Advances the counters by `ticks` ticks, the last of them the one on which the
// generators due then step: the same as `ticks - 1` quiet ticks and one full tick.
// A generator that is not due cannot reach its period within these ticks.
void AdvanceThroughChange(uint32_t ticks, bool noiseOn, bool envelopeOn) {
    const uint32_t envelopeCounts = ay.envHalf ? ticks / 2 : (ticks + 1) / 2;
    ay.envHalf ^= uint8_t(ticks & 1);
    ay.envCount = uint16_t(ay.envCount + envelopeCounts);
    // The envelope moves only on a tick on which it counts.
    if (envelopeOn && ay.envHalf && ay.envCount >= AyEnvelopePeriod()) {
        ay.envCount = 0;
        StepEnvelope(ay.regs[kAyEnvShape]);
    }
    if (noiseOn) {
        ay.noiseCount = uint8_t(ay.noiseCount + ticks);
        if (ay.noiseCount >= ay.noisePeriod) StepNoise();
    }
    for (int c = 0; c < 3; ++c) {
        const uint16_t count = uint16_t(ay.toneCount[c] + ticks);
        const uint16_t period = AyTonePeriod(c);
        const bool flip = period >= 5 && count >= period;
        ay.toneCount[c] = flip ? 0 : count;
        ay.toneOut[c] ^= uint8_t(flip);
    }
}

// The ticks of AyRun once the plan is known.
void RunPlannedTicks(uint32_t ticks, bool noiseOn, bool envelopeOn) {
    while (ticks >= untilChange) {
        AddLevels(untilChange - 1);
        AdvanceThroughChange(untilChange, noiseOn, envelopeOn);
        ComputeLevels();
        AddLevels(1);
        ticks -= untilChange;
        untilChange = PlanAfter(untilChange, noiseOn, envelopeOn);
    }
    SkipQuietTicks(ticks, noiseOn);
    AddLevels(ticks);
    untilChange -= ticks;
}

void PlanIfUnknown(bool noiseOn, bool envelopeOn) {
    if (untilChange != 0) return;
    ComputeLevels(); // the registers may have changed since the last tick
    PlanAllGenerators(noiseOn, envelopeOn);
}

// 1 / n for the few ticks a sample period has: the same values the division gives,
// without its wait on every period.
const std::array<float, 64> kReciprocals = [] {
    std::array<float, 64> r{};
    for (size_t n = 1; n < r.size(); ++n) // r[0] stays 0: no tick, no average
        r[n] = 1.0f / float(n);
    return r;
}();

// AyRunPeriods' engine: the chip run from event to event. Each generator's next step
// is kept as the number of the tick it falls on, counted from the start of the run,
// so the ticks between steps cost nothing at all; the counters are only worked out
// again at the end (Finish), from the tick each generator last stepped on. Between
// register writes (which end a run) the periods and the mixer stand still, so the
// step times hold. The levels and their sums stay in locals for the whole run.
class AyEventRun {
  public:
    AyEventRun() : noiseOn_(NoiseRuns()), envelopeOn_(UsesEnvelope()) {
        for (int g = 0; g < 5; ++g)
            due_[g] = TicksUntilStep(g, noiseOn_, envelopeOn_);
        for (int c = 0; c < 3; ++c) {
            toneCount_[c] = ay.toneCount[c];
            sum_[c] = ay.levelSum[c];
        }
        summed_ = ay.levelTicks;
        // Between register writes the mixer and the volumes stand still: what they
        // make of each channel is worked out once.
        const unsigned mixer = ay.regs[kAyMixer];
        for (int c = 0; c < 3; ++c) {
            toneOut_[c] = ay.toneOut[c] & 1u;
            toneOff_[c] = (mixer >> c) & 1u;
            noiseOff_[c] = (mixer >> (c + 3)) & 1u;
            const uint8_t volume = ay.regs[kAyVolumeA + c];
            followsEnvelope_[c] = (volume & 0x10) != 0;
            fixedLevel_[c] = ayVolumeTable[volume & 0x0F];
        }
        envelopeLevel_ = ayVolumeTable[ay.envVolume];
        noiseOut_ = ay.noiseOut & 1u;
        noiseLow_ = ay.noiseLow, noiseHigh_ = ay.noiseHigh;
        noiseCount_ = ay.noiseCount;
        envCount_ = ay.envCount;
        envHalf_ = ay.envHalf;
        NextEvent();
        Levels();
    }

    // A sample period of `ticks` ticks: its channels' levels averaged go to `out`,
    // exactly as TakeAverageLevels gives them.
    void Period(uint32_t ticks, float out[3]) {
        const uint32_t end = at_ + ticks;
        // Nothing steps and no sums were begun before: the present levels, exactly.
        const bool steady = next_ > end && summed_ == 0;
        while (next_ <= end) {
            Add(next_ - 1 - at_); // the ticks before the step
            Step(next_);
            Levels();
            Add(1); // and the tick of the step, at its new levels
            at_ = next_;
            NextEvent();
        }
        Add(end - at_);
        at_ = end;
        const float perTick = summed_ < kReciprocals.size() ? kReciprocals[summed_] : 1.0f / float(summed_);
        for (int c = 0; c < 3; ++c) {
            const float average = float(sum_[c]) * perTick;
            out[c] = steady ? float(level_[c]) : average;
            sum_[c] = 0;
        }
        summed_ = 0;
    }

    // The counters as the ticks one by one would have left them, and AyRun's plan to
    // be made afresh.
    void Finish() {
        for (int c = 0; c < 3; ++c) {
            ay.toneCount[c] = uint16_t(toneCount_[c] + (at_ - toneFrom_[c]));
            ay.toneOut[c] = uint8_t(toneOut_[c]);
            ay.level[c] = uint16_t(level_[c]);
            ay.levelSum[c] = sum_[c];
        }
        ay.levelTicks = summed_;
        ay.noiseOut = uint8_t(noiseOut_);
        ay.noiseLow = noiseLow_, ay.noiseHigh = noiseHigh_;
        if (noiseOn_) ay.noiseCount = uint8_t(noiseCount_ + (at_ - noiseFrom_));
        const uint32_t since = at_ - envFrom_;
        ay.envCount = uint16_t(envCount_ + (envHalf_ ? since / 2 : (since + 1) / 2));
        ay.envHalf = uint8_t(envHalf_ ^ (since & 1));
        untilChange = 0;
    }

  private:
    void Add(uint32_t ticks) {
        for (int c = 0; c < 3; ++c)
            sum_[c] += level_[c] * ticks;
        summed_ += ticks;
    }
    // The generators due on tick `t` step; each then counts from 0 again.
    void Step(uint32_t t) {
        if (due_[4] == t) {
            StepEnvelope(ay.regs[kAyEnvShape]);
            envelopeLevel_ = ayVolumeTable[ay.envVolume];
            const uint16_t period = AyEnvelopePeriod();
            due_[4] = t + 2 * (period > 1 ? period : 1u); // it counts on every second tick
            envCount_ = 0, envHalf_ = 1, envFrom_ = t;
        }
        if (due_[3] == t) {
            // StepNoise on the locals.
            const uint8_t period = ay.regs[kAyNoisePeriod] & 0x1F;
            ay.noisePeriod = period ? period : 1;
            const uint32_t newBit = (noiseHigh_ ^ (noiseLow_ >> 15) ^ (noiseLow_ >> 13)) & 1;
            noiseOut_ = noiseLow_ & 1;
            noiseLow_ = (noiseLow_ >> 1) | (newBit << 31);
            noiseHigh_ >>= 1;
            due_[3] = t + ay.noisePeriod;
            noiseCount_ = 0, noiseFrom_ = t;
        }
        for (int c = 0; c < 3; ++c) {
            if (due_[c] != t) continue;
            toneOut_[c] ^= 1;
            due_[c] = t + AyTonePeriod(c);
            toneCount_[c] = 0, toneFrom_[c] = t;
        }
    }
    void NextEvent() { next_ = std::min({due_[0], due_[1], due_[2], due_[3], due_[4]}); }
    // ComputeLevels on the locals.
    void Levels() {
        for (int c = 0; c < 3; ++c) {
            const uint32_t on = 0u - ((toneOut_[c] | toneOff_[c]) & (noiseOut_ | noiseOff_[c]));
            level_[c] = (followsEnvelope_[c] ? envelopeLevel_ : fixedLevel_[c]) & on;
        }
    }

    const bool noiseOn_, envelopeOn_;
    uint32_t due_[5];   // the tick each generator steps on next (UINT32_MAX: never)
    uint32_t next_ = 0; // the nearest of them
    uint32_t at_ = 0;   // the ticks run
    uint32_t level_[3]; // the levels of the present state
    // The generators' outputs (0 or 1), the mixer's switches (1: off) and the volumes.
    uint32_t toneOut_[3], toneOff_[3], noiseOff_[3];
    uint32_t noiseOut_;
    bool followsEnvelope_[3];
    uint32_t fixedLevel_[3], envelopeLevel_;
    uint32_t noiseLow_, noiseHigh_; // the noise shift register
    uint32_t sum_[3];               // the levels summed since the last average,
    uint32_t summed_;               // over this many ticks
    // Each counter's value at the tick it was last set (by a step, or the run's start).
    uint16_t toneCount_[3];
    uint32_t toneFrom_[3] = {};
    uint8_t noiseCount_;
    uint32_t noiseFrom_ = 0;
    uint16_t envCount_;
    uint8_t envHalf_;
    uint32_t envFrom_ = 0;
};

} // namespace

void BuildAyVolumeTable() {
    // Scaled so that the loudest channel (3999) leaves room for the speaker and the
    // other two channels in a 16-bit mix.
    for (int i = 0; i < 16; ++i)
        ayVolumeTable[i] = uint16_t(float(kVolumeBase[i]) * 0.9765625f);
}

void ResetAy() {
    untilChange = 0;
    uint16_t toneCount[3] = {ay.toneCount[0], ay.toneCount[1], ay.toneCount[2]};
    ay = AyState{};
    ay.regs[kAyMixer] = 0xFF;
    ay.regs[kAyPortA] = 0xFF;
    ay.regs[kAyPortB] = 0xFF;
    ay.noiseLow = 0;
    ay.noiseHigh = 1;
    for (int c = 0; c < 3; ++c)
        ay.toneCount[c] = toneCount[c];
    BuildAyVolumeTable();
}

void SelectRegister(uint8_t v) {
    ay.selected = v;
}

void WriteRegister(uint8_t v) {
    SyncAy(); // the generators run up to the write with the old values
    const uint8_t reg = ay.selected & 0x0F;
    if (reg == kAyPortA || reg == kAyPortB) return;
    ay.regs[reg] = v & kAyRegisterMasks[reg];
    untilChange = 0;
    if (reg == kAyEnvShape) RestartEnvelope(ay.regs[reg]);
}

uint8_t ReadRegister() {
    return ay.regs[ay.selected & 0x0F];
}

void AyTick() {
    if (!opt_snd_aysound) return;
    untilChange = 0;
    TickGenerators();
    ComputeLevels();
    AddLevels(1);
}

void AyRun(uint32_t ticks) {
    if (!opt_snd_aysound || ticks == 0) return;
    const bool noiseOn = NoiseRuns();
    const bool envelopeOn = UsesEnvelope();
    PlanIfUnknown(noiseOn, envelopeOn);
    RunPlannedTicks(ticks, noiseOn, envelopeOn);
}

void AyRunPeriods(const uint16_t* ticks, uint32_t count, float* levels) {
    if (!opt_snd_aysound) { // the generators stand still
        for (uint32_t i = 0; i < count; ++i)
            TakeAverageLevels(levels + 3 * i);
        return;
    }
    AyEventRun run;
    for (uint32_t i = 0; i < count; ++i)
        run.Period(ticks[i], levels + 3 * i);
    run.Finish();
}

void ComputeLevels() {
    const unsigned mixer = ay.regs[kAyMixer];
    for (int c = 0; c < 3; ++c) {
        // A channel sounds while both its tone and its noise are high or switched off.
        const unsigned tone = ay.toneOut[c] | (mixer >> c);
        const unsigned noise = ay.noiseOut | (mixer >> (c + 3));
        const uint16_t on = uint16_t(0u - (tone & noise & 1u)); // all ones or zero
        const uint8_t volume = ay.regs[kAyVolumeA + c];
        const uint8_t amplitude = (volume & 0x10) ? ay.envVolume : (volume & 0x0F);
        ay.level[c] = ayVolumeTable[amplitude] & on;
    }
}

void TakeAverageLevels(float levels[3]) {
    if (ay.levelTicks == 0) {
        ComputeLevels();
        for (int c = 0; c < 3; ++c)
            levels[c] = float(ay.level[c]);
        return;
    }
    const float perTick = 1.0f / float(ay.levelTicks);
    for (int c = 0; c < 3; ++c) {
        levels[c] = float(ay.levelSum[c]) * perTick;
        ay.levelSum[c] = 0;
    }
    ay.levelTicks = 0;
}

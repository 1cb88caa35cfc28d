#include "sound/sound_mixer.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "sound/sound_settings.h"

namespace {

constexpr float kSpeakerLevel = 8192.0f; // the speaker line high, on the AY's 0..3999 scale
constexpr float kUnitVolume = 40.0f;     // the volume setting that passes the mix unchanged
// Below anything audible, yet slow enough that the Ace's beeps keep their square shape
// (a 200 Hz tone sags by less than a tenth over its half period).
constexpr float kDcCutoffHz = 5.0f;
// Filter outputs this small are silence: setting them to 0 ends the filter's decay
// instead of letting it crawl through denormal numbers, which are slow on many CPUs.
constexpr float kSilenceFloor = 1e-4f;

inline int NextRingPosition(int position) {
    return position == kEchoRingLength - 1 ? 0 : position + 1;
}

// The DC filters' state, held in locals while a block is mixed: kept in the mixer, each
// sample would wait for the last one's store to come back from memory.
struct DcFilters {
    bool primed;
    float lastIn[2];
    float lastOut[2];
};

// First-order high-pass: the constant part of `in` decays away, changes pass.
inline float RemoveDc(DcFilters& f, float pole, int side, float in) {
    float out = in - f.lastIn[side] + pole * f.lastOut[side];
    out = std::fabs(out) < kSilenceFloor ? 0.0f : out;
    f.lastIn[side] = in;
    f.lastOut[side] = out;
    return out;
}

// The echo repeats the dry signal once, a quarter as loud, under a half-level dry
// signal; the reverb feeds its output back, so each repeat is half the one before.
template <uint8_t Enhancement> inline float Enhance(const SoundMixer& m, float* ring, float dry) {
    if constexpr (Enhancement == kEnhanceEcho) {
        ring[m.echoWrite] = dry;
        return dry * 0.5f + ring[m.echoRead] * 0.25f;
    } else if constexpr (Enhancement == kEnhanceReverb) {
        const float wet = ring[m.echoRead] * 0.5f + dry * 0.5f;
        ring[m.echoWrite] = wet;
        return wet;
    } else {
        return dry;
    }
}

// Held to the 16-bit range and rounded, without branches: the sign of a noisy signal
// is as good as random to the host's branch predictor.
inline int16_t Saturate(float v) {
    v = std::min(std::max(v, -32768.0f), 32767.0f);
    return int16_t(int32_t(v + 32768.5f) - 32768);
}

} // namespace

int EchoDelaySamples(uint32_t sampleRate) {
    // A tenth of a second: a distinct repeat without smearing the Ace's short beeps
    // into each other.
    return std::clamp(int(sampleRate / 10), 1, kEchoRingLength - 1);
}

void ConfigureMixer(SoundMixer& m, uint8_t outputMode, uint8_t enhancement, uint8_t volume,
                    uint32_t sampleRate) {
    m.outputMode = outputMode <= kOutputAcbStereo ? outputMode : uint8_t(kOutputAbcStereo);
    m.enhancement = enhancement <= kEnhanceReverb ? enhancement : uint8_t(kEnhanceNone);
    m.gain = float(std::min<uint8_t>(volume, 100)) / kUnitVolume;
    const float rate = float(std::max<uint32_t>(sampleRate, 1));
    m.dcPole = std::exp(-2.0f * std::numbers::pi_v<float> * kDcCutoffHz / rate);
    std::fill(std::begin(m.echoLeft), std::end(m.echoLeft), 0.0f);
    std::fill(std::begin(m.echoRight), std::end(m.echoRight), 0.0f);
    m.echoWrite = 0;
    m.echoRead = kEchoRingLength - EchoDelaySamples(sampleRate);
    RestartMixerFilters(m);
}

void RestartMixerFilters(SoundMixer& m) {
    m.primed = false;
    m.lastOut[0] = m.lastOut[1] = 0.0f;
}

namespace {

// One sample, for one output mode and enhancement.
template <uint8_t Mode, uint8_t Enhancement>
inline StereoSample MixSample(SoundMixer& m, DcFilters& f, float speakerHigh, const float ay[3]) {
    const float s = speakerHigh * kSpeakerLevel;
    const float a = ay[0], b = ay[1], c = ay[2];
    float in[2];
    if constexpr (Mode == kOutputMono) {
        in[0] = in[1] = 2.0f * (s + a + b + c);
    } else if constexpr (Mode == kOutputAcbStereo) {
        in[0] = 2.0f * (s + a + c);
        in[1] = 2.0f * (s + c + b);
    } else { // ABC: B sits in the middle
        in[0] = 2.0f * (s + a + b);
        in[1] = 2.0f * (s + b + c);
    }
    if (!f.primed) {
        f.lastIn[0] = in[0];
        f.lastIn[1] = in[1];
        f.primed = true;
    }

    StereoSample out;
    out.left = Saturate(Enhance<Enhancement>(m, m.echoLeft, RemoveDc(f, m.dcPole, 0, in[0])) * m.gain);
    if constexpr (Mode == kOutputMono) {
        out.right = out.left;
    } else {
        out.right = Saturate(Enhance<Enhancement>(m, m.echoRight, RemoveDc(f, m.dcPole, 1, in[1])) * m.gain);
    }
    if constexpr (Enhancement != kEnhanceNone) {
        m.echoWrite = NextRingPosition(m.echoWrite);
        m.echoRead = NextRingPosition(m.echoRead);
    }
    return out;
}

// The loop over a block, with the mode and enhancement fixed for the whole of it.
template <uint8_t Mode, uint8_t Enhancement>
void MixBlock(SoundMixer& m, const uint16_t* high, float perTstate, const float* ay, uint32_t count,
              StereoSample* out) {
    DcFilters f{m.primed, {m.lastIn[0], m.lastIn[1]}, {m.lastOut[0], m.lastOut[1]}};
    for (uint32_t i = 0; i < count; ++i)
        out[i] = MixSample<Mode, Enhancement>(m, f, float(high[i]) * perTstate, ay + 3 * i);
    m.primed = f.primed;
    for (int side = 0; side < 2; ++side) {
        m.lastIn[side] = f.lastIn[side];
        m.lastOut[side] = f.lastOut[side];
    }
}

template <uint8_t Mode>
void MixBlockOfMode(SoundMixer& m, const uint16_t* high, float perTstate, const float* ay, uint32_t count,
                    StereoSample* out) {
    switch (m.enhancement) {
    case kEnhanceEcho: MixBlock<Mode, kEnhanceEcho>(m, high, perTstate, ay, count, out); break;
    case kEnhanceReverb: MixBlock<Mode, kEnhanceReverb>(m, high, perTstate, ay, count, out); break;
    default: MixBlock<Mode, kEnhanceNone>(m, high, perTstate, ay, count, out); break;
    }
}

} // namespace

void MixSamples(SoundMixer& m, const uint16_t* high, float perTstate, const float* ay, uint32_t count,
                StereoSample* out) {
    switch (m.outputMode) {
    case kOutputMono: MixBlockOfMode<kOutputMono>(m, high, perTstate, ay, count, out); break;
    case kOutputAcbStereo: MixBlockOfMode<kOutputAcbStereo>(m, high, perTstate, ay, count, out); break;
    default: MixBlockOfMode<kOutputAbcStereo>(m, high, perTstate, ay, count, out); break;
    }
}

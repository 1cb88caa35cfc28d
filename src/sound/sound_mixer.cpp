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

// The samples mixed in one go: the inputs of a block are summed first, then each side
// runs through its DC filter in one tight loop, then the enhancement and the clamp.
constexpr uint32_t kMixBlock = 256;

// First-order high-pass over a block, in place: the constant part of the input decays
// away, changes pass. Each output waits on the last through one multiply and add;
// taking four samples at a time from the output before them (with the pole's powers)
// lets four such waits overlap. The sums round a little differently from one sample at
// a time, by far less than the output's last bit.
void RemoveDc(float* v, uint32_t n, float pole, float& lastIn, float& lastOut) {
    const float p2 = pole * pole, p3 = p2 * pole, p4 = p3 * pole;
    float x = lastIn, y = lastOut;
    uint32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const float d0 = v[i] - x, d1 = v[i + 1] - v[i], d2 = v[i + 2] - v[i + 1], d3 = v[i + 3] - v[i + 2];
        x = v[i + 3];
        const float e1 = d1 + pole * d0, e2 = d2 + pole * e1, e3 = d3 + pole * e2;
        v[i] = d0 + pole * y;
        v[i + 1] = e1 + p2 * y;
        v[i + 2] = e2 + p3 * y;
        y = e3 + p4 * y;
        v[i + 3] = y;
    }
    for (; i < n; ++i) {
        const float in = v[i];
        y = in - x + pole * y;
        x = in;
        v[i] = y;
    }
    lastIn = x;
    // Outputs this small are silence: ending the decay here keeps it from crawling
    // through denormal numbers, which are slow on many CPUs. (Within one block the
    // decay cannot get anywhere near them.)
    lastOut = std::fabs(y) < kSilenceFloor ? 0.0f : y;
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

// Scaled by the volume and held to the 16-bit range, in place: a loop apart from the
// rounding, so that it runs without branches (the sign of a noisy signal is as good as
// random to the host's branch predictor) and several samples at a time.
void ScaleAndClamp(float* v, uint32_t n, float gain) {
    for (uint32_t i = 0; i < n; ++i)
        v[i] = std::min(std::max(v[i] * gain, -32768.0f), 32767.0f);
}

// A clamped value rounded to the nearest.
inline int16_t Round16(float v) {
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

// The filters' inputs of `count` (at most kMixBlock) samples: each side the sum of its
// sources, counted twice.
template <uint8_t Mode>
void SumInputs(const uint16_t* high, float perTstate, const float* ay, uint32_t count, float* left,
               float* right) {
    for (uint32_t i = 0; i < count; ++i) {
        const float s = float(high[i]) * perTstate * kSpeakerLevel;
        const float a = ay[3 * i], b = ay[3 * i + 1], c = ay[3 * i + 2];
        if constexpr (Mode == kOutputMono) {
            left[i] = 2.0f * (s + a + b + c);
        } else if constexpr (Mode == kOutputAcbStereo) {
            left[i] = 2.0f * (s + a + c);
            right[i] = 2.0f * (s + c + b);
        } else { // ABC: B sits in the middle
            left[i] = 2.0f * (s + a + b);
            right[i] = 2.0f * (s + b + c);
        }
    }
}

// The loop over a block, with the mode and enhancement fixed for the whole of it.
template <uint8_t Mode, uint8_t Enhancement>
void MixBlock(SoundMixer& m, const uint16_t* high, float perTstate, const float* ay, uint32_t count,
              StereoSample* out) {
    float left[kMixBlock], right[kMixBlock];
    constexpr bool kMono = Mode == kOutputMono;
    while (count > 0) {
        const uint32_t n = std::min(count, kMixBlock);
        SumInputs<Mode>(high, perTstate, ay, n, left, right);
        if (!m.primed) {
            m.lastIn[0] = left[0];
            m.lastIn[1] = kMono ? left[0] : right[0];
            m.primed = true;
        }
        RemoveDc(left, n, m.dcPole, m.lastIn[0], m.lastOut[0]);
        if constexpr (!kMono) RemoveDc(right, n, m.dcPole, m.lastIn[1], m.lastOut[1]);
        if constexpr (Enhancement != kEnhanceNone) {
            for (uint32_t i = 0; i < n; ++i) {
                left[i] = Enhance<Enhancement>(m, m.echoLeft, left[i]);
                if constexpr (!kMono) right[i] = Enhance<Enhancement>(m, m.echoRight, right[i]);
                m.echoWrite = NextRingPosition(m.echoWrite);
                m.echoRead = NextRingPosition(m.echoRead);
            }
        }
        ScaleAndClamp(left, n, m.gain);
        if constexpr (!kMono) ScaleAndClamp(right, n, m.gain);
        for (uint32_t i = 0; i < n; ++i) {
            out[i].left = Round16(left[i]);
            out[i].right = kMono ? out[i].left : Round16(right[i]);
        }
        high += n, ay += 3 * n, out += n, count -= n;
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

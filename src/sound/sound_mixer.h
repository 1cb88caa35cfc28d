// The mix of one sample: the speaker's level over the sample period and the AY's three
// channel levels become a left and a right value of signed 16-bit PCM.
//
// Each side is the sum of its sources ("Mono": all four; "ABC Stereo": speaker + A + B
// left, speaker + B + C right; "ACB Stereo": speaker + A + C left, speaker + C + B
// right), counted twice so that the speaker swings by 16384 at volume 40 as it always
// did. A filter then takes away the constant part of the signal, as the coupling
// capacitor before a real loudspeaker does: silence is 0 whatever level the speaker
// line or an AY channel rests at, the speaker swings both ways, and a stream that starts
// or stops does not step. The echo or reverb acts on each side with its own ring; the
// volume scales the result in proportion (40 = 1x, 100 = 2.5x), which is then held to
// the 16-bit range instead of wrapping.
//
// Usage: ConfigureMixer when the stream is set up, RestartMixerFilters whenever the
// stream is cleared, MixSamples for the samples in order.
#pragma once

#include <cstdint>

constexpr int kEchoRingLength = 6144; // samples per side

struct SoundMixer {
    uint8_t outputMode = 1;  // SoundOutputMode
    uint8_t enhancement = 0; // SoundEnhancement
    float gain = 1.0f;       // volume / 40
    float dcPole = 0.9993f;  // how much of its last output the DC filter keeps

    bool primed = false;   // the DC filters have taken their resting level
    float lastIn[2] = {};  // the DC filters' previous input, left and right
    float lastOut[2] = {}; // and previous output

    float echoLeft[kEchoRingLength] = {};
    float echoRight[kEchoRingLength] = {};
    int echoWrite = 0;
    int echoRead = 0;
};

struct StereoSample {
    int16_t left = 0, right = 0;
};

// Latches the mix for a stream at `sampleRate`: output mode, enhancement and volume
// (0 to 100); empties the echo rings and restarts the filters.
void ConfigureMixer(SoundMixer& m, uint8_t outputMode, uint8_t enhancement, uint8_t volume,
                    uint32_t sampleRate);

// The next sample's input becomes the filters' resting level, so a stream that starts
// with the speaker or an AY channel held high begins in silence instead of a click.
void RestartMixerFilters(SoundMixer& m);

// Mixes `count` samples in order: for sample i, the speaker line was high for high[i]
// T-states of its period (`perTstate` = 1 / T-states per period), and the AY's three
// channel levels (0 to 3999 each), averaged over the period, are ay[3 i .. 3 i + 2].
void MixSamples(SoundMixer& m, const uint16_t* high, float perTstate, const float* ay, uint32_t count,
                StereoSample* out);

// The samples by which the echo rings' read position trails the write position.
int EchoDelaySamples(uint32_t sampleRate);

// The mix of each sample: each stereo side its own sum, a volume that scales and holds
// at the 16-bit limits, output centred on silence, and the speaker averaged over the
// sample period so that high tones do not fold down into audible aliases.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <vector>

#include "sound_test_support.h"

namespace {

void SetAyChannels(uint8_t a, uint8_t b, uint8_t c) {
    // Tone and noise off for all three: each channel sits at its amplitude's level.
    SelectRegister(kAyMixer), WriteRegister(0x3F);
    SelectRegister(kAyVolumeA), WriteRegister(a);
    SelectRegister(kAyVolumeA + 1), WriteRegister(b);
    SelectRegister(kAyVolumeA + 2), WriteRegister(c);
}

using SoundMixTest = SoundTest;

// From silence, the speaker and the AY (A = 3999, B = 655, C = 163) step up at once:
// each side steps by twice its own sum.
TEST_F(SoundMixTest, EachStereoSideCarriesItsOwnSum) {
    const struct {
        uint8_t mode;
        int left, right;
    } cases[] = {
        {kOutputAbcStereo, 2 * (8192 + 3999 + 655), 2 * (8192 + 655 + 163)},
        {kOutputAcbStereo, 2 * (8192 + 3999 + 163), 2 * (8192 + 163 + 655)},
        {kOutputMono, 2 * (8192 + 3999 + 655 + 163), 2 * (8192 + 3999 + 655 + 163)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        ResetSound();
        device = FakeAudioDevice{};
        opt_snd_output = c.mode;
        StartStream();
        HoldSpeaker(0);
        SetAyChannels(15, 8, 4);
        HoldSpeaker(1);
        const std::vector<int16_t> left = Samples16(0), right = Samples16(1);
        ASSERT_EQ(left.size(), 2u);
        EXPECT_EQ(left[0], 0);
        EXPECT_EQ(right[0], 0);
        EXPECT_EQ(left[1], c.left);
        EXPECT_EQ(right[1], c.right);
        EXPECT_EQ(device.format.channels, c.mode == kOutputMono ? 1 : 2);
    }
}

// A square wave of the speaker, 36 samples high and 36 low, at every volume setting:
// its edges step by 16384 at 40 (the mix's level at the default setting, as before),
// in proportion elsewhere, 0 at 0.
TEST_F(SoundMixTest, VolumeScalesTheSwingInProportion) {
    for (int volume = 0; volume <= 100; volume += 10) {
        SCOPED_TRACE(volume);
        ResetSound();
        device = FakeAudioDevice{};
        opt_snd_output = kOutputMono;
        opt_snd_volume = uint8_t(volume);
        StartStream();
        for (int cycle = 0; cycle < 100; ++cycle) {
            HoldSpeaker(1, 36);
            HoldSpeaker(0, 36);
        }
        const std::vector<int16_t> s = Samples16();
        const size_t rise = 99 * 72, fall = rise + 36;
        const double expected = 16384.0 * volume / 40.0;
        EXPECT_NEAR(s[rise] - s[rise - 1], expected, expected * 0.005 + 1);
        EXPECT_NEAR(s[fall - 1] - s[fall], expected, expected * 0.005 + 1);
        // Centred: the wave swings as far up as down.
        EXPECT_NEAR(s[rise] + s[fall], 0, expected * 0.05 + 1);
    }
}

// Everything at full level against everything off at volume 100: the steps (2.5 x up
// to 40378) go far past the 16-bit range and must stop at its limits, never wrap round
// to the other sign. (The first cycles, from rest, are lopsided until the wave has
// centred itself.)
TEST_F(SoundMixTest, LoudestMixAtFullVolumeSaturatesWithoutWrapping) {
    constexpr int kCycles = 200, kHalf = 30;
    for (uint8_t mode : {kOutputMono, kOutputAbcStereo, kOutputAcbStereo}) {
        SCOPED_TRACE(int(mode));
        ResetSound();
        device = FakeAudioDevice{};
        opt_snd_output = mode;
        opt_snd_volume = 100;
        StartStream();
        HoldSpeaker(0);
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            SetAyChannels(15, 15, 15);
            HoldSpeaker(1, kHalf);
            SetAyChannels(0, 0, 0);
            HoldSpeaker(0, kHalf);
        }
        for (int channel = 0; channel < 2; ++channel) {
            const std::vector<int16_t> s = Samples16(channel);
            ASSERT_EQ(s.size(), 1u + kCycles * 2 * kHalf);
            for (size_t i = 1; i < s.size(); ++i) {
                const size_t phase = (i - 1) % (2 * kHalf);
                const bool settled = i > s.size() / 2;
                if (phase == 0) {
                    ASSERT_GT(s[i], s[i - 1]) << i;
                    if (settled) {
                        ASSERT_EQ(s[i], 32767) << i;
                    }
                } else if (phase == kHalf) {
                    ASSERT_LT(s[i], s[i - 1]) << i;
                    if (settled) {
                        ASSERT_EQ(s[i], -32768) << i;
                    }
                } else { // a slow drift towards the centre, no jump
                    ASSERT_LT(std::abs(s[i] - s[i - 1]), 2000) << i;
                }
            }
        }
    }
}

TEST_F(SoundMixTest, EightBitSamplesAreCentredOn128) {
    opt_snd_soundbits = 8;
    opt_snd_output = kOutputMono;
    StartStream();
    HoldSpeaker(0, 2);
    HoldSpeaker(1);
    HoldSpeaker(0);
    MixPendingSamples();
    ASSERT_EQ(soundStream.fill, 4u);
    EXPECT_EQ(soundStream.chunk[0], 128); // silence
    EXPECT_EQ(soundStream.chunk[1], 128);
    EXPECT_EQ(soundStream.chunk[2], 128 + 64); // up by 16384 >> 8
    EXPECT_NEAR(soundStream.chunk[3], 128, 1); // and back
}

// Sound that starts (or restarts after a stop) while the speaker line and an AY
// channel are held high begins in silence: no step, so no click.
TEST_F(SoundMixTest, AStreamStartsSilentWhateverTheLinesHold) {
    SetAyChannels(15, 0, 9);
    machine.earLevel = 1;
    StartStream();
    HoldSpeaker(1, 50);
    for (int channel = 0; channel < 2; ++channel)
        for (int16_t v : Samples16(channel))
            ASSERT_EQ(v, 0);
    StopSound();
    PauseSound(false);
    device.bytes.clear();
    SetAyChannels(0, 15, 0);
    HoldSpeaker(0, 50);
    for (int16_t v : Samples16(1))
        ASSERT_EQ(v, 0);
}

// --- aliasing ----------------------------------------------------------------------

// Power of each frequency bin of `s` (a power of two long) under a Hann window.
std::vector<double> PowerSpectrum(const std::vector<double>& s) {
    const size_t n = s.size();
    const double pi = std::acos(-1.0);
    std::vector<std::complex<double>> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = s[i] * (0.5 - 0.5 * std::cos(2 * pi * double(i) / double(n)));
    for (size_t i = 1, j = 0; i < n; ++i) { // bit-reversed order
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2 * pi / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    }
    std::vector<double> power(n / 2);
    for (size_t i = 0; i < n / 2; ++i)
        power[i] = std::norm(x[i]);
    return power;
}

// How far (dB) the strongest component below 5 kHz lies under the strongest above.
double AliasMarginDb(const std::vector<double>& samples, double sampleRate) {
    const std::vector<double> p = PowerSpectrum(samples);
    const size_t split = size_t(5000.0 / sampleRate * double(samples.size()));
    double tone = 0, alias = 0;
    for (size_t i = 4; i < p.size(); ++i) // above the lowest few bins (the window's DC)
        (i < split ? alias : tone) = std::max(i < split ? alias : tone, p[i]);
    return 10.0 * std::log10(tone / alias);
}

// The speaker toggled every 180 T-states (a 9028 Hz square wave) by 4-T-state
// instructions through the sample clock. Taking the line's level once per sample folds
// the wave's 5th harmonic (45 kHz) down to about 600 Hz only 14 dB under the tone;
// averaging it over each sample period keeps every alias below 5 kHz 30 dB down.
TEST_F(SoundMixTest, A9kHzSpeakerToneHasNoAudibleAliases) {
    opt_snd_output = kOutputMono;
    StartStream();
    constexpr uint32_t kHalfPeriod = 180, kStep = 4;
    constexpr size_t kSettle = 1000, kCount = 8192;
    uint32_t sinceToggle = 0;
    for (uint64_t t = 0; t < (kSettle + kCount + 2) * 73; t += kStep) {
        if (sinceToggle == kHalfPeriod) {
            machine.earLevel ^= 1;
            sinceToggle = 0;
        }
        AdvanceSoundClocks(kStep);
        sinceToggle += kStep;
    }
    const std::vector<int16_t> s = Samples16();
    ASSERT_GE(s.size(), kSettle + kCount);
    const std::vector<double> averaged(s.begin() + kSettle, s.begin() + kSettle + kCount);
    const double rate = 3250000.0 / 73.0; // the clock's own sample rate

    // The same wave taken at one point per period, as the sampler once did: the
    // measurement sees its alias.
    std::vector<double> pointSampled(kCount);
    for (size_t i = 0; i < kCount; ++i)
        pointSampled[i] = ((i * 73 / kHalfPeriod) & 1) ? 8192.0 : -8192.0;
    EXPECT_LT(AliasMarginDb(pointSampled, rate), 20.0);

    EXPECT_GT(AliasMarginDb(averaged, rate), 30.0);
}

} // namespace

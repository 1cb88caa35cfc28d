// Helpers for the sound tests: a fake audio device that records what it is given and
// how it is driven, and a fixture that starts each test from a clean sound subsystem.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/messages.h"
#include "sound/audio_device.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"
#include "test_support.h"

class FakeAudioDevice : public AudioDevice {
  public:
    bool connectOk = true, openOk = true, playOk = true;
    bool lost = false; // the device went away by itself
    AudioCapabilities caps;
    AudioStreamFormat format;
    std::vector<uint8_t> bytes; // everything queued, in order
    int chunks = 0;
    bool playing = false;
    std::vector<std::string> calls;

    bool Connect(AudioCapabilities& c) override {
        calls.push_back("connect");
        c = caps;
        return connectOk;
    }
    bool Open(const AudioStreamFormat& f) override {
        calls.push_back("open");
        format = f;
        return openOk;
    }
    bool Play() override {
        calls.push_back("play");
        playing = playOk;
        return playOk;
    }
    void Pause() override {
        calls.push_back("pause");
        playing = false;
    }
    void Clear() override { calls.push_back("clear"); }
    void QueueChunk(const uint8_t* b, uint32_t count) override {
        ++chunks;
        bytes.insert(bytes.end(), b, b + count);
    }
    void Close() override {
        calls.push_back("close");
        playing = false;
    }
    bool Lost() const override { return lost; }
};

class SoundTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        ResetSound();
    }
    void TearDown() override {
        ResetSound();
        MachineTest::TearDown();
    }

    // Installs the fake and starts the stream with the current settings.
    void StartStream() {
        SetAudioDevice(&device);
        ASSERT_EQ(InitSound(), 0) << LastReportedMessage().text;
    }

    // The 16-bit values of one channel (0 left, 1 right) of everything sampled so far:
    // what the device was given plus the chunk still being assembled.
    std::vector<int16_t> Samples16(int channel = 0) const {
        MixPendingSamples();
        std::vector<uint8_t> all = device.bytes;
        all.insert(all.end(), soundStream.chunk, soundStream.chunk + soundStream.fill);
        const size_t frame = 2u * soundStream.params.channels;
        const size_t at = channel < soundStream.params.channels ? 2u * channel : 0;
        std::vector<int16_t> out;
        for (size_t i = 0; i + frame <= all.size(); i += frame)
            out.push_back(int16_t(all[i + at] | all[i + at + 1] << 8));
        return out;
    }

    // `count` samples with the speaker line held at `level` for the whole of each.
    static void HoldSpeaker(uint16_t level, int count = 1) {
        for (int i = 0; i < count; ++i) {
            machine.earLevel = level;
            soundStream.speakerHigh = level ? soundStream.params.tstatesPerSample : 0;
            TakeSample();
        }
    }

    FakeAudioDevice device;
};

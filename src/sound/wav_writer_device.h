// An audio device that writes the stream to a PCM WAV file instead of playing it, for
// the headless runner (--audio-out) and for tests that inspect the samples.
//
// Usage: WavWriterDevice wav("out.wav"); SetAudioDevice(&wav); InitSound(); ... run
// frames ...; ShutdownSound() (or destroying the device) completes the file's header
// and puts the file in place; a file that cannot be completed is reported then.
// It never waits, so the frame driver runs unpaced while it is the device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_writer.h"
#include "sound/audio_device.h"

class WavWriterDevice final : public AudioDevice {
  public:
    explicit WavWriterDevice(std::string path);
    ~WavWriterDevice() override;
    WavWriterDevice(const WavWriterDevice&) = delete;
    WavWriterDevice& operator=(const WavWriterDevice&) = delete;

    bool Connect(AudioCapabilities& caps) override;
    bool Open(const AudioStreamFormat& format) override;
    bool Play() override { return out_.has_value(); }
    void Pause() override {}
    void Clear() override {} // what was "played" is in the file already
    void QueueChunk(const uint8_t* bytes, uint32_t count) override;
    void Close() override;

    const std::string& path() const { return path_; }
    uint64_t dataBytes() const { return dataBytes_; }

  private:
    void WriteHeader();

    std::string path_;
    std::optional<FileWriter> out_; // the file appears whole when the stream closes
    AudioStreamFormat format_;
    uint64_t dataBytes_ = 0;
};

// A device that plays nothing and never waits; counts what it was given (benchmarks).
class NullAudioDevice final : public AudioDevice {
  public:
    bool Connect(AudioCapabilities& caps) override {
        caps = AudioCapabilities{};
        return true;
    }
    bool Open(const AudioStreamFormat&) override { return true; }
    bool Play() override { return true; }
    void Pause() override {}
    void Clear() override {}
    void QueueChunk(const uint8_t*, uint32_t count) override {
        ++chunks;
        bytes += count;
    }
    void Close() override {}

    uint64_t chunks = 0;
    uint64_t bytes = 0;
};

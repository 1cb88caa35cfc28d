// RIFF/WAVE files of PCM samples: a validating reader that walks the chunks by their ids
// (a LIST or fact chunk may come anywhere) and the writer of the canonical 44-byte
// header that recordings use.
//
//   WavParseResult wav = ParseWav(bytes);
//   if (!wav.error.empty()) ... nothing usable; the text says why
//   std::span<const uint8_t> samples = bytes.subspan(wav.dataOffset, wav.dataSize);
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct WavFormat {
    uint16_t formatTag = 1; // 1 = PCM
    uint16_t channels = 1;
    uint32_t sampleRate = 44100;
    uint32_t byteRate = 44100;
    uint16_t blockAlign = 1;
    uint16_t bitsPerSample = 8;
};

struct WavParseResult {
    WavFormat format;
    size_t dataOffset = 0;
    size_t dataSize = 0;      // clamped to the bytes present, whole sample frames
    bool dataClamped = false; // the data chunk said more than the file holds
    std::string error;        // empty when the file can be played
};

constexpr uint32_t kMinWavRate = 4000;
constexpr uint32_t kMaxWavRate = 192000;

WavParseResult ParseWav(std::span<const uint8_t> bytes);

// The 44-byte header of a PCM file with one "fmt " and one "data" chunk.
std::vector<uint8_t> EncodeWavHeader(const WavFormat& format, uint32_t dataSize);

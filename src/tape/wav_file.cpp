#include "tape/wav_file.h"

#include <cstring>

#include "base/little_endian.h"

namespace {

void PutId(std::vector<uint8_t>& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

bool IdIs(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

std::string CheckFormat(const WavFormat& f) {
    if (f.formatTag != 1) return "not PCM (format tag " + std::to_string(f.formatTag) + ")";
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        return std::to_string(f.bitsPerSample) + " bits per sample (8 or 16 can be played)";
    if (f.channels != 1 && f.channels != 2)
        return std::to_string(f.channels) + " channels (1 or 2 can be played)";
    if (f.sampleRate < kMinWavRate || f.sampleRate > kMaxWavRate)
        return "a sample rate of " + std::to_string(f.sampleRate) + " Hz (4000 to 192000 can be played)";
    if (f.blockAlign != f.channels * f.bitsPerSample / 8)
        return "a block align of " + std::to_string(f.blockAlign) + " that does not match its samples";
    return {};
}

} // namespace

WavParseResult ParseWav(std::span<const uint8_t> bytes) {
    WavParseResult r;
    if (bytes.size() < 12 || !IdIs(bytes.data(), "RIFF") || !IdIs(bytes.data() + 8, "WAVE")) {
        r.error = "not a RIFF WAVE file";
        return r;
    }
    bool haveFormat = false;
    size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const uint8_t* chunk = bytes.data() + pos;
        const uint64_t size = ReadLe32(chunk + 4);
        const size_t body = pos + 8;
        const size_t present = bytes.size() - body;
        if (IdIs(chunk, "fmt ")) {
            if (size < 16 || present < 16) {
                r.error = "a format chunk that is too short";
                return r;
            }
            const uint8_t* f = chunk + 8;
            r.format = {uint16_t(ReadLe16(f)), uint16_t(ReadLe16(f + 2)),  ReadLe32(f + 4),
                        ReadLe32(f + 8),       uint16_t(ReadLe16(f + 12)), uint16_t(ReadLe16(f + 14))};
            // WAVE_FORMAT_EXTENSIBLE names its real format in the extension's GUID.
            if (r.format.formatTag == 0xFFFE && size >= 40 && present >= 40)
                r.format.formatTag = uint16_t(ReadLe16(f + 24));
            r.error = CheckFormat(r.format);
            if (!r.error.empty()) return r;
            haveFormat = true;
        } else if (IdIs(chunk, "data")) {
            if (!haveFormat) {
                r.error = "samples before their format chunk";
                return r;
            }
            r.dataOffset = body;
            r.dataClamped = size > present;
            const size_t kept = r.dataClamped ? present : size_t(size);
            r.dataSize = kept - kept % r.format.blockAlign;
            return r;
        }
        // Chunks are padded to an even size.
        const uint64_t next = uint64_t(body) + size + (size & 1);
        if (next > bytes.size()) break;
        pos = size_t(next);
    }
    r.error = haveFormat ? "no data chunk" : "no format chunk";
    return r;
}

std::vector<uint8_t> EncodeWavHeader(const WavFormat& f, uint32_t dataSize) {
    std::vector<uint8_t> out;
    out.reserve(44);
    PutId(out, "RIFF");
    AppendLe32(out, 36 + dataSize);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    AppendLe32(out, 16);
    AppendLe16(out, f.formatTag);
    AppendLe16(out, f.channels);
    AppendLe32(out, f.sampleRate);
    AppendLe32(out, f.byteRate);
    AppendLe16(out, f.blockAlign);
    AppendLe16(out, f.bitsPerSample);
    PutId(out, "data");
    AppendLe32(out, dataSize);
    return out;
}

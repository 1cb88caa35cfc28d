#include "tape/wav_file.h"

#include <cstring>

namespace {

uint32_t Get16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
uint32_t Get32(const uint8_t* p) {
    return Get16(p) | (Get16(p + 2) << 16);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
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
        const uint64_t size = Get32(chunk + 4);
        const size_t body = pos + 8;
        const size_t present = bytes.size() - body;
        if (IdIs(chunk, "fmt ")) {
            if (size < 16 || present < 16) {
                r.error = "a format chunk that is too short";
                return r;
            }
            const uint8_t* f = chunk + 8;
            r.format = {uint16_t(Get16(f)), uint16_t(Get16(f + 2)),  Get32(f + 4),
                        Get32(f + 8),       uint16_t(Get16(f + 12)), uint16_t(Get16(f + 14))};
            // WAVE_FORMAT_EXTENSIBLE names its real format in the extension's GUID.
            if (r.format.formatTag == 0xFFFE && size >= 40 && present >= 40)
                r.format.formatTag = uint16_t(Get16(f + 24));
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
    Put32(out, 36 + dataSize);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, f.formatTag);
    Put16(out, f.channels);
    Put32(out, f.sampleRate);
    Put32(out, f.byteRate);
    Put16(out, f.blockAlign);
    Put16(out, f.bitsPerSample);
    PutId(out, "data");
    Put32(out, dataSize);
    return out;
}

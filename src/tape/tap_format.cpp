#include "tape/tap_format.h"

#include <algorithm>

#include "base/messages.h"
#include "tape/load_buffer.h"

TapParseResult ParseTapBlocks(std::span<const uint8_t> bytes) {
    TapParseResult result;
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 2) { // a lone byte where a length field should be
            result.truncated = true;
            break;
        }
        const size_t length = bytes[pos] | (bytes[pos + 1] << 8);
        if (bytes.size() - pos - 2 < length) {
            result.truncated = true;
            break;
        }
        TapeBlock block;
        block.data.assign(bytes.begin() + pos + 2, bytes.begin() + pos + 2 + length);
        block.length = uint16_t(length);
        block.index = int(result.blocks.size());
        result.blocks.push_back(std::move(block));
        pos += 2 + length;
    }
    return result;
}

std::vector<uint8_t> EncodeTapBlock(std::span<const uint8_t> data) {
    // The ROM can ask to save 65535 bytes, one more than a length field can describe
    // with the checksum; the block is cut so the file stays readable.
    const size_t n = std::min(data.size(), kMaxTapBlockData);
    const uint16_t length = uint16_t(n + 1);
    std::vector<uint8_t> out;
    out.reserve(n + 3);
    out.push_back(uint8_t(length & 0xFF));
    out.push_back(uint8_t(length >> 8));
    uint8_t checksum = 0;
    for (size_t k = 0; k < n; ++k) {
        out.push_back(data[k]);
        checksum ^= data[k];
    }
    out.push_back(checksum);
    return out;
}

void WriteTapBlock(std::FILE* file, std::span<const uint8_t> data) {
    if (!file) return;
    const std::vector<uint8_t> block = EncodeTapBlock(data);
    std::fwrite(block.data(), 1, block.size(), file); // write errors are not reported
}

bool LoadTapFromBuffer(const std::string& bareName) {
    TapParseResult tape = ParseTapBlocks(LoadBufferBytes());
    const bool reported = tape.truncated && ReportMessage(kCaptionError, 21);
    InsertTapImage(std::move(tape.blocks), bareName);
    return reported;
}

#include "tape/tap_format.h"

#include <algorithm>

#include "base/messages.h"
#include "tape/load_buffer.h"
#include "tape/tape_deck.h"

namespace {

uint8_t Xor(std::span<const uint8_t> bytes) {
    uint8_t x = 0;
    for (uint8_t b : bytes)
        x ^= b;
    return x;
}

// Some tools keep the tape's block-type byte (0x00 header, 0xFF data) after the length
// word, with the checksum over the bytes after it. A block is taken for one of those
// only when its own checksum fails and the one without the type byte holds; a header
// of that kind is one byte longer than the ROM's 26.
bool HasTypeByte(std::span<const uint8_t> d) {
    if (d.size() < 3 || (d[0] != 0x00 && d[0] != 0xFF)) return false;
    const uint8_t check = d.back();
    if (d[0] == 0x00) return d.size() == kTypedHeaderLength && Xor(d.subspan(1, d.size() - 2)) == check;
    return Xor(d.first(d.size() - 1)) != check && Xor(d.subspan(1, d.size() - 2)) == check;
}

} // namespace

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
        const std::span<const uint8_t> d = bytes.subspan(pos + 2, length);
        block.typeByte = HasTypeByte(d);
        const size_t skip = block.typeByte ? 1 : 0;
        block.data.assign(d.begin() + long(skip), d.end());
        block.length = uint16_t(length - skip);
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

LoadResult LoadTapFromBuffer(const std::string& bareName) {
    TapParseResult tape = ParseTapBlocks(LoadBufferBytes());
    // Nothing to load: the deck keeps what it holds.
    if (tape.blocks.empty())
        return ReportLoadFailure(kCaptionError, tape.truncated ? kMsgTapeLength : kMsgTapeEmpty);
    if (tape.truncated) ReportMessage(kCaptionError, kMsgTapeLength);
    InsertTapImage(std::move(tape.blocks), bareName);
    return LoadResult::Loaded;
}

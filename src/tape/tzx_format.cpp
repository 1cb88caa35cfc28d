#include "tape/tzx_format.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"
#include "base/messages.h"
#include "tape/load_buffer.h"
#include "tape/tape_deck.h"

namespace {

constexpr uint8_t kSignature[8] = {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A};

struct NamedId {
    int id;
    const char* name;
};
constexpr NamedId kBlockNames[] = {
    {0x10, "Standard Speed Data Block"},
    {0x11, "Turbo Speed Data Block"},
    {0x12, "Pure Tone"},
    {0x13, "Sequence of Pulses"},
    {0x14, "Pure Data Block"},
    {0x15, "Direct Recording"},
    {0x16, "C64 ROM Type Data Block"},
    {0x17, "C64 Turbo Tape Data Block"},
    {0x18, "CSW Recording"},
    {0x19, "Generalized Data Block"},
    {0x20, "Pause (Silence) or Stop the Tape"},
    {0x21, "Group Start"},
    {0x22, "Group End"},
    {0x23, "Jump to Block"},
    {0x24, "Loop Start"},
    {0x25, "Loop End"},
    {0x26, "Call Sequence"},
    {0x27, "Return from Sequence"},
    {0x28, "Select Block"},
    {0x2A, "Stop the Tape if in 48K Mode"},
    {0x2B, "Set Signal Level"},
    {0x30, "Text Description"},
    {0x31, "Message Block"},
    {0x32, "Archive Info"},
    {0x33, "Hardware Type"},
    {0x34, "Emulation Info"},
    {0x35, "Custom Info Block"},
    {0x40, "Snapshot Block"},
    {0x5A, "Glue Block"},
};

// The body length of a block (after its ID byte), from the fixed part that starts at
// `p` with `avail` bytes present. 0 with `known` false: an ID with no rule. A body whose
// fixed part is itself missing reports `fixedMissing`.
struct BodySize {
    uint64_t size = 0;
    bool known = true;
    bool fixedMissing = false;
};

BodySize MeasureBody(int id, const uint8_t* p, size_t avail) {
    auto fixed = [&](size_t need, auto lengthOf) -> BodySize {
        if (avail < need) return {need, true, true};
        return {need + uint64_t(lengthOf()), true, false};
    };
    switch (id) {
    case 0x10: return fixed(4, [&] { return ReadLe16(p + 2); });
    case 0x11: return fixed(0x12, [&] { return ReadLe24(p + 0x0F); });
    case 0x12: return fixed(4, [] { return 0; });
    case 0x13: return fixed(1, [&] { return 2 * p[0]; });
    case 0x14: return fixed(0x0A, [&] { return ReadLe24(p + 0x07); });
    case 0x15: return fixed(0x08, [&] { return ReadLe24(p + 0x05); });
    case 0x20:
    case 0x23:
    case 0x24: return fixed(2, [] { return 0; });
    case 0x21:
    case 0x30: return fixed(1, [&] { return p[0]; });
    case 0x22:
    case 0x25:
    case 0x27: return {0, true, false};
    case 0x26: return fixed(2, [&] { return 2 * ReadLe16(p); });
    case 0x28:
    case 0x32: return fixed(2, [&] { return ReadLe16(p); });
    case 0x31: return fixed(2, [&] { return p[1]; });
    case 0x33: return fixed(1, [&] { return 3 * p[0]; });
    case 0x34: return fixed(8, [] { return 0; });
    case 0x35: return fixed(0x14, [&] { return ReadLe32(p + 0x10); });
    case 0x40: return fixed(4, [&] { return ReadLe24(p + 1); });
    case 0x5A: return fixed(9, [] { return 0; });
    case 0x16:
    case 0x17:
    case 0x18:
    case 0x19:
    case 0x2A:
    case 0x2B: return fixed(4, [&] { return ReadLe32(p); });
    default:
        // Blocks added after 1.20 start with a 32-bit length; an ID outside the
        // extension range has none to trust.
        if (id >= 0x10 && id < 0x60) return fixed(4, [&] { return ReadLe32(p); });
        return {0, false, false};
    }
}

std::string Printable(const uint8_t* p, size_t n) {
    std::string s;
    for (size_t k = 0; k < n; ++k)
        s += (p[k] >= 32 && p[k] < 127) ? char(p[k]) : (p[k] == 13 ? ' ' : '?');
    return s;
}

// Archive info: the title (or the first text) as a one-line summary.
std::string ArchiveSummary(const uint8_t* p, size_t size) {
    size_t pos = 3; // length word, count
    const size_t count = size >= 3 ? p[2] : 0;
    for (size_t n = 0; n < count && pos + 2 <= size; ++n) {
        const size_t len = std::min<size_t>(p[pos + 1], size - pos - 2);
        if (p[pos] == 0x00 || n + 1 == count) return Printable(p + pos + 2, len);
        pos += 2 + p[pos + 1];
    }
    return {};
}

void FillBlock(TapeBlock& b, const uint8_t* p, size_t size) {
    TzxTiming& t = b.timing;
    auto takeData = [&](size_t from) {
        b.data.assign(p + from, p + size);
        b.length = uint16_t(std::min<size_t>(b.data.size(), 0xFFFF));
    };
    switch (b.blockId) {
    case 0x10:
        b.pause = uint16_t(ReadLe16(p));
        takeData(4);
        break;
    case 0x11:
        t.pilotPulse = uint16_t(ReadLe16(p));
        t.sync1 = uint16_t(ReadLe16(p + 2));
        t.sync2 = uint16_t(ReadLe16(p + 4));
        t.zeroPulse = uint16_t(ReadLe16(p + 6));
        t.onePulse = uint16_t(ReadLe16(p + 8));
        t.pilotCount = ReadLe16(p + 0x0A);
        t.usedBits = p[0x0C];
        b.pause = uint16_t(ReadLe16(p + 0x0D));
        takeData(0x12);
        break;
    case 0x12:
        t.pilotPulse = uint16_t(ReadLe16(p));
        t.pilotCount = ReadLe16(p + 2);
        break;
    case 0x13:
        for (size_t k = 0; k < p[0]; ++k)
            t.pulses.push_back(uint16_t(ReadLe16(p + 1 + 2 * k)));
        break;
    case 0x14:
        t.zeroPulse = uint16_t(ReadLe16(p));
        t.onePulse = uint16_t(ReadLe16(p + 2));
        t.usedBits = p[4];
        b.pause = uint16_t(ReadLe16(p + 5));
        takeData(0x0A);
        break;
    case 0x15:
        t.samplePeriod = uint16_t(ReadLe16(p));
        b.pause = uint16_t(ReadLe16(p + 2));
        t.usedBits = p[4];
        takeData(0x08);
        break;
    case 0x20: b.pause = uint16_t(ReadLe16(p)); break;
    case 0x24: t.loopCount = uint16_t(ReadLe16(p)); break;
    case 0x23: t.jumps.push_back(int16_t(ReadLe16(p))); break;
    case 0x26:
        for (size_t k = 0, n = ReadLe16(p); k < n; ++k)
            t.jumps.push_back(int16_t(ReadLe16(p + 2 + 2 * k)));
        break;
    case 0x28: {
        // Length word, count, then each choice: offset, text length, text.
        size_t pos = 3;
        for (size_t k = 0, n = size > 2 ? p[2] : 0; k < n && pos + 3 <= size; ++k) {
            const size_t length = std::min<size_t>(p[pos + 2], size - pos - 3);
            t.jumps.push_back(int16_t(ReadLe16(p + pos)));
            t.choices.push_back(Printable(p + pos + 3, length));
            pos += 3 + length;
        }
        break;
    }
    case 0x2B:
        if (size >= 5) t.signalLevel = p[4] ? 1 : 0;
        break;
    case 0x21:
    case 0x30: b.text = Printable(p + 1, p[0]); break;
    case 0x31: b.text = Printable(p + 2, p[1]); break;
    case 0x32: b.text = ArchiveSummary(p, size); break;
    default: break;
    }
    if (t.usedBits == 0 || t.usedBits > 8) t.usedBits = 8;
}

} // namespace

const char* TzxBlockName(int id) {
    for (const NamedId& entry : kBlockNames)
        if (entry.id == id) return entry.name;
    return "Unknown Block";
}

TzxParseResult ParseTzx(std::span<const uint8_t> bytes) {
    TzxParseResult result;
    if (bytes.size() < kTzxHeaderSize || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
        result.problem = TzxProblem::BadSignature;
        return result;
    }
    size_t pos = kTzxHeaderSize;
    while (pos < bytes.size()) {
        const int id = bytes[pos];
        const uint8_t* body = bytes.data() + pos + 1;
        const size_t avail = bytes.size() - pos - 1;
        const BodySize measured = MeasureBody(id, body, avail);
        if (!measured.known || measured.fixedMissing || measured.size > avail) {
            result.problem = measured.known ? TzxProblem::Truncated : TzxProblem::UnknownBlock;
            result.problemOffset = pos;
            result.problemId = id;
            break;
        }
        TapeBlock block;
        block.blockId = id;
        block.index = int(result.blocks.size());
        FillBlock(block, body, size_t(measured.size));
        result.blocks.push_back(std::move(block));
        pos += 1 + size_t(measured.size);
    }
    return result;
}

LoadResult LoadTzxFromBuffer(const std::string& bareName) {
    TzxParseResult tape = ParseTzx(LoadBufferBytes());
    if (tape.problem == TzxProblem::BadSignature) {
        EjectTape();
        return ReportLoadFailure(kCaptionError, kMsgNotTzx);
    }
    // The blocks before a fault still make a tape; the user is told what was left out.
    if (tape.problem == TzxProblem::Truncated) ReportMessage(kCaptionError, kMsgTapeLength);
    if (tape.problem == TzxProblem::UnknownBlock) ReportMessage(kCaptionError, kMsgUnknownTzxBlock);
    InsertTzxImage(std::move(tape.blocks), bareName);
    return LoadResult::Loaded;
}

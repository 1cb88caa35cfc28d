#include "tape/tape_listing.h"

#include <cctype>
#include <cstdio>

#include "tape/tzx_format.h"

namespace {

constexpr size_t kNameLength = 10;

std::string Format(const char* format, long value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The ten name characters at `offset`; a byte outside 32..126 shows as "?". Only
// called when the block holds them.
std::string NameAt(const std::vector<uint8_t>& d, size_t offset) {
    std::string name;
    for (size_t k = 0; k < kNameLength; ++k) {
        const uint8_t c = d[offset + k];
        name += (c >= 32 && c <= 126) ? char(c) : '?';
    }
    return name;
}

unsigned WordAt(const std::vector<uint8_t>& d, size_t offset) {
    return d[offset] | (d[offset + 1] << 8);
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// An Ace header as the ROM writes it: type (0 dictionary, otherwise bytes), name, then
// length, address and the ROM's own fields. `h` is where the type byte is.
constexpr size_t kAceTzxHeaderSize = 27; // flag, 25 header bytes, checksum

std::string AceHeaderText(const std::vector<uint8_t>& d, size_t h) {
    if (d.size() < h + 1 + kNameLength + 4) return {};
    const std::string name = NameAt(d, h + 1);
    const unsigned length = WordAt(d, h + 11), address = WordAt(d, h + 13);
    if (d[h] == 0x00) return "Dict: " + name + Format("  %ld bytes", long(length));
    return "Bytes: " + name + Format("  CODE %ld", long(address)) + Format(",%ld", long(length));
}

std::string StandardRow(const TapeBlock& b) {
    const std::vector<uint8_t>& d = b.data;
    const size_t n = d.size();
    // An Ace header behind its flag byte reads as a TAP header row does.
    if (n == kAceTzxHeaderSize && d[0] == 0x00) return AceHeaderText(d, 1);
    if (n > 20 || n == 0) return Format("%ld data bytes", long(n));
    if (d[0] != 0) return Format("%ld Data bytes", long(n));
    // The rows for short headers read the name and start fields only when they are there.
    if (n < 16) return Format("%ld bytes", long(n));
    const int type = d[1];
    if (type == 0) return "Program: " + NameAt(d, 2) + Format("  LINE %ld", long(WordAt(d, 14)));
    if (type == 3) return "Bytes: " + NameAt(d, 2) + Format("  CODE %ld", long(WordAt(d, 14)));
    if (type >= 4) return Format("%ld bytes", long(n - 2));
    return {};
}

std::string SignalRow(const TapeBlock& b) {
    const TzxTiming& t = b.timing;
    const std::string name = TzxBlockName(b.blockId);
    switch (b.blockId) {
    case 0x10: return StandardRow(b);
    case 0x11:
    case 0x14:
    case 0x15: return name + ": " + Format("%ld bytes", long(b.data.size()));
    case 0x12:
        return name + ": " + Format("%ld pulses", long(t.pilotCount)) + Format(" of %ld", long(t.pilotPulse));
    case 0x13: return name + ": " + Format("%ld pulses", long(t.pulses.size()));
    case 0x20: return b.pause ? name + ": " + Format("%ld ms", long(b.pause)) : std::string("Stop the Tape");
    case 0x24: return name + ": " + Format("%ld times", long(t.loopCount));
    case 0x2B: return name + (t.signalLevel ? ": high" : ": low");
    default: return b.text.empty() ? name : name + ": " + b.text;
    }
}

} // namespace

std::string TapeBlockRow(const TapeBlock& b) {
    if (b.blockId != 0) return SignalRow(b);
    // TAP blocks: a 26-byte block (25 once a type byte is off) is the ROM's header.
    if (b.data.size() == 26) {
        const std::string text = AceHeaderText(b.data, 0);
        if (!text.empty()) return text;
    }
    return Format("%ld data bytes", long(b.data.size()));
}

DetailRows TapeBlockDetails(const TapeBlock& b) {
    DetailRows rows;
    if (b.blockId == 0) {
        rows.push_back({"Block Type", b.typeByte ? "TAP block with its type byte" : "TAP block"});
        if (b.data.size() == 26) rows.push_back({"Header", AceHeaderText(b.data, 0)});
        rows.push_back({"Data Length", Format("%ld Bytes", long(b.data.size() > 0 ? b.data.size() - 1 : 0))});
        return rows;
    }
    char id[16];
    std::snprintf(id, sizeof id, "0x%02X - ", b.blockId);
    rows.push_back({"Block ID", id + Upper(TzxBlockName(b.blockId))});
    const TzxTiming& t = b.timing;
    const size_t n = b.data.size();
    switch (b.blockId) {
    case 0x10: {
        const bool header = n > 0 && b.data[0] == 0;
        if (header && n == 27)
            rows.push_back({"Header", AceHeaderText(b.data, 1)});
        else
            rows.push_back({"Data Bytes", ""});
        rows.push_back({"Pilot Pulse Length", Format("%ld Tstates", 1867)});
        rows.push_back({"Pilot Length", Format("%ld Pulses", header ? 8192 : 1024)});
        rows.push_back({"1st Sync Length", Format("%ld Tstates", 557)});
        rows.push_back({"2nd Sync Length", Format("%ld Tstates", 733)});
        rows.push_back({"Zero Bit Length", Format("%ld Tstates", 743)});
        rows.push_back({"One Bit Length", Format("%ld Tstates", 1477)});
        rows.push_back({"Data Length", Format("%ld Bytes", long(n >= 2 ? n - 2 : 0))});
        rows.push_back({"Pause After Data", Format("%ld Milliseconds", b.pause)});
        break;
    }
    case 0x11:
        rows.push_back({"Pilot Pulse Length", Format("%ld Tstates", t.pilotPulse)});
        rows.push_back({"Pilot Length", Format("%ld Pulses", long(t.pilotCount))});
        rows.push_back({"1st Sync Length", Format("%ld Tstates", t.sync1)});
        rows.push_back({"2nd Sync Length", Format("%ld Tstates", t.sync2)});
        [[fallthrough]];
    case 0x14:
        rows.push_back({"Zero Bit Length", Format("%ld Tstates", t.zeroPulse)});
        rows.push_back({"One Bit Length", Format("%ld Tstates", t.onePulse)});
        rows.push_back({"Used Bits", Format("%ld", t.usedBits)});
        rows.push_back({"Data Length", Format("%ld Bytes", long(n))});
        rows.push_back({"Pause After Data", Format("%ld Milliseconds", b.pause)});
        break;
    case 0x12:
        rows.push_back({"Pulse Length", Format("%ld Tstates", t.pilotPulse)});
        rows.push_back({"Pulses", Format("%ld", long(t.pilotCount))});
        break;
    case 0x13: rows.push_back({"Pulses", Format("%ld", long(t.pulses.size()))}); break;
    case 0x15:
        rows.push_back({"Sample Length", Format("%ld Tstates", t.samplePeriod)});
        rows.push_back({"Data Length", Format("%ld Bytes", long(n))});
        rows.push_back({"Pause After Data", Format("%ld Milliseconds", b.pause)});
        break;
    case 0x20: rows.push_back({"Pause", Format("%ld Milliseconds", b.pause)}); break;
    case 0x24: rows.push_back({"Repetitions", Format("%ld", t.loopCount)}); break;
    case 0x23:
    case 0x26:
        for (int16_t jump : t.jumps)
            rows.push_back({b.blockId == 0x23 ? "Jump" : "Call", Format("%+ld blocks", long(jump))});
        break;
    case 0x28:
        // Right after the ID row, one row per choice: the tape browser picks by row.
        for (size_t k = 0; k < t.choices.size(); ++k)
            rows.push_back({Format("Choice %ld", long(k + 1)),
                            t.choices[k] + Format(" (%+ld blocks)", long(t.jumps[k])) +
                                (k == t.chosen ? ", plays" : "")});
        break;
    default:
        if (!b.text.empty()) rows.push_back({"Text", b.text});
        break;
    }
    return rows;
}

std::vector<std::string> TapeRows(const std::vector<TapeBlock>& blocks) {
    std::vector<std::string> rows;
    for (const TapeBlock& b : blocks)
        rows.push_back(TapeBlockRow(b));
    rows.push_back(kEndOfTapeRow);
    return rows;
}

#include "tape_convert.h"

#include <cmath>

namespace {

constexpr double kAceClock = 64584.0 * 50; // T-states per second
constexpr double kPilot = 1733, kSync1 = 517, kSync2 = 680, kZero = 743, kOne = 1477;

void Put16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutId(Bytes& out, const char* id) {
    for (int k = 0; k < 4; ++k) // byte by byte: GCC 12 misreads a range insert into an empty vector
        out.push_back(uint8_t(id[k]));
}

// The blocks of a TAP file with their tape flag byte in front.
std::vector<Bytes> FlaggedBlocks(const Bytes& tap) {
    std::vector<Bytes> blocks;
    for (size_t pos = 0; pos + 2 <= tap.size();) {
        const size_t length = tap[pos] | (tap[pos + 1] << 8);
        if (pos + 2 + length > tap.size()) break;
        Bytes block{uint8_t(blocks.size() % 2 == 0 ? 0x00 : 0xFF)};
        block.insert(block.end(), tap.begin() + long(pos) + 2, tap.begin() + long(pos + 2 + length));
        blocks.push_back(std::move(block));
        pos += 2 + length;
    }
    return blocks;
}

// Pulse lengths in T-states; each pulse ends with an edge.
std::vector<double> Pulses(const Bytes& tap) {
    std::vector<double> pulses{0.3 * kAceClock}; // quiet before the tape starts
    for (const Bytes& block : FlaggedBlocks(tap)) {
        pulses.insert(pulses.end(), block[0] == 0 ? 8192 : 1024, kPilot);
        pulses.push_back(kSync1);
        pulses.push_back(kSync2);
        for (uint8_t byte : block)
            for (int bit = 7; bit >= 0; --bit) {
                const double half = (byte >> bit) & 1 ? kOne : kZero;
                pulses.push_back(half);
                pulses.push_back(half);
            }
        pulses.push_back(0.5 * kAceClock); // the gap between blocks
    }
    return pulses;
}

} // namespace

Bytes TapToTzx(const Bytes& tap, uint16_t pauseMs, TzxForm form) {
    // The Ace's pulses in the format's 3.5 MHz T-states.
    auto tzx = [](double aceTstates) { return uint32_t(std::lround(aceTstates * 3500000.0 / kAceClock)); };
    Bytes out{'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20};
    for (const Bytes& block : FlaggedBlocks(tap)) {
        const uint32_t pilots = block[0] == 0 ? 8192 : 1024;
        switch (form) {
        case TzxForm::Standard:
            out.push_back(0x10);
            Put16(out, pauseMs);
            Put16(out, uint32_t(block.size()));
            break;
        case TzxForm::Turbo:
            out.push_back(0x11);
            for (double pulse : {kPilot, kSync1, kSync2, kZero, kOne})
                Put16(out, tzx(pulse));
            Put16(out, pilots);
            out.push_back(8);
            Put16(out, pauseMs);
            Put16(out, uint32_t(block.size()));
            out.push_back(uint8_t(block.size() >> 16));
            break;
        case TzxForm::ToneSyncData:
            out.push_back(0x12);
            Put16(out, tzx(kPilot));
            Put16(out, pilots);
            out.push_back(0x13);
            out.push_back(2);
            Put16(out, tzx(kSync1));
            Put16(out, tzx(kSync2));
            out.push_back(0x14);
            Put16(out, tzx(kZero));
            Put16(out, tzx(kOne));
            out.push_back(8);
            Put16(out, pauseMs);
            Put16(out, uint32_t(block.size()));
            out.push_back(uint8_t(block.size() >> 16));
            break;
        }
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

Bytes TapToWav(const Bytes& tap, const WavShape& shape) {
    const std::vector<double> pulses = Pulses(tap);
    const int bytesPerSample = shape.bits / 8;
    const int align = bytesPerSample * shape.channels;
    Bytes samples;
    const double perSample = kAceClock / shape.rate;
    double t = 0, edge = 0;
    size_t next = 0;
    bool high = false;
    for (;;) {
        while (next < pulses.size() && edge + pulses[next] <= t) {
            edge += pulses[next++];
            high = !high;
        }
        if (next >= pulses.size()) break;
        for (int c = 0; c < shape.channels; ++c) {
            if (shape.bits == 8) {
                samples.push_back(high ? shape.high8 : shape.low8);
            } else {
                const int16_t v = high ? 12000 : -12000;
                Put16(samples, uint16_t(v));
            }
        }
        t += perSample;
    }
    Bytes list;
    if (shape.listChunk) {
        PutId(list, "LIST");
        Put32(list, 4 + 8 + 6);
        PutId(list, "INFO");
        PutId(list, "ISFT");
        Put32(list, 6);
        list.insert(list.end(), {'t', 'e', 's', 't', 's', 0});
    }
    Bytes out;
    PutId(out, "RIFF");
    Put32(out, uint32_t(4 + 24 + list.size() + 8 + samples.size()));
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, uint32_t(shape.channels));
    Put32(out, shape.rate);
    Put32(out, shape.rate * uint32_t(align));
    Put16(out, uint32_t(align));
    Put16(out, uint32_t(shape.bits));
    out.insert(out.end(), list.begin(), list.end());
    PutId(out, "data");
    Put32(out, uint32_t(samples.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

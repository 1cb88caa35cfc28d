// Test tapes made from TAP files: a TZX of standard-speed blocks, and a WAV of the signal
// the Ace's SAVE sends (leader, two sync pulses, each bit as two equal half-periods).
// Each TAP block becomes a flag byte (0x00 for the first of a pair, 0xFF for the
// second) followed by the block's data and checksum, as the ROM's own tape holds it.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes TapToTzx(const Bytes& tap, uint16_t pauseMs = 1000);

struct WavShape {
    uint32_t rate = 44100;
    int bits = 8;           // 8 or 16
    int channels = 1;       // 1 or 2
    bool listChunk = false; // a LIST chunk before "data", as audio editors write
};
Bytes TapToWav(const Bytes& tap, const WavShape& shape);

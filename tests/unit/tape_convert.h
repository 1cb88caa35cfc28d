// Test tapes made from TAP files: a TZX of standard-speed blocks, and a WAV of the signal
// the Ace's SAVE sends (leader, two sync pulses, each bit as two equal half-periods).
// Each TAP block becomes a flag byte (0x00 for the first of a pair, 0xFF for the
// second) followed by the block's data and checksum, as the ROM's own tape holds it.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// How the blocks are written: standard-speed blocks (0x10) with the Ace's timings
// implied, turbo blocks (0x11) carrying the Ace's timings in 3.5 MHz T-states, or the
// same signal built from a pure tone (0x12), a pulse sequence (0x13) for the two sync
// pulses and a pure data block (0x14).
enum class TzxForm { Standard, Turbo, ToneSyncData };

Bytes TapToTzx(const Bytes& tap, uint16_t pauseMs = 1000, TzxForm form = TzxForm::Standard);

struct WavShape {
    uint32_t rate = 44100;
    int bits = 8;           // 8 or 16
    int channels = 1;       // 1 or 2
    bool listChunk = false; // a LIST chunk before "data", as audio editors write
    uint8_t high8 = 200, low8 = 56; // the two 8-bit levels; 128 and 200 swing to one side only
};
Bytes TapToWav(const Bytes& tap, const WavShape& shape);

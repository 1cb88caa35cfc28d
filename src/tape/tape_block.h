// One block of a tape, as the format readers (tap_format.h, tzx_format.h) make it from
// the file's bytes and the tape deck (tape_deck.h) plays or delivers it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How a TZX block sounds, in the format's own 3.5 MHz T-states (the deck scales them to
// the Ace's clock). Standard-speed blocks (0x10) ignore these and use the Ace's own
// pulse lengths.
struct TzxTiming {
    uint16_t pilotPulse = 0; // 0x11 pilot, 0x12 tone pulse
    uint32_t pilotCount = 0; // 0x11 pilot pulses, 0x12 tone pulses
    uint16_t sync1 = 0, sync2 = 0;
    uint16_t zeroPulse = 0, onePulse = 0; // 0x11, 0x14 bit halves
    uint8_t usedBits = 8;                 // bits of the last data byte (0x11, 0x14, 0x15)
    uint16_t samplePeriod = 0;            // 0x15: T-states per sample
    std::vector<uint16_t> pulses;         // 0x13
    uint16_t loopCount = 0;               // 0x24
    std::vector<int16_t> jumps;           // 0x23 one, 0x26 each call, 0x28 each choice: blocks from here
    std::vector<std::string> choices;     // 0x28: each choice's description
    uint8_t chosen = 0;                   // 0x28: the choice that plays (the tape browser may change it)
    uint8_t signalLevel = 0;              // 0x2B: the level the line is set to
};

// One block of a tape. TAP: `data` is everything after the block's length field, the
// checksum byte included. TZX: the data bytes of a data block (0x10, 0x11, 0x14, 0x15).
struct TapeBlock {
    std::vector<uint8_t> data;
    uint16_t length = 0;   // bytes in `data` (a longer TZX block keeps its size in data.size())
    int index = 0;         // position on the tape from 0; the tape browser's row
    int blockId = 0;       // TZX block ID; 0 for TAP blocks
    uint16_t pause = 0;    // TZX pause after the block in ms (0x10 blocks show it only)
    TzxTiming timing;      // TZX signal blocks
    std::string text;      // TZX text, message, group name or archive summary
    bool typeByte = false; // TAP: the file kept a block-type byte after the length word
    TapeBlock* next = nullptr;
    TapeBlock* prev = nullptr;
};

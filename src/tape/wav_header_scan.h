// Finds the first Ace tape header in the loaded WAV by reading the signal as the ROM's
// loader does: a leader of long pulses, one short sync pulse, a second one, then bits
// of two half-periods each, long for 1 and short for 0. The half-periods are measured
// between crossings of the middle level, in the machine's T-states.
//
//   WavHeaderScan scan = ScanWavForHeader(false);  // the signal as it plays by default
//   if (scan.found) ... HeaderFileName(scan.header) is the first file
//
// Real recordings come in either polarity. Playback sees the line high where the
// (usually inverted) sample is above the middle, so a capture that swings to one side
// only, as a DC-coupled recording of the Ace's 0/1 output does (128 and 200), shows no
// edges at all one way round: the polarity whose first header reads with a good
// checksum is the one to play.
#pragma once

#include <cstdint>
#include <vector>

#include "tape/tape_header.h"

struct WavHeaderScan {
    bool found = false;
    std::vector<uint8_t> header; // the ROM's 25 header bytes, type first
};

// `invert` as wavInvert: true reads the signal the other way up from playback's default.
WavHeaderScan ScanWavForHeader(bool invert);

// On load: sets wavInvert to the polarity in which the first header reads (the default
// when neither or both do) and returns that header's file.
TapeFileName DetectWavPolarity();

// ".ace" snapshots: the memory image from 0x2000 up, run-length coded, with the Z80
// registers kept in the part of the image the processor never addresses (0x2100-0x2140,
// behind the video-RAM mirror).
//
//   ED n v   n copies of v (n = 1..255)      ED 00   end of the stream
//   any other byte stands for itself         (a literal ED is always a run: ED 01 ED)
//
//   LoadAceSnapshot();                 // from the load buffer into `ram` and the registers
//   SaveAceSnapshot("/snaps/game");    // writes "/snaps/game.ace", 0x2000-0x7FFF
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/load_result.h"
#include "machine/machine_state.h"

constexpr uint32_t kSnapshotStart = 0x2000;        // the stream's first byte is this `ram` offset
constexpr uint32_t kSnapshotSaveEnd = 0x8000;      // saves cover 0x2000-0x7FFF, whatever the model
constexpr uint32_t kSnapshotRegistersEnd = 0x2141; // a stream must reach past R's byte
constexpr int kSnapshotLongestRun = 240;

struct SnapshotDecodeResult {
    uint32_t end = kSnapshotStart; // one past the last `ram` offset written
    bool overflow = false;         // the stream went on past the end of the 64 KB image
};

// Decodes into a 64 KB image, straight (no mirrors, no model ceiling). Stops at ED 00,
// at the end of the bytes (also inside a run code), or at the image's end (overflow).
SnapshotDecodeResult DecodeAceSnapshot(std::span<const uint8_t> bytes, uint8_t* image);

// Codes image offsets 0x2000-0x7FFF: runs of more than three equal bytes (or any ED)
// become ED n v with n <= 240; the stream ends with ED 00.
std::vector<uint8_t> EncodeAceSnapshot(const uint8_t* image);

// The snapshot area: the fixed marker bytes, zero fields and the registers.
void WriteSnapshotArea(uint8_t* image, const MachineState& m);
void ReadSnapshotRegisters(const uint8_t* image, MachineState& m);

// Loads the load buffer. A stream that runs past the end of memory, or that ends before
// it reaches the registers, is refused with code 12 and changes nothing.
LoadResult LoadAceSnapshot();

// Writes the snapshot (the extension becomes ".ace") and remembers the snapshot folder.
// Returns false when the file could not be created.
bool SaveAceSnapshot(const std::string& path);

// File, Save Snapshot: asks for a name; the ACE filter saves a snapshot, the WAV filter
// prepares a WAV recording instead.
void SaveSnapshotDialog();

// TAP tape images: a file of blocks, each a 16-bit little-endian length L followed by L
// bytes (the data the ROM saved and, last, the XOR of that data). No signature, no
// file header; a header block and its data block make one saved file.
//
//   TapParseResult tape = ParseTapBlocks(bytes);  // blocks stored as they are
//   EncodeTapBlock(header);                      // length, data, XOR checksum
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "base/load_result.h"
#include "tape/tape_block.h"

struct TapParseResult {
    std::vector<TapeBlock> blocks; // every complete block, in file order
    bool truncated = false;        // the last length field ran past the end: that block was dropped
};

// A header block that keeps the block-type byte: type, 25 header bytes, checksum.
constexpr size_t kTypedHeaderLength = 27;

// Blocks are stored as they are, except that a block-type byte some tools keep after the
// length word is taken off (TapeBlock::typeByte tells); the checksum decides which kind
// a block is, and is otherwise not examined, nor is the pairing of headers and data.
TapParseResult ParseTapBlocks(std::span<const uint8_t> bytes);

// The most data bytes one block can carry: its length field (data + checksum) is 16-bit.
constexpr size_t kMaxTapBlockData = 0xFFFE;

// One block as it goes into a file: N + 1 (low byte first), the N bytes, their XOR.
// Data beyond kMaxTapBlockData is not written.
std::vector<uint8_t> EncodeTapBlock(std::span<const uint8_t> data);

// Turns the load buffer into a tape and inserts it (autoloading `bareName` when set).
// A final block cut short by the end of the file is dropped and reported (code 21);
// the complete blocks before it still load. A file without one whole block is reported
// (code 29, or 21 when cut short), leaves the deck as it was and fails.
LoadResult LoadTapFromBuffer(const std::string& bareName);

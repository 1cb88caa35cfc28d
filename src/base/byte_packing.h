// A small, fast packing of byte blocks with long repeats: machine states, whose RAM is
// mostly zeros, whose frame image is rows of the same 32-bit pixel, and whose rewind
// deltas (XorBytes against the state before) are zeros nearly everywhere.
//
// The packed form is a run of tokens: 0x00-0x7F is a literal of (token + 1) bytes that
// follow; 0x80 and up copies bytes already unpacked from 1 byte back (bit 6 clear) or
// from 4 bytes back (bit 6 set), (token & 0x3F) + 4 of them, or for 0x3F a longer count
// of 67 plus a LEB128 number that follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the packed form of data[0, size) to `out`.
void PackBytes(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

// Unpacks into `out` (replacing it); false unless the tokens are whole and give exactly
// `expectedSize` bytes. Never reads or writes outside the buffers, whatever the input.
bool UnpackBytes(const uint8_t* packed, size_t size, size_t expectedSize, std::vector<uint8_t>& out);

// to[i] ^= with[i] for i below `size`.
void XorBytes(uint8_t* to, const uint8_t* with, size_t size);

// FNV-1a over the bytes: the check that a stored state is the one that was written.
uint32_t ByteChecksum(const uint8_t* data, size_t size);

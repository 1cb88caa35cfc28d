// Binary files: raw bytes copied between a file and the memory image at an address the
// user gives in the address and length fields.
//
// Addresses and lengths are read by ParseNumber (base/number_text.h).
//   LoadBinaryFile("/tmp/font.bin", 0x2C00);   // straight into the RAM block, no mirrors
//   SaveBinaryFile("/tmp/screen", 0x2400, 768); // writes "/tmp/screen.bin"
//
// Bytes that would fall outside the 64 KB image are not loaded or saved (the copy is
// cut at the end of memory); an address outside the image is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/load_result.h"

constexpr uint32_t kMemorySize = 0x10000;

enum class BinaryResult {
    Done,       // every byte copied
    Truncated,  // copied up to the end of memory; the rest had nowhere to go
    BadAddress, // the start is outside the image: nothing copied
    CannotWrite // the file could not be created
};

// Copies `bytes` into `ram` from `address` on, cut at the end of memory.
BinaryResult PlaceBinary(std::span<const uint8_t> bytes, uint32_t address);
// Copies the whole file into the RAM block from `address` on, directly (no mirror
// copying, no model ceiling); bytes that would fall past 0xFFFF are dropped. Registers
// and the rest of memory are untouched. Fails, unreported, on an address outside memory
// or a file that cannot be read.
LoadResult LoadBinaryFile(const std::string& path, uint32_t address);
// Writes `length` bytes of `ram` from `start`; the file gets the extension ".bin".
BinaryResult SaveBinaryFile(const std::string& path, uint32_t start, uint32_t length);

// The Load Binary File dialog's Browse button: "Open Binary File", all files, starting in
// the folder of `currentPath`. Returns the chosen path, or `currentPath` when cancelled.
std::string BrowseBinaryFile(const std::string& currentPath);

// The dialogs' OK buttons. Each returns true when its dialog should close. An address or
// length that is not a valid number, or an address outside memory, is reported (code 82)
// and keeps the dialog open; so does cancelling the save dialog. A file that cannot be
// read is reported (code 13) and closes the dialog.
bool LoadBinaryFileCommand(const std::string& path, const std::string& addressText);
bool SaveBinaryFileCommand(const std::string& nameText, const std::string& startText,
                           const std::string& lengthText);

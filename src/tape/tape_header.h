// The first file on a tape, read from its header: what autoload types to load it.
//
//   TapeFileName first = FirstFileOnTape(blocks, false);   // TAP: type, name "RAND"
//   AutoloadText(first, "random")  ==  "load RAND\r"
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tape/tape_block.h"

constexpr uint8_t kHeaderTypeDictionary = 0x00;
constexpr uint8_t kHeaderTypeBytes = 0x20;
constexpr size_t kAceHeaderLength = 25; // type, 10-character name, lengths and addresses

struct TapeFileName {
    bool found = false;
    uint8_t type = kHeaderTypeDictionary;
    std::string name; // as the header holds it, case kept, trailing spaces dropped
};

// The ROM's 25 header bytes (type first); not found when fewer are given.
TapeFileName HeaderFileName(std::span<const uint8_t> header);
// The first header of a TAP tape (a 26-byte block) or of a TZX tape (a data block whose
// flag byte is 0 followed by the header).
TapeFileName FirstFileOnTape(const std::vector<TapeBlock>& blocks, bool tzx);

// The text autoload types, CR-terminated lines: for `opt_tape_type` 0 "load NAME" or,
// for a bytes file, "0 0 bload NAME"; 1 always "0 0 bload NAME"; 2 the same and
// "20000 call". NAME is the header's, or `bareName` when the tape has no header.
std::string AutoloadText(const TapeFileName& first, const std::string& bareName);

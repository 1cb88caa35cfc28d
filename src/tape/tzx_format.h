// TZX tape images: a "ZXTape!" signature and version, then blocks, each an ID byte and
// a body whose length the ID's own rule gives (TZX 1.20). Data blocks become tape blocks
// that the deck plays as a signal; information and control blocks are kept so the tape
// browser can list them, and the deck passes over them.
//
//   TzxParseResult tape = ParseTzx(bytes);
//   if (tape.problem != TzxProblem::None) ... the blocks before the fault are still there
//   InsertTzxImage(std::move(tape.blocks), bareName);
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/load_result.h"
#include "tape/tape_block.h"

enum class TzxProblem {
    None,
    BadSignature, // not a TZX file: no blocks
    Truncated,    // a block ran past the end of the file; the blocks before it are kept
    UnknownBlock, // an ID without a length rule or length word that fits; the tape ends there
};

struct TzxParseResult {
    std::vector<TapeBlock> blocks;
    TzxProblem problem = TzxProblem::None;
    size_t problemOffset = 0; // where the faulty block starts
    int problemId = 0;
};

constexpr size_t kTzxHeaderSize = 10; // "ZXTape!" 0x1A, major, minor

TzxParseResult ParseTzx(std::span<const uint8_t> bytes);

// The format's name of a block ID ("Standard Speed Data Block"); "Unknown Block" else.
const char* TzxBlockName(int id);

// File kind 4 of Load File: the load buffer as a TZX tape, inserted with autoload.
// A wrong signature ejects the deck, reports code 27 and fails (nothing loaded).
// A block cut short (code 21) or an unknown block (code 28) is reported and the blocks
// before it load; the tape then counts as loaded, as a clean one does.
LoadResult LoadTzxFromBuffer(const std::string& bareName);

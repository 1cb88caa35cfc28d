// The tape deck: TAP tapes delivered through the ROM's load routine (the ED FC trap),
// the ROM's SAVE written to TAP files (the ED FD trap), and TZX tapes played as a signal.
//
//   InsertTapImage(ParseTapBlocks(bytes).blocks);  // plants ED FC C9 at 0x18A7, may autoload
//   ... the ROM's LOAD reaches 0x18A7 -> TapeLoadTrap() copies the next block into memory
//   ... the ROM's SAVE reaches 0x1820 -> TapeSaveTrap() asks for a file and writes blocks
//   EjectTape();                                  // puts the ROM's own bytes back
//
// The deck owns the tape in it and all of its blocks. Everything runs on the main thread,
// from the instruction step and the window commands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "machine/hook_switches.h"

// One block of a tape. TAP: `data` is everything after the block's length field, the
// checksum byte included. TZX: the data of a standard-speed block.
struct TapeBlock {
    std::vector<uint8_t> data;
    uint16_t length = 0; // bytes in `data`
    int index = 0;       // position on the tape from 0; the tape browser's row
    int blockId = 0;     // TZX block ID (only 0x10 is stored); 0 for TAP blocks
    uint16_t pause = 0;  // TZX pause after the block in ms; shown, never played
    TapeBlock* next = nullptr;
    TapeBlock* prev = nullptr;
};

// The tape in the deck: its blocks in tape order, linked through next/prev. The links
// point into `blocks`, so an image is moved, never copied.
struct TapeImage {
    std::vector<TapeBlock> blocks;
    bool isTzx = false;

    explicit TapeImage(std::vector<TapeBlock> tapeBlocks, bool tzx);
    TapeImage(const TapeImage&) = delete;
    TapeImage& operator=(const TapeImage&) = delete;

    TapeBlock* first() { return blocks.empty() ? nullptr : &blocks.front(); }
    TapeBlock* last() { return blocks.empty() ? nullptr : &blocks.back(); }
};

constexpr uint16_t kLoadTrapAddress = 0x18A7;    // the ROM's tape-block read routine
constexpr uint16_t kHeaderNameOffset = 0x2702;   // `ram` offset of the name the ROM asked for
constexpr uint16_t kHeaderBufferOffset = 0x2701; // `ram` offset of the ROM's tape header

// Deck state.
extern std::unique_ptr<TapeImage> tapeInDeck;
extern TapeBlock* currentBlock; // the block the next load trap delivers or TZX plays
extern bool expectHeader;       // the next delivered block is treated as a header
extern bool saveHeaderNext;     // the next saved block is a header and starts a new file
extern std::FILE* tapSaveFile;  // the TAP file between the two save traps
inline bool& tzxInserted = rareHookSwitches.tzxInserted;
inline bool& tzxPlaying = rareHookSwitches.tzxPlaying;
extern uint8_t tapeLevel;
extern int32_t edgeCountdown;
extern bool blockStarted;

// Tape settings (live values; the configuration stores them).
extern bool opt_autoload;
extern uint8_t opt_tape_type; // 0 "load", 1 "0 0 bload name", 2 the same and "20000 call"
extern bool opt_autorewind;
extern bool opt_fastloadtzx;

bool TapeInDeck();
// Eject whatever is in the deck, take the blocks (indexed from 0 in order), make the
// first current; a TAP tape plants the load trap. With autoload on, types the load
// command for `bareName`.
void InsertTapImage(std::vector<TapeBlock> blocks, const std::string& bareName);
void InsertTzxImage(std::vector<TapeBlock> blocks, const std::string& bareName);
// Frees the tape, stops playback and restores the ROM's own bytes at 0x18A7.
void EjectTape();
// Makes `block` (or none) the current block; at the end of a playing tape, stops it.
void SelectBlock(TapeBlock* block);

// ED FC: only while a tape is in the deck; returns false (and does nothing) without one.
bool TapeLoadTrap();
// ED FD: the ROM's SAVE, with the length in DE and the address in HL.
void TapeSaveTrap();

// The text autoload types for `opt_tape_type`, CR-terminated lines.
std::string AutoloadText(const std::string& bareName);

// TZX playback: the pulse generator is not built yet; these keep the deck stopped.
void StartTzxPlayback();
void StopTzxPlayback();
void TapeTick(uint32_t tstates);

// ROM patches. The load trap's bytes come back from the pristine ROM image, so an eject
// leaves the ROM exactly as it was read from its file.
void InstallLoadTrap();
void RemoveLoadTrap();
// Takes the save trap out of 0x1820 (a WAV recording lets the ROM's own SAVE run).
void RemoveSaveTrap();

// Back to power-on: tape ejected, an unfinished TAP save closed, both flags true.
void ResetTapeDeck();

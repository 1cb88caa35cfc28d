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

#include "base/file_writer.h"
#include "machine/hook_switches.h"
#include "tape/tape_block.h"

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

// The deck's state: the tape in it, where playback is, the TAP file being saved.
struct TapeDeckState {
    std::unique_ptr<TapeImage> tapeInDeck;
    TapeBlock* currentBlock =
        nullptr; // the block the next load trap delivers or TZX plays; none past the end of a TAP
    bool saveHeaderNext = true;       // the next saved block is a header and starts a new file
    std::unique_ptr<FileWriter> tapSave; // the TAP file between the two save traps
    uint8_t tapeLevel = 0;
    int32_t edgeCountdown = 0;
    bool blockStarted = false;
    bool tapeAtEnd = false;   // playback ran off the last block; the ROM's next LOAD finds nothing
    std::string tapeFileName; // the file the tape in the deck came from, without folder
    // Whether the ROM listened to the tape in this frame and the one before (one LOAD).
    bool listenedThisFrame = false, listenedLastFrame = false;

    // Back to power-on: tape ejected, an unfinished TAP save closed, TZX playback off, no
    // WAV loaded or recording.
    void Reset();
};
extern TapeDeckState tapeDeck;
inline bool& tzxInserted = rareHookSwitches.tzxInserted;
inline bool& tzxPlaying = rareHookSwitches.tzxPlaying;

// Tape settings (live values; the configuration stores them).
extern bool opt_autoload;
extern uint8_t opt_tape_type; // 0 "load", 1 "0 0 bload name", 2 the same and "20000 call"
extern bool opt_autorewind;
extern bool opt_fastloadtzx; // TZX and WAV tapes play at host speed while the ROM reads them

bool TapeInDeck();
// What the deck holds, for the status bar: "maze.tap (TAP)", "xmodem.tzx (TZX)", a loaded
// WAV as "song.wav (WAV)", both joined by ", "; "" when empty.
std::string DeckContents();
// Eject whatever is in the deck, take the blocks (indexed from 0 in order), make the
// first current; a TAP tape plants the load trap. With autoload on, types the command
// that loads the tape's first file (tape_header.h; `bareName` when it has no header).
void InsertTapImage(std::vector<TapeBlock> blocks, const std::string& bareName);
void InsertTzxImage(std::vector<TapeBlock> blocks, const std::string& bareName);
// Frees the tape, stops playback and restores the ROM's own bytes at 0x18A7.
void EjectTape();
// Makes `block` (or none) the current block; at the end of a playing tape, stops it.
void SelectBlock(TapeBlock* block);

// ED FC: only while a tape is in the deck. A header request gets the next header on the
// tape, a data request the block after it, cut to the length the ROM asked for; the
// current block then moves on. With nothing left to deliver (or no tape) it returns
// false: with a tape the ROM's own reader then listens to silence (BREAK works).
bool TapeLoadTrap();
// ED FD: the ROM's SAVE, with the length in DE and the address in HL.
void TapeSaveTrap();
// Commits the TAP file being saved, reporting a failure; a save cut short after its
// header keeps the header alone.
void FinishTapSave();

// One LOAD of the ROM is the time it spends listening to the tape without a whole frame
// away from it. A tape that stopped during a LOAD stays stopped for the rest of it, so a
// LOAD that finds no match waits (BREAK works) instead of playing the tape end over.
// True when the ROM starts a new LOAD; the trap and the 0x191B hook call it.
bool NoteRomListening();
// A tape just went in: the LOAD the ROM is in (or starts next) counts as a new one.
void ForgetRomListening();
// The frame driver, at the end of each frame.
void TapeFrameEnded();
// The ROM reached 0x191B, its edge loop: a TZX tape or a WAV starts playing when this is
// a new LOAD (a tape at its end plays again only with autorewind).
void RomListensToTape();

// TZX playback (tape_signal.cpp): the deck plays the tape as edges of the tape level.
// Start waits 812500 T-states before the first edge, as a real recorder winds up.
void StartTzxPlayback();
void StopTzxPlayback();
// Stopped, and the pulse generator, loop and call state back at their start (the deck's
// Reset; they point into the tape it ejects).
void ResetTzxSignal();
// Runs the edges whose time has come; TapeTick is called after every instruction while
// a tape plays, so the common case (no edge due) stays inline.
void TapeEdgesDue();
inline void TapeTick(uint32_t tstates) {
    tapeDeck.edgeCountdown -= int32_t(tstates);
    if (tapeDeck.edgeCountdown <= 0) TapeEdgesDue();
}
// How far playback is into the current block, in its own units (bytes, pulses or
// samples), and the block's total; the tape browser's progress bar.
struct BlockProgress {
    uint32_t done = 0, total = 0;
};
BlockProgress CurrentBlockProgress();

// ROM patches. The load trap's bytes come back from the pristine ROM image, so an eject
// leaves the ROM exactly as it was read from its file.
void InstallLoadTrap();
void RemoveLoadTrap();
// Takes the save trap out of 0x1820 (a WAV recording lets the ROM's own SAVE run) and
// plants it again when the recording ends.
void RemoveSaveTrap();
void InstallSaveTrap();

// The TZX signal's private playing state, for saved machine states
// (machine/saved_state.cpp): the pulse generator as plain bytes, the loop and call blocks.
struct TapeInternals {
    void* generator;
    size_t generatorSize;
    TapeBlock*& loopStart;
    uint32_t& loopLeft;
    TapeBlock*& callBlock;
    size_t& callIndex;
};
TapeInternals TapeInternalState();

// Complete states of the emulated machine, captured and put back exactly: the Z80 with
// MEMPTR and Q, memory and the live ROM image (its traps included), the page side and
// port latches, the AY chip and the sound clocks, the beam and its frame image, spool
// typing, and the tape deck's place on its tape. Running on from a restored state gives
// the same frames as never having left it.
//
// Every reference to the subsystems' own variables is in saved_state.cpp, one function
// per subsystem, so that a change in how a subsystem keeps its state touches one file.
//
//   std::vector<uint8_t> raw = CaptureMachineState();   // sections, unpacked
//   RestoreMachineState(raw, error);                    // all or nothing
//   SaveStateFile("slot1.nst", error);  LoadStateFile("slot1.nst", error);
//
// A state is a list of sections (a 4-letter tag, a 32-bit length, the bytes). The file
// form adds a header (magic "NOLTSTAT", format version, model, the unpacked length and
// its checksum) and packs the sections (base/byte_packing.h). A reader checks every
// byte of a file and every section before the machine changes; a bad file changes
// nothing and says why. Tape contents are not part of a state: a state put back over the
// same tape keeps its place on it, over another tape (or none) the deck stays as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/load_result.h"

constexpr uint16_t kStateFormatVersion = 1;
constexpr char kStateFileExtension[] = ".nst";

std::vector<uint8_t> CaptureMachineState();
// False, with a one-line reason, when `raw` is not a whole state of this version; the
// machine is then untouched.
bool RestoreMachineState(const std::vector<uint8_t>& raw, std::string& error);
// The model a captured state was taken on (0-3), or -1 when it has no valid machine section.
int StateModel(const std::vector<uint8_t>& raw);

// The file form of a raw state, and back (checked whole; `raw` is set only on success).
std::vector<uint8_t> EncodeStateFile(const std::vector<uint8_t>& raw);
bool DecodeStateFile(const uint8_t* data, size_t size, std::vector<uint8_t>& raw, std::string& error);

// The front end's own part of a state file: its key queue, the PC key events still on
// their way to the matrix. A quick save keeps them, so a load types on exactly as the
// machine would have. Only state files carry it (a rewind replays the key matrix
// itself); a state without it empties the queue, and a program without a front-end
// part (noltace-headless) passes the section by.
struct FrontEndStateSection {
    std::vector<uint8_t> (*capture)() = nullptr;
    // Whole and sound? Checked before anything changes.
    bool (*check)(const std::vector<uint8_t>& bytes) = nullptr;
    // Puts it back; `bytes` is empty when the state has none.
    void (*restore)(const std::vector<uint8_t>& bytes) = nullptr;
};
void SetFrontEndStateSection(const FrontEndStateSection& section);

// Whole files: false (or Failed) with a one-line reason (cannot write / read, or what is
// wrong with the file); a failed load leaves the machine as it was.
bool SaveStateFile(const std::string& path, std::string& error);
LoadResult LoadStateFile(const std::string& path, std::string& error);

// Loading the 8 KB ROM image and building the page table over it.
//
// The ROM folder is set at start-up (the application's roms/ folder, or wherever the
// user keeps "ace.rom"). A failed load reports through ReportMessage and keeps the
// previous ROM image and page table.
#pragma once

#include <cstdint>
#include <string>

#include "base/load_result.h"

constexpr uint32_t kRomSize = 8192;
constexpr uint16_t kSaveTrapAddress = 0x1820; // the ROM's tape SAVE routine

struct RomState {
    // Folder searched for ROM files, with a trailing separator ("" = current folder).
    std::string romFolder;
    // "ACE.ROM" or the upper-cased name of a custom ROM; empty before the first load.
    std::string currentRomName;
    uint8_t romImage[kRomSize]{}; // the live image, traps planted
    // The image as it came from the file, before any trap was planted.
    uint8_t pristineRom[kRomSize]{};

    // No ROM loaded: the image is all zeros (NOPs) again and the folder forgotten; the
    // page table still points at the image until it is built again.
    void Reset();
};
extern RomState romState;

// The ROM image as it came from the file, before any trap was planted. Patches restore
// their bytes from here, so an eject or a finished recording gives back the real ROM.
const uint8_t* PristineRom();

// Failed when the file could not be read or has the wrong length (and reported why).
LoadResult LoadStandardRom();
LoadResult LoadCustomRom(const std::string& name); // name relative to romFolder, or an absolute path
LoadResult LoadRomFile(const std::string& path, const std::string& displayName);
void BuildPageTable();
void SetModel();

// Puts bytes [address, address + n) of the pristine ROM back into the live image.
void RestoreRomBytes(uint16_t address, int n);

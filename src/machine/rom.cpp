#include "machine/rom.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "machine/machine_state.h"
#include "machine/memory_map.h"
#include "tape/load_buffer.h"

RomState romState;

namespace {

// Reads a ROM file of exactly kRomSize bytes. Reports 2 (missing or unreadable, a
// folder included) or 3 (wrong length) and returns false otherwise.
bool ReadRomFile(const std::string& path, std::vector<uint8_t>& out) {
    if (!ReadFileBytes(path, out)) {
        ReportMessage(kCaptionError, kMsgRomMissing);
        return false;
    }
    if (out.size() != kRomSize) {
        ReportMessage(kCaptionError, kMsgRomWrongLength);
        return false;
    }
    return true;
}

bool IsAbsolute(const std::string& name) { return !name.empty() && name.front() == '/'; }

} // namespace

const uint8_t* PristineRom() {
    return romState.pristineRom;
}

void RomState::Reset() {
    romFolder.clear();
    currentRomName.clear();
    std::memset(romImage, 0, kRomSize);
    std::memset(pristineRom, 0, kRomSize);
    machine.rom = nullptr;
}

LoadResult LoadRomFile(const std::string& path, const std::string& displayName) {
    std::vector<uint8_t> bytes;
    if (!ReadRomFile(path, bytes)) return LoadResult::Failed;
    std::memcpy(romState.romImage, bytes.data(), kRomSize);
    std::memcpy(romState.pristineRom, bytes.data(), kRomSize);
    machine.rom = romState.romImage;
    romState.currentRomName = displayName;
    BuildPageTable();
    return LoadResult::Loaded;
}

LoadResult LoadStandardRom() {
    return LoadRomFile(romState.romFolder + "ace.rom", "ACE.ROM");
}

LoadResult LoadCustomRom(const std::string& name) {
    const std::string path = IsAbsolute(name) ? name : romState.romFolder + name;
    std::string base = name.substr(name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/') + 1);
    std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return std::toupper(c); });
    return LoadRomFile(path, base);
}

void BuildPageTable() {
    machine.ram = ramBlock;
    machine.pages[0] = machine.rom ? machine.rom : romState.romImage;
    for (int n = 1; n < 8; ++n) machine.pages[n] = ramBlock + n * 0x2000;
    // The tape save trap: ED FD hands the ROM's SAVE to the tape deck, RET returns at once.
    uint8_t* rom = machine.pages[0];
    rom[kSaveTrapAddress] = 0xED;
    rom[kSaveTrapAddress + 1] = 0xFD;
    rom[kSaveTrapAddress + 2] = 0xC9;
    BuildMemoryMap();
}

void SetModel() {
    LoadStandardRom();
    ApplyModelLimits(machine.model);
}

void RestoreRomBytes(uint16_t address, int n) {
    for (int k = 0; k < n && address + k < int(kRomSize); ++k)
        romState.romImage[address + k] = romState.pristineRom[address + k];
}

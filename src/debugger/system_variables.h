// The FORTH system variables of the Ace ROM, which live in RAM from 0x3C00: their names
// as the disassembler prints them in place of an address and as the FORTH views list
// them, their addresses and their sizes in bytes.
#pragma once

#include <array>
#include <cstdint>

struct SystemVariable {
    const char* name; // at most 7 characters
    uint16_t address;
    uint8_t size; // bytes
};

inline constexpr std::array<SystemVariable, 25> kSystemVariables{{
    {"FP_WS", 0x3C00, 19},  {"LISTWS", 0x3C13, 5},  {"RAMTOP", 0x3C18, 2}, {"HLD", 0x3C1A, 2},
    {"SCRPOS", 0x3C1C, 2},  {"INSCRN", 0x3C1E, 2},  {"CURSOR", 0x3C20, 2}, {"ENDBUF", 0x3C22, 2},
    {"L_HALF", 0x3C24, 2},  {"KEYCOD", 0x3C26, 1},  {"KEYCNT", 0x3C27, 1}, {"STATIN", 0x3C28, 1},
    {"EXWRCH", 0x3C29, 2},  {"FRAMES", 0x3C2B, 4},  {"XCOORD", 0x3C2F, 1}, {"YCOORD", 0x3C30, 1},
    {"CURRENT", 0x3C31, 2}, {"CONTEXT", 0x3C33, 2}, {"VOCLNK", 0x3C35, 2}, {"STKBOT", 0x3C37, 2},
    {"DICT", 0x3C39, 2},    {"SPARE", 0x3C3B, 2},   {"ERR_NO", 0x3C3D, 1}, {"FLAGS", 0x3C3E, 1},
    {"BASE", 0x3C3F, 1},
}};

// The variable that starts exactly at `address`, or nullptr.
inline const SystemVariable* SystemVariableAt(uint32_t address) {
    for (const SystemVariable& v : kSystemVariables)
        if (v.address == address) return &v;
    return nullptr;
}

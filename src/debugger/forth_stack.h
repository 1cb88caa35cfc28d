// The FORTH stacks as the ROM keeps them. The data stack grows upwards from 12 bytes past
// STKBOT (the ROM's underflow check keeps that gap) to SPARE, the first free byte; the
// return stack is the Z80 stack, whose entries are addresses in the bodies of the words
// that called the one running.
//
//   FormatForthDataStack(ReadForthDataStack(), 10) == "depth 3: -3 2 1"  // after 1 2 -3
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ForthDataStack {
    int depth = 0;               // cells; negative after an underflow the ROM has not yet reported
    std::vector<uint16_t> cells; // top first, at most kMaxShownCells
};
constexpr int kMaxShownCells = 256;

ForthDataStack ReadForthDataStack();
// "depth 3: -3 2 1" with the values signed in `base` (2..36); "depth 0" when empty.
std::string FormatForthDataStack(const ForthDataStack& stack, int base);
// One value signed and unsigned in `base`: "-3  65533", in hexadecimal "-#3  #FFFD".
std::string FormatStackCell(uint16_t value, int base);

struct ReturnStackEntry {
    uint16_t stackAddress = 0; // where the Z80 stack holds it
    uint16_t value = 0;
    std::string word; // the word whose body holds `value` (RAM, else ROM), "" when none does
    uint16_t offset = 0; // from that word's parameter field
};
// From the Z80's SP up to RAMTOP, at most kMaxShownCells entries.
std::vector<ReturnStackEntry> ReadForthReturnStack();
// "3FFA  3C5E  SQ+4" or "3FFC  0591" when no word holds the address.
std::string FormatReturnStackEntry(const ReturnStackEntry& entry);

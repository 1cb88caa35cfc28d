#include "display/screen_text.h"

#include <bit>
#include <cstdint>

#include "machine/machine_state.h"

namespace {
constexpr int kScreenRows = 24;
constexpr int kScreenColumns = 32;
constexpr uint16_t kVideoRam = 0x2400;
constexpr uint16_t kCharacterRam = 0x2C00;

// The quadrant block characters by the quarters they fill: bit 0 top left, 1 top right,
// 2 bottom left, 3 bottom right.
const char* const kQuadrantBlocks[16] = {
    " ", "\u2598", "\u259D", "\u2580", "\u2596", "\u258C", "\u259E", "\u259B",
    "\u2597", "\u259A", "\u2590", "\u259C", "\u2584", "\u2599", "\u259F", "\u2588",
};

// A quarter of the 8 x 8 picture counts as filled when most of its 16 dots are ink.
const char* NearestBlock(uint8_t code) {
    const uint8_t* picture = machine.ram + kCharacterRam + code * 8;
    int quarters = 0;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int top = quarter >= 2 ? 4 : 0;
        const uint8_t mask = quarter % 2 ? 0x0F : 0xF0;
        int ink = 0;
        for (int row = top; row < top + 4; ++row)
            ink += std::popcount(uint8_t(picture[row] & mask));
        if (ink > 8) quarters |= 1 << quarter;
    }
    return kQuadrantBlocks[quarters];
}

std::string CopiedCharacter(uint8_t code) {
    code &= 0x7F; // inverse video as plain
    if (code == 96) return "\u00A3";
    if (code == 127) return "\u00A9";
    if (code >= 32) return std::string(1, char(code));
    return NearestBlock(code);
}

} // namespace

std::string ScreenLine(int row) {
    std::string line;
    const uint8_t* video = machine.ram + kVideoRam + row * kScreenColumns;
    for (int column = 0; column < kScreenColumns; ++column) {
        const uint8_t c = video[column] & 0x7F;
        line += (c >= 32 && c <= 126) ? char(c) : '.';
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string ScreenText() {
    std::string text;
    for (int row = 0; row < kScreenRows; ++row)
        text += ScreenLine(row) + "\n";
    return text;
}

std::string ScreenTextForCopying() {
    std::string text;
    for (int row = 0; row < kScreenRows; ++row) {
        std::string line;
        const uint8_t* video = machine.ram + kVideoRam + row * kScreenColumns;
        for (int column = 0; column < kScreenColumns; ++column)
            line += CopiedCharacter(video[column]);
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

#include "display/screen_text.h"

#include <cstdint>

#include "machine/machine_state.h"

namespace {
constexpr int kScreenRows = 24;
constexpr int kScreenColumns = 32;
constexpr uint16_t kVideoRam = 0x2400;
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

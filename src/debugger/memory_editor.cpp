#include "debugger/memory_editor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "debugger/debugger_text.h"
#include "debugger/memory_tools.h"
#include "machine/machine_state.h"

uint32_t MemoryEditor::MaxTop() {
    const int64_t top = int64_t(machine.ramTop) + 1 - kBytesShown;
    return top > 0 ? uint32_t(top) & ~0xFu : 0;
}

void MemoryEditor::Left() {
    if (!halfByte_ && index_ % kBytesPerRow > 0) --index_;
}

void MemoryEditor::Right() {
    if (!halfByte_ && index_ % kBytesPerRow < kBytesPerRow - 1) ++index_;
}

void MemoryEditor::Up() {
    if (!halfByte_ && index_ >= kBytesPerRow) index_ -= kBytesPerRow;
}

void MemoryEditor::Down() {
    if (!halfByte_ && index_ < kBytesShown - kBytesPerRow) index_ += kBytesPerRow;
}

void MemoryEditor::Home() {
    if (!halfByte_) index_ -= index_ % kBytesPerRow;
}

void MemoryEditor::End() {
    if (!halfByte_) index_ += kBytesPerRow - 1 - index_ % kBytesPerRow;
}

void MemoryEditor::PageUp() {
    ScrollBy(-kBytesShown);
}

void MemoryEditor::PageDown() {
    ScrollBy(kBytesShown);
}

void MemoryEditor::ScrollTo(int64_t top) {
    top = std::clamp<int64_t>(top, 0, MaxTop());
    top_ = uint32_t(top) & ~0xFu;
    halfByte_ = false;
}

void MemoryEditor::GoTo(uint32_t address) {
    if (address > machine.ramTop) address = machine.ramTop;
    ScrollTo(address);
    index_ = int(address - top_);
}

bool MemoryEditor::TypeHexDigit(char c) {
    const char upper = char(std::toupper(static_cast<unsigned char>(c)));
    int digit = -1;
    if (upper >= '0' && upper <= '9') digit = upper - '0';
    if (upper >= 'A' && upper <= 'F') digit = upper - 'A' + 10;
    if (digit < 0) return false;
    if (!halfByte_) {
        firstDigit_ = uint8_t(digit);
        halfByte_ = true;
        return true;
    }
    DebugWriteByte(caretAddress(), uint8_t(firstDigit_ << 4 | digit));
    halfByte_ = false;
    if (index_ % kBytesPerRow < kBytesPerRow - 1) ++index_;
    return true;
}

std::vector<std::string> MemoryEditor::Rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < kRows; ++r) {
        const uint32_t address = top_ + uint32_t(r * kBytesPerRow);
        char text[96];
        int n = std::snprintf(text, sizeof text, "%04X   ", unsigned(address));
        for (int k = 0; k < kBytesPerRow; ++k)
            n += std::snprintf(text + n, sizeof text - n, "%02X ", DebugReadByte(address + k));
        text[n++] = ' ';
        text[n++] = ' ';
        for (int k = 0; k < kBytesPerRow; ++k) {
            const uint8_t c = DebugReadByte(address + k);
            text[n++] = ShownCharacter(c);
        }
        std::string row(text, n);
        if (halfByte_ && caretRow() == r + 1) {
            row[size_t(caretColumn() - 2)] = "0123456789ABCDEF"[firstDigit_];
            row[size_t(caretColumn() - 1)] = ' ';
        }
        rows.push_back(row);
    }
    return rows;
}

// The memory editor's model: 32 rows of 16 bytes from `editTop`, a caret on one byte,
// and hexadecimal typing that writes a byte when its second digit arrives. Addresses
// below 0x2000 are the ROM image, which the editor changes too (Restore ROM puts it back).
//
// The window only paints Rows() and passes keys on; the caret's character column is
// 9 + 3 * (index % 16), its row 1 + index / 16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MemoryEditor {
  public:
    static constexpr int kRows = 32;
    static constexpr int kBytesPerRow = 16;
    static constexpr int kBytesShown = kRows * kBytesPerRow;

    uint32_t editTop() const { return top_; }
    int editIndex() const { return index_; } // caret offset from editTop, 0..511
    int caretRow() const { return 1 + index_ / kBytesPerRow; }
    int caretColumn() const { return 9 + 3 * (index_ % kBytesPerRow); }
    bool halfByte() const { return halfByte_; }
    uint32_t caretAddress() const { return top_ + uint32_t(index_); }

    // Caret moves; they do nothing while half a byte has been typed.
    void Left();
    void Right();
    void Up();
    void Down();
    void Home();
    void End();
    // Whole pages and scrolling move editTop, kept within 0..ramTop - 511 on a 16-byte
    // boundary.
    void PageUp();
    void PageDown();
    void ScrollTo(int64_t top);
    void ScrollBy(int64_t bytes) { ScrollTo(int64_t(top_) + bytes); }
    // Shows `address` in the top row with the caret on it.
    void GoTo(uint32_t address);
    static uint32_t MaxTop();

    // 0-9, A-F (either case): false for any other character. The second digit writes the
    // byte and moves the caret right unless it is on the row's last byte.
    bool TypeHexDigit(char c);

    // "%04X   " address, 16 bytes as "%02X ", two spaces, the 16 bytes as characters;
    // with half a byte typed, that digit shows at the caret.
    std::vector<std::string> Rows() const;

  private:
    uint32_t top_ = 0;
    int index_ = 0;
    bool halfByte_ = false;
    uint8_t firstDigit_ = 0;
};

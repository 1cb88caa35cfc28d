// PC key codes as the keyboard handlers see them: the Windows virtual-key numbering,
// which every platform front end translates its own key events into (qt/qt_key_map.h).
// The symbol keys (0xBA-0xC0, 0xDB-0xDF) are named after the keys of a UK keyboard,
// the layout the Ace's symbol mapping was drawn up for.
#pragma once

#include <cstdint>

namespace vk {

constexpr uint8_t kBackspace = 0x08;
constexpr uint8_t kTab = 0x09;
constexpr uint8_t kReturn = 0x0D;
constexpr uint8_t kShift = 0x10;
constexpr uint8_t kControl = 0x11;
constexpr uint8_t kAlt = 0x12; // VK_MENU
constexpr uint8_t kPause = 0x13;
constexpr uint8_t kCapsLock = 0x14;
constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kSpace = 0x20;
constexpr uint8_t kPageUp = 0x21;
constexpr uint8_t kPageDown = 0x22;
constexpr uint8_t kEnd = 0x23;
constexpr uint8_t kHome = 0x24;
constexpr uint8_t kLeft = 0x25;
constexpr uint8_t kUp = 0x26;
constexpr uint8_t kRight = 0x27;
constexpr uint8_t kDown = 0x28;
constexpr uint8_t kPrintScreen = 0x2C;
constexpr uint8_t kInsert = 0x2D;
constexpr uint8_t kDelete = 0x2E;

constexpr uint8_t k0 = 0x30; // '0' to '9' are 0x30 to 0x39
constexpr uint8_t kA = 0x41; // 'A' to 'Z' are 0x41 to 0x5A
constexpr uint8_t Digit(int d) {
    return uint8_t(k0 + d);
}
constexpr uint8_t Letter(char c) {
    return uint8_t(c);
} // upper-case 'A' to 'Z'

constexpr uint8_t kLeftWindows = 0x5B;
constexpr uint8_t kRightWindows = 0x5C;
constexpr uint8_t kApplications = 0x5D;

constexpr uint8_t kPad0 = 0x60; // numeric pad digits 0x60 to 0x69
constexpr uint8_t PadDigit(int d) {
    return uint8_t(kPad0 + d);
}
constexpr uint8_t kPadMultiply = 0x6A;
constexpr uint8_t kPadAdd = 0x6B;
constexpr uint8_t kPadSubtract = 0x6D;
constexpr uint8_t kPadDecimal = 0x6E;
constexpr uint8_t kPadDivide = 0x6F;

constexpr uint8_t kF1 = 0x70; // F1 to F24 are 0x70 to 0x87
constexpr uint8_t Function(int n) {
    return uint8_t(kF1 + n - 1);
}

constexpr uint8_t kNumLock = 0x90;
constexpr uint8_t kScrollLock = 0x91;

constexpr uint8_t kLeftShift = 0xA0;
constexpr uint8_t kRightShift = 0xA1;
constexpr uint8_t kLeftControl = 0xA2;
constexpr uint8_t kRightControl = 0xA3;

constexpr uint8_t kSemicolon = 0xBA;    // ; :
constexpr uint8_t kEquals = 0xBB;       // = +
constexpr uint8_t kComma = 0xBC;        // , <
constexpr uint8_t kMinus = 0xBD;        // - _
constexpr uint8_t kPeriod = 0xBE;       // . >
constexpr uint8_t kSlash = 0xBF;        // / ?
constexpr uint8_t kApostrophe = 0xC0;   // ' @
constexpr uint8_t kOpenBracket = 0xDB;  // [ {
constexpr uint8_t kBackslash = 0xDC;    // \ |
constexpr uint8_t kCloseBracket = 0xDD; // ] }
constexpr uint8_t kHash = 0xDE;         // # ~
constexpr uint8_t kBacktick = 0xDF;     // ` (no Ace key)

} // namespace vk

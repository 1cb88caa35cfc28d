#include "app/qt/qt_key_map.h"

#include <QKeyEvent>

#include "app/keyboard.h"
#include "app/virtual_keys.h"

namespace {

struct NamedKey {
    int qtKey;
    uint8_t virtualKey;
};

// Keys that produce no character.
constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Backspace, vk::kBackspace},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},
    {Qt::Key_Alt, vk::kAlt},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapsLock},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_PageUp, vk::kPageUp},
    {Qt::Key_PageDown, vk::kPageDown},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Print, vk::kPrintScreen},
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_Meta, vk::kLeftWindows},
    {Qt::Key_Menu, vk::kApplications},
    {Qt::Key_NumLock, vk::kNumLock},
    {Qt::Key_ScrollLock, vk::kScrollLock},
};

// The numeric pad's operators (with Qt::KeypadModifier).
constexpr NamedKey kPadKeys[] = {
    {Qt::Key_Asterisk, vk::kPadMultiply}, {Qt::Key_Plus, vk::kPadAdd},      {Qt::Key_Minus, vk::kPadSubtract},
    {Qt::Key_Period, vk::kPadDecimal},    {Qt::Key_Comma, vk::kPadDecimal}, {Qt::Key_Slash, vk::kPadDivide},
};

// Symbol characters: the UK key carrying them and whether it needs Shift for them, and
// the key that types them on the Ace under SYMBOL SHIFT. The digit row's symbols have
// no UK key here: that row maps by position, so these arrive only from elsewhere.
struct SymbolCharacter {
    int qtKey;
    uint8_t virtualKey; // 0 = none
    bool shifted;
    uint8_t symbolKey;
};

constexpr SymbolCharacter kSymbolCharacters[] = {
    {Qt::Key_Semicolon, vk::kSemicolon, false, 'O'},
    {Qt::Key_Colon, vk::kSemicolon, true, 'Z'},
    {Qt::Key_Equal, vk::kEquals, false, 'L'},
    {Qt::Key_Plus, vk::kEquals, true, 'K'},
    {Qt::Key_Comma, vk::kComma, false, 'N'},
    {Qt::Key_Less, vk::kComma, true, 'R'},
    {Qt::Key_Minus, vk::kMinus, false, 'J'},
    {Qt::Key_Underscore, vk::kMinus, true, '0'},
    {Qt::Key_Period, vk::kPeriod, false, 'M'},
    {Qt::Key_Greater, vk::kPeriod, true, 'T'},
    {Qt::Key_Slash, vk::kSlash, false, 'V'},
    {Qt::Key_Question, vk::kSlash, true, 'C'},
    {Qt::Key_Apostrophe, vk::kApostrophe, false, '7'},
    {Qt::Key_At, vk::kApostrophe, true, '2'},
    {Qt::Key_BracketLeft, vk::kOpenBracket, false, 'Y'},
    {Qt::Key_BraceLeft, vk::kOpenBracket, true, 'F'},
    {Qt::Key_Backslash, vk::kBackslash, false, 'D'},
    {Qt::Key_Bar, vk::kBackslash, true, 'S'},
    {Qt::Key_BracketRight, vk::kCloseBracket, false, 'U'},
    {Qt::Key_BraceRight, vk::kCloseBracket, true, 'G'},
    {Qt::Key_NumberSign, vk::kHash, false, '3'},
    {Qt::Key_AsciiTilde, vk::kHash, true, 'A'},
    {Qt::Key_Exclam, 0, false, '1'},
    {Qt::Key_QuoteDbl, 0, false, 'P'},
    {Qt::Key_Dollar, 0, false, '4'},
    {Qt::Key_Percent, 0, false, '5'},
    {Qt::Key_AsciiCircum, 0, false, 'H'},
    {Qt::Key_Ampersand, 0, false, '6'},
    {Qt::Key_Asterisk, 0, false, 'B'},
    {Qt::Key_ParenLeft, 0, false, '8'},
    {Qt::Key_ParenRight, 0, false, '9'},
    {Qt::Key_sterling, 0, false, 'X'},
    {Qt::Key_QuoteLeft, 0, false, 'X'}, // the Ace's character 96 is its pound sign
};

// X11 and Wayland (xkb) key codes of the digit row, 1 to 9 and then 0.
constexpr quint32 kFirstDigitRowScanCode = 10;

} // namespace

QtKeyRoute RouteForQtKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    QtKeyRoute route;
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
            route.virtualKey = vk::PadDigit(qtKey - Qt::Key_0);
            return route;
        }
        for (const NamedKey& k : kPadKeys)
            if (k.qtKey == qtKey) {
                route.virtualKey = k.virtualKey;
                return route;
            }
    } else if (nativeScanCode >= kFirstDigitRowScanCode && nativeScanCode < kFirstDigitRowScanCode + 10) {
        route.virtualKey = vk::Digit(int(nativeScanCode - kFirstDigitRowScanCode + 1) % 10);
        return route;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        route.virtualKey = vk::Letter(char(qtKey));
    } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        route.virtualKey = vk::Digit(qtKey - Qt::Key_0);
    } else if (qtKey == Qt::Key_Space) {
        route.virtualKey = vk::kSpace;
    } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        route.virtualKey = vk::Function(qtKey - Qt::Key_F1 + 1);
    } else {
        for (const NamedKey& k : kNamedKeys)
            if (k.qtKey == qtKey) {
                route.virtualKey = k.virtualKey;
                return route;
            }
        for (const SymbolCharacter& s : kSymbolCharacters)
            if (s.qtKey == qtKey) {
                if (s.virtualKey) {
                    route.virtualKey = s.virtualKey;
                    route.shiftedForm = s.shifted ? 1 : 0;
                }
                route.symbolKey = s.symbolKey;
                return route;
            }
    }
    return route;
}

namespace {

quint32 HeldKeyId(const QKeyEvent& event) {
    return event.nativeScanCode() ? event.nativeScanCode() : (0x80000000u | quint32(event.key()));
}

} // namespace

bool QtKeyboardInput::KeyPressed(const QKeyEvent& event) {
    const quint32 id = HeldKeyId(event);
    if (event.isAutoRepeat()) {
        // The PC repeats the press; the Ace's ROM does its own repeat from the held key.
        const auto it = held_.find(id);
        if (it == held_.end()) return false;
        KeyDown(it->second.virtualKey);
        return true;
    }
    const QtKeyRoute route = RouteForQtKey(event.key(), event.modifiers(), event.nativeScanCode());
    const bool shiftMatches = route.shiftedForm < 0 || (route.shiftedForm == 1) == shiftHeld;
    Press press{};
    if (route.virtualKey >= 0 && (shiftMatches || route.symbolKey < 0)) {
        press = {route.virtualKey, false};
    } else if (route.symbolKey >= 0) {
        // SHIFT held alongside does no harm: the Ace reads a symbol under SYMBOL SHIFT.
        press = {route.symbolKey, !AceKeyDown(kAceSymbolShift)};
        if (press.addedSymbolShift) KeyDown(vk::kControl);
    } else {
        return false;
    }
    KeyDown(press.virtualKey);
    held_[id] = press;
    return true;
}

bool QtKeyboardInput::KeyReleased(const QKeyEvent& event) {
    if (event.isAutoRepeat()) return true; // the key is still down
    const auto it = held_.find(HeldKeyId(event));
    if (it == held_.end()) {
        // Pressed before we had the focus: release what the key stands for now.
        const QtKeyRoute route = RouteForQtKey(event.key(), event.modifiers(), event.nativeScanCode());
        const int key = route.virtualKey >= 0 ? route.virtualKey : route.symbolKey;
        if (key < 0) return false;
        KeyUp(key);
        return true;
    }
    const Press press = it->second;
    held_.erase(it);
    KeyUp(press.virtualKey);
    if (press.addedSymbolShift) {
        KeyUp(vk::kControl);                // frees all of half-row 0 ...
        if (shiftHeld) KeyDown(vk::kShift); // ... so put back the SHIFT the PC still holds
    }
    return true;
}

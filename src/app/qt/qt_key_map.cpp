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

// The character a key typed, as the Ace's character code; -1 when it typed none the Ace
// has. Space and Return go by key (Shift+Space is BREAK), and with Ctrl held the key
// is the Ace's SYMBOL SHIFT with that key, not a control character.
int TypedAceCharacter(const QKeyEvent& event) {
    if (event.modifiers() & Qt::ControlModifier) return -1;
    const QString text = event.text();
    if (text.size() != 1) return -1;
    return AceCodeForCharacter(char32_t(text.at(0).unicode()));
}

bool StrokeForCharacter(int code, AceKeyStroke& stroke) {
    KeyChord keys;
    if (code < 0 || !SpoolCharacterKeys(uint8_t(code), keys)) return false;
    stroke = AceKeyStroke::Character(keys);
    return true;
}

// What the Ace does for a key event; false when the key means nothing to it.
bool StrokeForEvent(const QKeyEvent& event, AceKeyStroke& stroke) {
    if (StrokeForCharacter(TypedAceCharacter(event), stroke)) return true;
    // A line feed key (auto-typers send it for a new line) ends the line like Return.
    if (event.text() == "\n" || event.text() == "\r") {
        stroke = AceKeyStroke::Key(vk::kReturn);
        return true;
    }
    const QtKeyRoute route = RouteForQtKey(event.key(), event.modifiers(), event.nativeScanCode());
    const bool shiftFits = route.shiftedForm < 0 || (route.shiftedForm == 1) == shiftHeld;
    if (route.virtualKey >= 0 && (shiftFits || route.symbolKey < 0)) {
        stroke = AceKeyStroke::Key(route.virtualKey);
        return true;
    }
    // A symbol without its character: the character its Qt key stands for.
    if (route.symbolKey >= 0) {
        const int code = event.key() == Qt::Key_sterling ? 96 : event.key();
        return StrokeForCharacter(code <= 0x7E ? code : -1, stroke);
    }
    return false;
}

} // namespace

bool QtKeyboardInput::KeyPressed(const QKeyEvent& event) {
    const quint32 id = HeldKeyId(event);
    // The PC repeats a held key; the Ace's ROM repeats it by itself.
    if (event.isAutoRepeat()) return held_.count(id) > 0;
    AceKeyStroke stroke;
    if (!StrokeForEvent(event, stroke)) return false;
    held_[id] = stroke;
    QueueKeyPress(stroke);
    return true;
}

bool QtKeyboardInput::KeyReleased(const QKeyEvent& event) {
    if (event.isAutoRepeat()) return true; // the key is still down
    AceKeyStroke stroke;
    const auto it = held_.find(HeldKeyId(event));
    if (it != held_.end()) {
        stroke = it->second;
        held_.erase(it);
    } else if (!StrokeForEvent(event, stroke)) {
        return false; // pressed before we had the focus, and nothing for the Ace
    }
    QueueKeyRelease(stroke);
    return true;
}

void QtKeyboardInput::LetGoOfHeldKeys() {
    // Shift and Ctrl last: a key's release puts back the shift keys still held.
    for (const bool modifiers : {false, true})
        for (const auto& [id, stroke] : held_)
            if (stroke.IsModifier() == modifiers) QueueKeyRelease(stroke);
    held_.clear();
}

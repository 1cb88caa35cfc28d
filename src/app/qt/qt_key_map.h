// Qt key events into the PC key codes of the keyboard handlers (app/keyboard.h).
//
// The handlers work on Windows virtual-key codes laid out as on a UK keyboard. Qt tells
// us the character a key produced (Qt::Key) rather than the key's position, so:
//  - letters, Space, Return, the editing, cursor and function keys and the numeric pad
//    map one to one;
//  - the digit row maps by position (X11/Wayland scan code), whatever the Shift state,
//    so that PC Shift + a digit stays the Ace's SHIFTed digit (DELETE, GRAPHICS, ...);
//  - symbol characters map to the UK key that carries them. When the PC's Shift state
//    does not match what that key needs for the character (another layout, or a
//    synthetic event), the character is typed as the Ace types it: SYMBOL SHIFT (Ctrl)
//    plus its key.
//
// Usage: the main window owns one QtKeyboardInput and passes every keyPressEvent and
// keyReleaseEvent to it while the emulation has the focus; ForgetHeldKeys() when the
// window loses the focus.
#pragma once

#include <Qt>
#include <QtGlobal>

#include <map>

class QKeyEvent;

// How one Qt key reaches the Ace.
struct QtKeyRoute {
    int virtualKey = -1;  // the PC key code for KeyDown/KeyUp; -1 when none
    int shiftedForm = -1; // 0/1: virtualKey types the character only with Shift up/down; -1 any
    int symbolKey = -1;   // the letter or digit key that types it under SYMBOL SHIFT; -1 none
    bool operator==(const QtKeyRoute&) const = default;
};

// `nativeScanCode` is the event's X11/Wayland key code (0 when unknown, e.g. synthetic).
QtKeyRoute RouteForQtKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

// Feeds key events into KeyDown/KeyUp, remembering for each held key what its press
// did, so that its release undoes exactly that even if Shift changed in between.
class QtKeyboardInput {
  public:
    // True when the event was a key for the Ace (the caller then accepts it).
    bool KeyPressed(const QKeyEvent& event);
    bool KeyReleased(const QKeyEvent& event);
    // Keys held when the focus went elsewhere: their releases will never arrive.
    void ForgetHeldKeys() { held_.clear(); }

  private:
    struct Press {
        int virtualKey;
        bool addedSymbolShift; // Ctrl pressed on the user's behalf
    };
    std::map<quint32, Press> held_; // by scan code, or by Qt key for synthetic events
};

// Qt key events into the Ace's keys.
//
// A key that types a printable character (Qt gives it with the event) types that
// character on the Ace, through the spool's character-to-key table, whatever the PC's
// layout: Shift+8 is '*' on one keyboard and '(' on another, and the Ace gets the same.
// The other keys go by their Windows virtual-key code to the keyboard handlers
// (app/keyboard.h), which work on codes laid out as on a UK keyboard:
//  - Space (Shift+Space is the Ace's BREAK), Return, the editing, cursor and function
//    keys map one to one, and so do letters and digits typed with Ctrl, the Ace's
//    SYMBOL SHIFT; the digit row maps by position (X11/Wayland scan code);
//  - symbol keys that arrive without a character (synthetic events, Ctrl held) map to
//    the UK key that carries them when the PC's Shift state fits, else to the
//    character the key stands for.
//
// Every press and release goes through the key queue (app/key_queue.h), so that keys
// typed faster than the ROM reads them all arrive, in order.
//
// Usage: the main window owns one QtKeyboardInput and passes every keyPressEvent and
// keyReleaseEvent to it while the emulation has the focus; ForgetHeldKeys() when the
// window loses the focus.
#pragma once

#include <Qt>
#include <QtGlobal>

#include <map>

#include "app/key_queue.h"

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

// Feeds key events into the key queue, remembering for each held key what its press
// did, so that its release undoes exactly that even if Shift changed in between.
class QtKeyboardInput {
  public:
    // True when the event was a key for the Ace (the caller then accepts it).
    bool KeyPressed(const QKeyEvent& event);
    bool KeyReleased(const QKeyEvent& event);
    // Keys held when the focus went elsewhere: their releases will never arrive.
    void ForgetHeldKeys() { held_.clear(); }
    // The same, but each held key is let go through the queue after what waits there, so
    // that keys typed ahead still arrive and none stays down.
    void LetGoOfHeldKeys();

  private:
    std::map<quint32, AceKeyStroke> held_; // by scan code, or by Qt key for synthetic events
};

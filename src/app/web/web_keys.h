// Browser key events into the Ace's keys, through the same key queue as the desktop.
//
// A key that types a printable character (the event's `key`) types that character on
// the Ace whatever the PC's layout; Space, Return, the editing keys and keys pressed
// with Ctrl (the Ace's SYMBOL SHIFT) go by their position (the event's `code`, turned
// into a Windows virtual-key code by the page). Each held key remembers what its press
// did, so that its release undoes exactly that even if Shift changed in between.
#pragma once

// `heldId` names the physical key (the page numbers the event's `code`); `character` is
// the Unicode character it typed or -1; `virtualKey` its code or -1. True when the key
// meant something to the Ace (the page then keeps the browser from acting on it).
bool WebKeyPressed(int heldId, int character, int virtualKey, bool ctrl);
bool WebKeyReleased(int heldId);
// The page lost the focus: no release will come for the keys held now.
void WebReleaseAllKeys();

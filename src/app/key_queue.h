// PC key events on their way into the Ace's keyboard matrix, queued so that none is
// lost however quickly it follows the one before.
//
// The ROM reads the keyboard once a frame. It takes a key only after seeing it down over
// a few consecutive reads, and takes the next one only after seeing the last let go. A
// keyboard, an auto-typer or a paste tool may press and release a key within a few
// milliseconds, so both would land between two reads and the ROM would never see the
// key. Events therefore wait here, in the order they came, and are applied as soon as
// the ROM can tell them apart: after a key press nothing is let go, and no other key
// pressed, until the key has been down for kKeyHoldFrames frames; after a key is let go
// the next key waits kKeyGapFrames frames. Shift and Ctrl go down at once (they only
// qualify the key that follows). Events slower than that pass straight through.
//
// Usage: the front end queues every PC key event with QueueKeyPress / QueueKeyRelease
// and calls KeyQueueFrameEnded() after each emulated frame; ClearKeyQueue() drops what
// is waiting (the window lost the focus, the machine was reset).
#pragma once

#include "tape/spool.h" // KeyChord

// The ROM takes a key once it has been down for three frames and the keyboard let go
// for one; one frame more of each leaves a margin.
constexpr int kKeyHoldFrames = 4;
constexpr int kKeyGapFrames = 2;

// What a PC key does to the Ace's keys: a PC key code handled by KeyDown / KeyUp, or,
// when `virtualKey` is -1, the keys that type one character (CharacterKeyDown / Up).
struct AceKeyStroke {
    int virtualKey = -1;
    KeyChord chord{};

    static AceKeyStroke Key(int virtualKey);
    static AceKeyStroke Character(const KeyChord& keys);
    bool IsModifier() const; // Shift or Ctrl
    bool operator==(const AceKeyStroke& other) const;
};

void QueueKeyPress(const AceKeyStroke& stroke);
void QueueKeyRelease(const AceKeyStroke& stroke);
void KeyQueueFrameEnded();
void ClearKeyQueue();
// Events still waiting to reach the matrix.
int QueuedKeyEvents();

// PC key events on their way into the Ace's keyboard matrix, queued so that none is
// lost however quickly it follows the one before.
//
// The ROM reads the keyboard once a frame. It takes a key only after seeing it down over
// three consecutive reads, and takes the next one only after seeing the keyboard empty;
// after ENTER its line editor reads nothing until it has dealt with the line. A keyboard,
// an auto-typer or a paste tool may press and release a key within a few milliseconds,
// so both would land between two reads and the ROM would never see the key. Events
// therefore wait here, in the order they came, and reach the matrix at the pace the ROM
// shows it reads at (machine/rom_keyboard.h): a key goes down when the ROM is ready for
// it and comes up when the ROM has taken it, about 12 keys a second. A key pressed while
// another is still down lets that one go first. Shift and Ctrl go down at once (they only
// qualify the key that follows). Events slower than that pass straight through.
//
// Usage: the front end queues every PC key event with QueueKeyPress / QueueKeyRelease
// and calls KeyQueueFrameEnded() after each emulated frame; ClearKeyQueue() drops what
// is waiting (the window lost the focus, the machine was reset).
#pragma once

#include "machine/ace_keyboard.h" // KeyChord

// While the line editor waits, a key is down for three frames and up for one.
constexpr int kKeyHoldFrames = 3;
constexpr int kKeyGapFrames = 1;

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
// Puts the queue (its waiting events and pacing) into state files from now on, so a
// quick load types on exactly where the save left off. The front ends call it once.
void KeepKeyQueueInStates();

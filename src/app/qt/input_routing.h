// Where the main window meets the keyboard and joystick modules: PC keys into the Ace's
// keyboard matrix, the two keyboard windows (the Keyboard Helper and the keyboard
// picture), and the joystick device installed at start-up.
#pragma once

class QKeyEvent;
class QWidget;

// The SDL joystick, installed before the settings are read.
void StartInputDevices();

// True when the event was a key for the Ace.
bool RouteKeyPress(const QKeyEvent& event);
bool RouteKeyRelease(const QKeyEvent& event);
// Releases every key of the matrix and drops the key events still waiting (focus lost,
// a modal window took the keyboard).
void ReleaseEveryKey();
// Forgets the PC keys held down without touching the matrix or the queue (a state file
// put both back): their releases, still to come, then press and release nothing.
void ForgetPcKeys();
// Lets go of the PC keys held down, after the key events still waiting (the screen lost
// the keyboard to a menu or another window, which will get their releases).
void LetGoOfHeldKeys();

// Open (or raise) the two keyboard windows.
void ShowKeyboardPicture(QWidget* owner);
void ShowKeyboardHelper(QWidget* owner);
// The Keyboard Helper keeps the machine running while it has the focus.
bool KeyboardHelperIsOpen();

// Keeps the PC keyboard with the emulated one.
//
// Qt's menu bar keeps the keyboard after a menu closes with Esc or Alt (it stays in its
// keyboard navigation mode), so the next keys would walk the menus: Return would open
// the highlighted one. Once no menu is open, the keyboard goes back to the main window.
//
// And whenever the screen loses the keyboard (a menu, a dialog, another window, the
// focus pause), every Ace key that went down is let go: the PC key's release goes to
// whatever took the keyboard and would never reach the Ace, which then repeats the key
// for ever. Keys typed ahead still arrive: the releases queue behind them.
#pragma once

class QMainWindow;

// Watches the window's menu bar and its menus (call once the menus are built).
void KeepKeyboardWithScreen(QMainWindow* window);
// The window lost the keyboard: every Ace key up.
void ScreenLostKeyboard();

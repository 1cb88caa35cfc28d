// The main window's menus and shortcuts. Every command is a QAction kept here by name;
// the main window connects them to the controllers that do the work.
//
// The shortcuts are attached to the window as well as to the menus, so they keep working
// in full screen, where the menu bar is hidden. Pause (Esc), Fast (F2) and Dev (F6) exist
// only as shortcuts. Paste Text has F7: the PC's usual Ctrl+V and Shift+Insert are keys
// of the Ace (SYMBOL SHIFT and V, GRAPHICS).
#pragma once

class QAction;
class QMainWindow;

struct MainMenuActions {
    // File
    QAction *loadFile, *loadSpoolFile, *loadBinaryFile, *saveBinaryFile, *saveSnapshot, *saveScreenshot,
        *quit;
    // Edit: text into and out of the Ace
    QAction *pasteText, *copyScreenText, *cancelSpooling;
    // Emulation
    QAction *softReset, *hardReset, *generateNmi;
    QAction *quickSave[9], *quickLoad[9], *rewind; // slots 1 to 9 at [0] to [8]
    // View: the three window sizes and full screen
    QAction *size100, *size200, *size300, *fullScreen;
    // Tools
    QAction *options, *tapeBrowser, *wavBrowser, *calculator, *exportForthSource, *loadCustomRom;
    QAction *loadConfiguration, *saveConfiguration, *defaultConfiguration;
    QAction *displayKeyboard, *keyboardHelper;
    // Debug
    QAction *debugger, *pcLogging, *pcLogOneFrame;
    // Help
    QAction *about, *help;
    // Shortcut-only commands
    QAction *pause, *fast, *dev;

    QAction* SizeAction(int scale) const; // 1 to 3, 4 = full screen
};

MainMenuActions BuildMainMenu(QMainWindow* window);

// The shortcut of Edit, Paste Text, as the Help box names it.
constexpr const char* kPasteTextShortcut = "F7";

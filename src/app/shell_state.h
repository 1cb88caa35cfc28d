// The application shell's own settings and places, shared by start-up, the main window,
// the configuration file and the options dialog.
//
// Folders end with "/". `configFolder` is the per-user configuration folder, or the
// executable's folder when `iniInExecutableFolder` is set ("-i" on the command line).
#pragma once

#include <cstdint>
#include <string>

extern std::string executableFolder;
extern std::string configFolder;
extern bool iniInExecutableFolder;

extern uint8_t opt_exit_msg; // ask before quitting (default on)
extern uint8_t opt_focus_on; // pause while the main window has lost the focus (default off)

// The main window's place and size as the configuration stores them.
struct WindowPlacement {
    int left = 0, top = 0, width = 0, height = 0;
};
extern WindowPlacement mainWindowPlacement;

// The version shown in the window title and the About box.
constexpr const char* kVersionText = "1.06";

void ResetShellSettings();

// The file commands that the main window owns: a file dropped on it, the file named on
// the command line, and Load Custom ROM. The loading itself is tape/load_file.h.
#pragma once

#include <QString>

class QWidget;
struct CommandLine;

// Loads the dropped file by the drop rule, then brings the window to the front.
void LoadDroppedFile(QWidget* window, const QString& path);

// The command line's "FILE" form, once the window is shown.
void LoadStartupFile(const CommandLine& commandLine);

// Tools, Load Custom ROM: choose a ".rom" file; it replaces the ROM and resets the machine.
void ChooseCustomRom();

// The file commands that the main window owns: a file dropped on it, the file named on
// the command line, the File menu's loads and saves, Dev (F6) and Load Custom ROM. The
// work itself is in tape/: load_file.h, spool_files.h, ace_snapshot.h, binary_files.h.
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

// File menu: each holds the machine still while its dialogs are open.
void LoadFileCommand();                         // "Open File", every supported format
void LoadSpoolFileCommand();                    // "Open SPOOL file", then typed in
void ShowLoadBinaryFileDialog(QWidget* window); // the "Load Binary File" dialog
void ShowSaveBinaryFileDialog(QWidget* window); // the "Save Binary File" dialog
void SaveSnapshotCommand();                     // "Save File": a snapshot or a WAV recording
// F6: types the current file's ".txt" from the spool folder again.
void DevCommand();

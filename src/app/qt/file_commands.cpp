#include "app/qt/file_commands.h"

#include <QWidget>

#include "app/command_line.h"
#include "base/host.h"
#include "app/qt/binary_file_dialogs.h"
#include "app/qt/run_commands.h"
#include "machine/rom.h"
#include "tape/ace_snapshot.h"
#include "tape/load_file.h"
#include "tape/spool_files.h"

void LoadDroppedFile(QWidget* window, const QString& path) {
    LoadFileByName(path.toStdString(), LoadRoute::Dropped);
    window->raise();
    window->activateWindow();
}

void LoadStartupFile(const CommandLine& commandLine) {
    if (commandLine.action != StartupAction::LoadFile || commandLine.pendingFile.empty()) return;
    LoadFileByName(commandLine.pendingFile, LoadRoute::CommandLine);
}

void ChooseCustomRom() {
    FileDialogRequest request;
    request.title = "Open File";
    request.filters = {{"ROM file format (*.rom)", "*.rom"}};
    request.initialFolder = romState.romFolder;
    const std::string path = host().ChooseOpenFile(request);
    if (!path.empty()) LoadFileByName(path, LoadRoute::LoadFileDialog);
}

void LoadFileCommand() {
    PauseAround pause;
    LoadFileDialog(LoadFilter::AllFormats);
}

void LoadSpoolFileCommand() {
    PauseAround pause;
    OpenSpoolFileDialog();
}

void ShowLoadBinaryFileDialog(QWidget* window) {
    PauseAround pause;
    LoadBinaryFileDialog dialog(window);
    dialog.exec();
}

void ShowSaveBinaryFileDialog(QWidget* window) {
    PauseAround pause;
    SaveBinaryFileDialog dialog(window);
    dialog.exec();
}

void SaveSnapshotCommand() {
    PauseAround pause;
    SaveSnapshotDialog();
}

void DevCommand() {
    DevSpool();
}

#include "app/qt/file_commands.h"

#include <QWidget>

#include "app/command_line.h"
#include "app/host.h"
#include "machine/rom.h"
#include "tape/load_file.h"

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
    request.initialFolder = romFolder;
    const std::string path = host().ChooseOpenFile(request);
    if (!path.empty()) LoadFileByName(path, LoadRoute::LoadFileDialog);
}

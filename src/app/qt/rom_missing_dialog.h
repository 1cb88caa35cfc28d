// Shown after "02 - ROM missing" when no ace.rom was found: names every place the ROM
// may go and offers "Choose ROM File...". A chosen file that passes the ROM check is
// copied to the user's ROM path and the dialog is accepted, so the emulator starts;
// closing it instead ends the application.
#pragma once

#include <QDialog>

class RomMissingDialog : public QDialog {
    Q_OBJECT
  public:
    RomMissingDialog(const QStringList& places, QWidget* parent = nullptr);

    // Checks and copies `path`; accepts the dialog when it worked, else says why and stays.
    bool InstallChosenRom(const QString& path);

  private:
    void ChooseRomFile();
};

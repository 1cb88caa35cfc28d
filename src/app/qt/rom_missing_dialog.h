// Shown after "02 - ROM missing" when no ace.rom was found: names every place the ROM
// may go. The application ends when it closes.
#pragma once

#include <QDialog>

class RomMissingDialog : public QDialog {
    Q_OBJECT
  public:
    RomMissingDialog(const QStringList& places, QWidget* parent = nullptr);
};

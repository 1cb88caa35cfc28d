// "Disassemble To File": Start and End addresses and the listing's options; OK checks
// the range first (a clear message, the dialog stays open), then asks for the file and
// writes it (debugger/disassemble_to_file.h). The boxes start clear: decimal numbers,
// no names; "ROM Calls" is kept but changes nothing in the listing.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

class DisassembleToFileDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DisassembleToFileDialog(QWidget* parent);

  private:
    void Accept();
    QLineEdit *start_ = nullptr, *end_ = nullptr;
    QCheckBox *showHex_ = nullptr, *romCalls_ = nullptr, *systemVariables_ = nullptr;
};

void RunDisassembleToFile(QWidget* parent);

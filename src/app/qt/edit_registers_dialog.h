// "Edit Z80 Registers": every register as hexadecimal text and F's eight flags as check
// boxes; ticking a flag rewrites the AF field. OK stores them all (debugger/memory_tools.h)
// or, when a field is not a valid number for its register, names it (message 82) and
// stays open with that field selected.
#pragma once

#include <QDialog>

#include "debugger/memory_tools.h"

class QCheckBox;
class QLineEdit;

class EditRegistersDialog : public QDialog {
    Q_OBJECT
  public:
    explicit EditRegistersDialog(QWidget* parent);
    QLineEdit* Field(const QString& name) const;                  // "PC", "AF'", "I"...
    QCheckBox* FlagBox(int bit) const { return flags_[7 - bit]; } // bit 7 = S ... bit 0 = C

  private:
    void FlagsChanged();
    void Accept();

    QLineEdit* fields_[14] = {};
    QCheckBox* flags_[8] = {};
};

// Runs the dialog; true when the registers were changed.
bool RunEditRegisters(QWidget* parent);

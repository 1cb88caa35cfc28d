// "Add New Breakpoint" and "Update Breakpoint": what to stop on (an instruction's
// address, memory written or read, a port), the Address and Condition fields (and, for
// Update, the Active choice). OK hands them to the breakpoint table; an address the
// table refuses shows "Debugger: Not a number or number out of range" and the dialog
// stays open with what was typed, so the address can be corrected.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

class BreakpointDialog : public QDialog {
    Q_OBJECT
  public:
    // index -1: a new entry; otherwise the entry to update, filled in.
    BreakpointDialog(int index, QWidget* parent);

  private:
    void Accept();

    int index_;
    QLineEdit* address_;
    QLineEdit* condition_;
    QComboBox* kind_;
    QComboBox* active_ = nullptr;
};

// "Push onto Stack" and "POP Off Stack": a drop-down of the register pairs. PUSH also
// takes a typed number up to FFFF; POP only a register. Anything else shows message 82
// and keeps the dialog open (debugger/memory_tools.h).
#pragma once

#include <QDialog>

class QComboBox;

class StackValueDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { Push, Pop };
    StackValueDialog(Kind kind, QWidget* parent);
    QComboBox* choice() const { return choice_; }

  private:
    void Accept();
    Kind kind_;
    QComboBox* choice_ = nullptr;
};

// True when a value was pushed or popped. The register chosen last is offered first
// next time, until ResetStackRegisterChoice() (the debugger calls it when it opens).
bool RunStackValue(StackValueDialog::Kind kind, QWidget* parent);
void ResetStackRegisterChoice();

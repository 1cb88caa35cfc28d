// "Run Until T_STATE": one decimal field (at most 9 digits) for the T-state of the frame
// at which a run should stop. OK stores it in runUntilTstate; Cancel runs nothing.
#pragma once

#include <QDialog>

class QLineEdit;

class RunUntilTstateDialog : public QDialog {
    Q_OBJECT
  public:
    explicit RunUntilTstateDialog(QWidget* parent);

  private:
    void Accept();

    QLineEdit* tstate_;
};

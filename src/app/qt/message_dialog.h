// The emulator's message box: a caption, one line of text ("16 - Tape Error: unknown
// extension") and OK. Every ReportMessage ends up here, shown modally, owned by the
// main window once it exists.
#pragma once

#include <QDialog>

class QLabel;

class MessageDialog : public QDialog {
    Q_OBJECT
  public:
    MessageDialog(const QString& caption, const QString& text, QWidget* parent = nullptr);
    QString text() const;

  private:
    QLabel* text_;
};

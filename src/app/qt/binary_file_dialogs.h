// File, Load Binary File and File, Save Binary File: two small modal dialogs that take a
// file name, a start address and (for saving) a length, and hand them to the core
// (tape/binary_files.h), which reads the number fields and reports bad ones.
#pragma once

#include <QDialog>

class QLineEdit;

// "Load Binary File": a file name (typed, or chosen with the browse button) and the
// start address. OK loads the file and closes; a bad address keeps the dialog open.
class LoadBinaryFileDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LoadBinaryFileDialog(QWidget* parent);

  private:
    void Browse();
    void Accept();

    QLineEdit* fileName_;
    QLineEdit* startAddress_;
};

// "Save Binary File": the file name (typed, or chosen with the browse button), start
// address and length. OK asks for the file with the save dialog, starting from the
// name; cancelling it keeps this open.
class SaveBinaryFileDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SaveBinaryFileDialog(QWidget* parent);

  private:
    void Browse();
    void Accept();

    QLineEdit* fileName_;
    QLineEdit* startAddress_;
    QLineEdit* length_;
};

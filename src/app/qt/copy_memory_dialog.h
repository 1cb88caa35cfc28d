// "Copy Memory": Length bytes from Source to Destination (debugger/memory_tools.h). A
// request that is not numbers, or does not fit RAM, shows message 82 and stays open.
#pragma once

#include <QDialog>

class QLineEdit;

class CopyMemoryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CopyMemoryDialog(QWidget* parent);

  private:
    void Accept();
    QLineEdit *source_ = nullptr, *destination_ = nullptr, *length_ = nullptr;
};

// True when memory was copied.
bool RunCopyMemory(QWidget* parent);

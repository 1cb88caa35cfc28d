// "Fill Memory": Length bytes from Start with an 8-bit value, a 16-bit value or a text
// (debugger/memory_tools.h). A request that is not numbers, or does not fit RAM, shows
// message 82 and stays open.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

class FillMemoryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FillMemoryDialog(QWidget* parent);

  private:
    void Accept();
    QLineEdit *start_ = nullptr, *length_ = nullptr, *data_ = nullptr;
    QRadioButton* modes_[3] = {};
};

// True when memory was filled.
bool RunFillMemory(QWidget* parent);

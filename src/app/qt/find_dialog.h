// "Find": a 16-bit value, a string of bytes or a text, searched for upward through
// memory (debugger/memory_tools.h). "Find" starts at address 0, "Find Next" after the
// last match. A match closes the dialog; no match shows message 80 and keeps it open.
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>

#include "debugger/memory_tools.h"

class QLineEdit;
class QRadioButton;

struct FindMatch {
    uint32_t address;
    FindMode mode; // the value and byte searches show the code there, a text the memory
};

class FindDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FindDialog(QWidget* parent);
    std::optional<FindMatch> match() const { return match_; }
    QLineEdit* text() const { return text_; }
    QRadioButton* ModeButton(FindMode mode) const { return modes_[int(mode) - 1]; }

  private:
    void Search(bool next);
    FindMode Mode() const;

    QLineEdit* text_ = nullptr;
    QRadioButton* modes_[3] = {};
    std::optional<FindMatch> match_;
};

std::optional<FindMatch> RunFind(QWidget* parent);

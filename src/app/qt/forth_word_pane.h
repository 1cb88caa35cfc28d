// The debugger's FORTH word list with the selected word next to it (below, where the
// narrow pane has room): its header, code-field and parameter-field addresses and its
// source as the ROM's LIST shows it.
#pragma once

#include <QSplitter>

class ForthWordListPane;
class QPlainTextEdit;

class ForthWordPane : public QSplitter {
    Q_OBJECT
  public:
    explicit ForthWordPane(QWidget* parent);
    void Refresh();
    ForthWordListPane* list() const { return list_; }
    QPlainTextEdit* wordText() const { return text_; }

  private:
    void ShowSelected();

    ForthWordListPane* list_;
    QPlainTextEdit* text_;
};

// The debugger's "FORTH" tab: the data stack (depth, then top first, each value signed
// and unsigned in the debugger's number base) and the return stack (each entry named by
// the word whose body it returns into, with the offset), above a line that says where
// the last word step stopped.
#pragma once

#include <QPlainTextEdit>

class ForthStackTab : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit ForthStackTab(QWidget* parent);
    void Refresh();
    // "Step Word: SQ in CUBE+2"; shown first until the next step.
    void SetStepNote(const QString& note);

  private:
    QString stepNote_;
};

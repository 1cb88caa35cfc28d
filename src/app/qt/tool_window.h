// The base of the debugger's modeless tool windows: opens at the place it last closed
// and remembers that place when it closes. Each window deletes itself on closing.
#pragma once

#include <QDialog>

struct ToolWindowPlace;

class ToolWindow : public QDialog {
    Q_OBJECT
  public:
    ToolWindow(QWidget* parent, ToolWindowPlace& place);

    // Escape closes the window the same way as its close box.
    void reject() override { close(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    ToolWindowPlace& place_;
    bool placed_ = false;
};

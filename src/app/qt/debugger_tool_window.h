// The base of the debugger's modeless tool windows: opens at the place it last closed
// (base/window_places.h, kept by the configuration file) and remembers that place when it
// closes. Each window deletes itself on closing.
#pragma once

#include <QDialog>

#include "base/window_places.h"

class DebuggerToolWindow : public QDialog {
    Q_OBJECT
  public:
    DebuggerToolWindow(QWidget* parent, ToolWindow place);

    // Escape closes the window the same way as its close box.
    void reject() override { close(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    WindowPoint& place_;
    bool placed_ = false;
};

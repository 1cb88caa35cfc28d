// The base of the debugger's modeless tool windows: opens at the place it last had
// (base/window_places.h, kept by the configuration file; base/qt/tool_window_place.h
// keeps it up to date) and deletes itself on closing.
#pragma once

#include <QDialog>

#include "base/window_places.h"

class DebuggerToolWindow : public QDialog {
    Q_OBJECT
  public:
    DebuggerToolWindow(QWidget* parent, ToolWindow place);

    // Escape closes the window the same way as its close box.
    void reject() override { close(); }
    // The first showing places the window: only then are its contents, and so its size, known.
    void setVisible(bool visible) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    ToolWindow place_;
    bool placed_ = false;
};

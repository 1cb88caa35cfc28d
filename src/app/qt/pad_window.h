// "View Pad Space": 512 bytes of RAM from the FORTH PAD at 0x2700, 16 to a row, drawn
// from memory at every repaint (debugger/forth_views.h). Modeless, one at a time.
#pragma once

#include "app/qt/debugger_tool_window.h"

class PadWindow : public DebuggerToolWindow {
    Q_OBJECT
  public:
    explicit PadWindow(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
};

// Opens the window unless it is open already.
void OpenPadWindow(QWidget* parent);
PadWindow* OpenPad(); // the open window, or nullptr

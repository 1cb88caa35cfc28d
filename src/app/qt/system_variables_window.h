// "System Variables": the FORTH system variables with their addresses and bytes, read
// when the window opens (debugger/forth_views.h). Modeless, one at a time.
#pragma once

#include "app/qt/debugger_tool_window.h"

class QTreeWidget;

class SystemVariablesWindow : public DebuggerToolWindow {
    Q_OBJECT
  public:
    explicit SystemVariablesWindow(QWidget* parent);
    QTreeWidget* list() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

// Opens the window unless it is open already.
void OpenSystemVariables(QWidget* parent);
SystemVariablesWindow* OpenSystemVariablesWindow(); // the open window, or nullptr

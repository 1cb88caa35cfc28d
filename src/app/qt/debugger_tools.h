// The debugger window's tool commands in one place: each menu item of its Tools and Edit
// menus that opens a tool calls RunDebuggerTool with its tool, and the window hears back
// through the hooks when memory or registers changed or a Find matched.
//
//   connect(editMemoryAction, &QAction::triggered, this,
//           [this] { RunDebuggerTool(DebuggerTool::EditMemory, this, hooks_); });
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

enum class DebuggerTool {
    DisassembleToFile, // Tools
    ViewPad,
    SystemVariables,
    RestoreRom,
    EditRegisters, // Edit
    EditMemory,
    Find,
    CopyMemory,
    FillMemory,
    Push,
    Pop,
};

struct DebuggerToolHooks {
    std::function<void()> refresh;            // memory or registers changed: redraw
    std::function<void(uint32_t)> showCode;   // a value or byte search matched here
    std::function<void(uint32_t)> showMemory; // a text search matched here
};

void RunDebuggerTool(DebuggerTool tool, QWidget* debuggerWindow, const DebuggerToolHooks& hooks);

// When the debugger opens: the PUSH/POP register choice starts at AF again. When it
// closes: its tool windows (PAD, System Variables, Edit Memory) close with it.
void DebuggerToolsOpened();
void DebuggerToolsClosed();

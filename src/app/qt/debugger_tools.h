// The debugger window's tools in one place: ConnectDebuggerTools enables the window's
// tool menu items (Disassemble to File, View PAD Space, System Variables, Restore ROM,
// and the Edit menu) and gives it the FORTH word list. Each item runs RunDebuggerTool,
// and the window hears back through the hooks when memory or registers changed or a
// Find matched.
//
//   DebuggerWindow debugger(owner);
//   ConnectDebuggerTools(debugger);
//   debugger.exec();
//   DebuggerToolsClosed();
#pragma once

#include <cstdint>
#include <functional>

#include <QString>

class DebuggerWindow;
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
    std::function<void(const QString&)> status; // a line for the window's status row
};

void RunDebuggerTool(DebuggerTool tool, QWidget* debuggerWindow, const DebuggerToolHooks& hooks);

void ConnectDebuggerTools(DebuggerWindow& window);

// When the debugger opens (ConnectDebuggerTools calls it): the PUSH/POP register choice
// starts at AF again. When it closes: its tool windows (PAD, System Variables, Edit
// Memory) close with it.
void DebuggerToolsOpened();
void DebuggerToolsClosed();

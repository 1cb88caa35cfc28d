#include "app/qt/debugger_tools.h"

#include <utility>

#include <QAction>

#include "app/qt/copy_memory_dialog.h"
#include "app/qt/disassemble_to_file_dialog.h"
#include "app/qt/edit_memory_window.h"
#include "app/qt/edit_registers_dialog.h"
#include "app/qt/fill_memory_dialog.h"
#include "app/qt/find_dialog.h"
#include "app/qt/forth_debugging.h"
#include "app/qt/pad_window.h"
#include "app/qt/stack_value_dialog.h"
#include "app/qt/system_variables_window.h"
#include "debugger/debugger_text.h"
#include "debugger/memory_tools.h"
#include "debugger/qt/address_pane.h"
#include "debugger/qt/code_pane.h"
#include "debugger/qt/debugger_window.h"
#include "machine/machine_state.h"

namespace {

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

} // namespace

void RunDebuggerTool(DebuggerTool tool, QWidget* window, const DebuggerToolHooks& hooks) {
    switch (tool) {
    case DebuggerTool::DisassembleToFile: RunDisassembleToFile(window); break;
    case DebuggerTool::ViewPad: OpenPadWindow(window); break;
    case DebuggerTool::SystemVariables: OpenSystemVariables(window); break;
    case DebuggerTool::RestoreRom:
        RestoreRom();
        Call(hooks.refresh);
        break;
    case DebuggerTool::EditRegisters:
        // The code pane follows the new pc.
        if (RunEditRegisters(window) && hooks.showCode) hooks.showCode(machine.pc);
        break;
    case DebuggerTool::EditMemory: OpenEditMemory(window, hooks.refresh); break;
    case DebuggerTool::Find:
        if (const std::optional<FindMatch> match = RunFind(window)) {
            // The memory pane starts at 0x2000: a text found in ROM shows in the code pane.
            const bool inMemoryPane = match->mode == FindMode::Text && match->address >= kMemoryPaneFloor;
            const auto& show = inMemoryPane ? hooks.showMemory : hooks.showCode;
            if (show) show(match->address);
            if (hooks.status)
                hooks.status("Found at #" + QString("%1").arg(match->address, 4, 16, QChar('0')).toUpper());
        }
        break;
    case DebuggerTool::CopyMemory:
        if (RunCopyMemory(window)) Call(hooks.refresh);
        break;
    case DebuggerTool::FillMemory:
        if (RunFillMemory(window)) Call(hooks.refresh);
        break;
    case DebuggerTool::Push:
        if (RunStackValue(StackValueDialog::Kind::Push, window)) Call(hooks.refresh);
        break;
    case DebuggerTool::Pop:
        if (RunStackValue(StackValueDialog::Kind::Pop, window)) Call(hooks.refresh);
        break;
    }
}

void DebuggerToolsOpened() {
    ResetStackRegisterChoice();
}

void DebuggerToolsClosed() {
    for (QWidget* window :
         {static_cast<QWidget*>(OpenPad()), static_cast<QWidget*>(OpenSystemVariablesWindow()),
          static_cast<QWidget*>(OpenEditMemoryWindow())})
        if (window) window->close();
}

void ConnectDebuggerTools(DebuggerWindow& window) {
    DebuggerWindow* w = &window;
    DebuggerToolHooks hooks;
    hooks.refresh = [w] { w->RefreshViews(w->codePane()->codeTop()); };
    hooks.showCode = [w](uint32_t address) { w->RefreshViews(address); };
    hooks.showMemory = [w](uint32_t address) { w->memoryPane()->ShowFrom(address); };
    hooks.status = [w](const QString& text) { w->ShowStatus(text); };
    const std::pair<const char*, DebuggerTool> items[] = {
        {"disassembleToFile", DebuggerTool::DisassembleToFile},
        {"viewPadSpace", DebuggerTool::ViewPad},
        {"systemVariables", DebuggerTool::SystemVariables},
        {"restoreRom", DebuggerTool::RestoreRom},
        {"editRegisters", DebuggerTool::EditRegisters},
        {"editMemory", DebuggerTool::EditMemory},
        {"find", DebuggerTool::Find},
        {"copyMemoryBlock", DebuggerTool::CopyMemory},
        {"fillMemoryBlock", DebuggerTool::FillMemory},
        {"pushValue", DebuggerTool::Push},
        {"popValue", DebuggerTool::Pop},
    };
    for (const auto& [name, tool] : items) {
        QAction* action = window.Action(name);
        if (!action) continue;
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, w,
                         [w, tool, hooks] { RunDebuggerTool(tool, w, hooks); });
    }
    ConnectForthDebugging(window);
    DebuggerToolsOpened();
}

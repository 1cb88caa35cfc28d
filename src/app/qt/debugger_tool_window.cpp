#include "app/qt/debugger_tool_window.h"

#include <QCloseEvent>

#include "base/qt/tool_window_place.h"

DebuggerToolWindow::DebuggerToolWindow(QWidget* parent, ToolWindow place) : QDialog(parent), place_(place) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void DebuggerToolWindow::setVisible(bool visible) {
    if (visible && !placed_) {
        placed_ = true;
        KeepToolWindowPlace(this, place_);
    }
    QDialog::setVisible(visible);
}

void DebuggerToolWindow::closeEvent(QCloseEvent* event) {
    // QDialog's own handler would go round through reject() again.
    event->accept();
}

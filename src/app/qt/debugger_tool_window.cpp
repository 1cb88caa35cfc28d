#include "app/qt/debugger_tool_window.h"

#include <QCloseEvent>

DebuggerToolWindow::DebuggerToolWindow(QWidget* parent, ToolWindow place)
    : QDialog(parent), place_(toolWindowPlaces[place]) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void DebuggerToolWindow::showEvent(QShowEvent* event) {
    // The place is the client area's corner: the frame's size is the window manager's
    // business and is not known before the window shows.
    if (!placed_) setGeometry(QRect(QPoint(place_.left, place_.top), size()));
    placed_ = true;
    QDialog::showEvent(event);
}

void DebuggerToolWindow::closeEvent(QCloseEvent* event) {
    place_.left = geometry().x();
    place_.top = geometry().y();
    // QDialog's own handler would go round through reject() again.
    event->accept();
}

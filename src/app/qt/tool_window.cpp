#include "app/qt/tool_window.h"

#include <QCloseEvent>

#include "app/tool_window_places.h"

ToolWindow::ToolWindow(QWidget* parent, ToolWindowPlace& place) : QDialog(parent), place_(place) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void ToolWindow::showEvent(QShowEvent* event) {
    // The place is the client area's corner: the frame's size is the window manager's
    // business and is not known before the window shows.
    if (!placed_ && place_.known()) setGeometry(QRect(QPoint(place_.left, place_.top), size()));
    placed_ = true;
    QDialog::showEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    place_.left = geometry().x();
    place_.top = geometry().y();
    // QDialog's own handler would go round through reject() again.
    event->accept();
}

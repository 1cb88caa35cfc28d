#include "app/qt/system_variables_window.h"

#include <algorithm>

#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/qt/app_fonts.h"
#include "base/window_places.h"
#include "debugger/forth_views.h"

namespace {
QPointer<SystemVariablesWindow> openWindow;
}

SystemVariablesWindow::SystemVariablesWindow(QWidget* parent)
    : DebuggerToolWindow(parent, kPlaceSystemVariables) {
    setObjectName("SYSTEM_VARIABLES");
    setWindowTitle("System Variables");
    list_ = new QTreeWidget(this);
    list_->setObjectName("variables");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Name", "Address", "Value"});
    list_->setFont(ListingFont());
    for (const SystemVariableRow& row : SystemVariableRows()) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.name));
        item->setText(1, QString::fromStdString(row.address));
        item->setText(2, QString::fromStdString(row.value));
    }
    // The classic widths, widened where this font needs more room.
    const int widths[3] = {60, 60, 338};
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        list_->resizeColumnToContents(c);
        list_->setColumnWidth(c, std::max(widths[c], list_->columnWidth(c) + 8));
        total += list_->columnWidth(c);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    resize(total + 24, 25 * list_->sizeHintForRow(0) + list_->header()->sizeHint().height() + 8);
}

void OpenSystemVariables(QWidget* parent) {
    if (openWindow) return;
    openWindow = new SystemVariablesWindow(parent);
    openWindow->show();
}

SystemVariablesWindow* OpenSystemVariablesWindow() {
    return openWindow.data();
}

#include "debugger/qt/breakpoint_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/qt/tool_window_place.h"
#include "debugger/breakpoints.h"
#include "debugger/forth_word_break.h"
#include "debugger/qt/breakpoint_dialog.h"

BreakpointListWindow::BreakpointListWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Breakpoints");
    setObjectName("breakpointList");
    auto* list = new QTreeWidget(this);
    list->setObjectName("breakpointRows");
    list->setColumnCount(4);
    list->setHeaderLabels({"Address", "Condition", "Active", "Kind"});
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->resizeSection(0, 100);
    list->header()->resizeSection(1, 161);
    list->header()->resizeSection(2, 48);
    list->header()->resizeSection(3, 56);
    list->setMinimumWidth(100 + 161 + 48 + 56 + 24);

    auto* add = new QPushButton("Add", this);
    auto* remove = new QPushButton("Delete", this);
    auto* update = new QPushButton("Update", this);
    add->setObjectName("add");
    remove->setObjectName("delete");
    update->setObjectName("update");
    add->setAutoDefault(false);
    remove->setAutoDefault(false);
    update->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(update);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &BreakpointListWindow::Add);
    connect(remove, &QPushButton::clicked, this, &BreakpointListWindow::Delete);
    connect(update, &QPushButton::clicked, this, &BreakpointListWindow::Update);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &BreakpointListWindow::Update);
    Rebuild();
    KeepToolWindowPlace(this, kPlaceBreakpoints);
}

void BreakpointListWindow::Rebuild() {
    auto* list = findChild<QTreeWidget*>("breakpointRows");
    const int selected = SelectedIndex();
    list->clear();
    for (int k = 0; k < breakpointState.breakpointCount; ++k) {
        auto* row = new QTreeWidgetItem(list);
        row->setText(0, QString::fromStdString(BreakpointPlaceText(k)));
        row->setText(1, QString::fromStdString(breakpointState.breakpoints[k].conditionText));
        row->setText(2, breakpointState.breakpoints[k].active ? "NO" : "YES");
        row->setText(3, BreakKindText(breakpointState.breakpoints[k].kind));
    }
    if (selected >= 0 && selected < breakpointState.breakpointCount)
        list->setCurrentItem(list->topLevelItem(selected));
}

int BreakpointListWindow::SelectedIndex() const {
    auto* list = findChild<QTreeWidget*>("breakpointRows");
    const QList<QTreeWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? -1 : list->indexOfTopLevelItem(chosen.first());
}

void BreakpointListWindow::Add() {
    if (breakpointState.breakpointCount >= kMaxBreakpoints) {
        ReportMessage(kCaptionDebug, kMsgTooManyBreakpoints);
        return;
    }
    BreakpointDialog dialog(-1, this);
    if (dialog.exec() != QDialog::Accepted) return;
    Rebuild();
    auto* list = findChild<QTreeWidget*>("breakpointRows");
    list->setCurrentItem(list->topLevelItem(breakpointState.breakpointCount - 1));
    emit Changed();
}

void BreakpointListWindow::Delete() {
    if (breakpointState.breakpointCount == 0) return;
    DeleteBreakpoint(SelectedIndex());
    Rebuild();
    emit Changed();
}

void BreakpointListWindow::Update() {
    const int index = SelectedIndex();
    if (index < 0) return;
    BreakpointDialog dialog(index, this);
    if (dialog.exec() != QDialog::Accepted) return;
    Rebuild();
    emit Changed();
}

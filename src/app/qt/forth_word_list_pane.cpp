#include "app/qt/forth_word_list_pane.h"

#include <QHeaderView>

#include "app/qt/app_fonts.h"
#include "debugger/forth_views.h"

ForthWordListPane::ForthWordListPane(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("wordList");
    setRootIsDecorated(false);
    setHeaderLabels({"Word", "Address"});
    setFont(ListingFont());
    setColumnWidth(0, 160);
    setColumnWidth(1, 55);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    Refresh();
}

void ForthWordListPane::Refresh() {
    clear();
    for (const ForthWord& word : buildWordList()) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(word.name));
        item->setText(1, QString::asprintf("%04X", word.link));
    }
}

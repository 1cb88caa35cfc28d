#include "app/qt/forth_word_list_pane.h"

#include <QHeaderView>

#include "app/qt/app_fonts.h"

ForthWordListPane::ForthWordListPane(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("wordList");
    setRootIsDecorated(false);
    setHeaderLabels({"Word", "Address"});
    setFont(ListingFont());
    setColumnWidth(0, 110);
    setColumnWidth(1, 55);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    Refresh();
}

void ForthWordListPane::Refresh() {
    clear();
    words_ = buildWordList();
    for (const ForthWord& word : words_) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(word.name));
        item->setText(1, QString::asprintf("%04X", word.link));
    }
}

std::optional<ForthWord> ForthWordListPane::WordOf(const QTreeWidgetItem* item) const {
    const int row = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
    if (row < 0 || size_t(row) >= words_.size()) return std::nullopt;
    return words_[size_t(row)];
}

#include "app/qt/forth_word_pane.h"

#include <QPlainTextEdit>

#include "app/qt/app_fonts.h"
#include "app/qt/forth_word_list_pane.h"
#include "debugger/forth_decompiler.h"

ForthWordPane::ForthWordPane(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), list_(new ForthWordListPane(this)), text_(new QPlainTextEdit(this)) {
    setObjectName("forthWordPane");
    text_->setObjectName("decompiledWord");
    text_->setReadOnly(true);
    text_->setFont(ListingFont());
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    addWidget(list_);
    addWidget(text_);
    // The list beside the definition: names are short, so the definition gets the larger
    // share; a wider window shows more of it.
    setChildrenCollapsible(false);
    setStretchFactor(0, 1);
    setStretchFactor(1, 3);
    list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance("WWWWWWWW"));
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
}

void ForthWordPane::Refresh() {
    const int row = list_->currentIndex().row();
    list_->Refresh();
    if (row >= 0 && row < list_->topLevelItemCount()) list_->setCurrentItem(list_->topLevelItem(row));
    ShowSelected();
}

void ForthWordPane::ShowSelected() {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item) {
        text_->clear();
        return;
    }
    const std::optional<ForthWord> word = list_->WordOf(item);
    if (!word) return;
    const QString head = QString::asprintf("Header %04X\nCode field %04X (holds %04X)\nParameter field %04X\n\n",
                                           word->header, word->header + 1, word->codeField, word->header + 3);
    text_->setPlainText(head + QString::fromStdString(ListingText(*word, DecompileWord(*word, ForthBase()))));
}

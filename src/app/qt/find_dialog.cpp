#include "app/qt/find_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/host.h"

namespace {

// What the last search was, kept between openings so that Find Next goes on from there.
FindMode findMode = FindMode::Word;
uint32_t findPosition = 0;
QString findText; // so that Find Next needs no retyping

} // namespace

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("DEBUG_FIND");
    setWindowTitle("Find");
    text_ = new QLineEdit(this);
    text_->setObjectName("findText");
    text_->setText(findText);
    text_->selectAll();
    const char* const labels[3] = {"16 bit value", "String of bytes", "Text string"};
    auto* modeRow = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        modes_[k] = new QRadioButton(labels[k], this);
        modes_[k]->setObjectName(QString("mode%1").arg(k + 1));
        modeRow->addWidget(modes_[k]);
    }
    modes_[int(findMode) - 1]->setChecked(true);
    auto* help =
        new QLabel("For 16 bit values just enter a number, for a string of bytes put a comma between each "
                   "byte (no spaces) and for text strings just type the text (no quotes required).",
                   this);
    help->setWordWrap(true);
    auto* find = new QPushButton("Find", this);
    find->setObjectName("find");
    find->setDefault(true);
    auto* next = new QPushButton("Find Next", this);
    next->setObjectName("findNext");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    connect(find, &QPushButton::clicked, this, [this] { Search(false); });
    connect(next, &QPushButton::clicked, this, [this] { Search(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(find);
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(modeRow);
    layout->addWidget(help);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

FindMode FindDialog::Mode() const {
    if (modes_[1]->isChecked()) return FindMode::Bytes;
    if (modes_[2]->isChecked()) return FindMode::Text;
    return FindMode::Word;
}

void FindDialog::Search(bool next) {
    findMode = Mode();
    findText = text_->text();
    if (findText.isEmpty()) {
        host().ShowMessage("Find", "Nothing to find: type a value, bytes or a text first");
        return;
    }
    const std::optional<std::vector<uint8_t>> pattern = FindPattern(findText.toStdString(), findMode);
    if (!pattern) {
        ReportToolResult(ToolResult::BadNumber);
        return;
    }
    const std::optional<uint32_t> found = FindInMemory(*pattern, next ? findPosition + 1 : 0);
    if (!found) {
        ReportToolResult(ToolResult::NotFound);
        return;
    }
    findPosition = *found;
    match_ = FindMatch{*found, findMode};
    accept();
}

std::optional<FindMatch> RunFind(QWidget* parent) {
    FindDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.match();
}

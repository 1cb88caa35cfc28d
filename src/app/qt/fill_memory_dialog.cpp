#include "app/qt/fill_memory_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "debugger/memory_tools.h"

FillMemoryDialog::FillMemoryDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("DEBUG_FILL");
    setWindowTitle("Fill Memory");
    auto field = [this](const char* name, int maxLength) {
        auto* f = new QLineEdit(this);
        f->setObjectName(name);
        f->setMaxLength(maxLength);
        return f;
    };
    start_ = field("start", 16);
    length_ = field("length", 16);
    data_ = field("data", 255);
    const char* const labels[3] = {"8 bit Data", "16 bit Data", "Text"};
    auto* modeRow = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        modes_[k] = new QRadioButton(labels[k], this);
        modes_[k]->setObjectName(QString("mode%1").arg(k + 1));
        modeRow->addWidget(modes_[k]);
    }
    modes_[0]->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow("Start Address", start_);
    form->addRow("Length", length_);
    form->addRow("Data", data_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    connect(buttons, &QDialogButtonBox::accepted, this, &FillMemoryDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(modeRow);
    layout->addWidget(buttons);
}

void FillMemoryDialog::Accept() {
    const FillMode mode = modes_[1]->isChecked()   ? FillMode::Word
                          : modes_[2]->isChecked() ? FillMode::Text
                                                   : FillMode::Byte;
    const ToolResult result = FillMemoryBlock(start_->text().toStdString(), length_->text().toStdString(),
                                              data_->text().toStdString(), mode);
    if (ReportToolResult(result) == ToolResult::Done) accept();
}

bool RunFillMemory(QWidget* parent) {
    FillMemoryDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

#include "app/qt/copy_memory_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "debugger/memory_tools.h"

CopyMemoryDialog::CopyMemoryDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("DEBUG_COPY");
    setWindowTitle("Copy Memory");
    auto field = [this](const char* name) {
        auto* f = new QLineEdit(this);
        f->setObjectName(name);
        f->setMaxLength(16);
        return f;
    };
    source_ = field("source");
    destination_ = field("destination");
    length_ = field("length");
    auto* form = new QFormLayout;
    form->addRow("Source Page", source_);
    form->addRow("Destination Page", destination_);
    form->addRow("Length", length_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    connect(buttons, &QDialogButtonBox::accepted, this, &CopyMemoryDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CopyMemoryDialog::Accept() {
    const ToolResult result = CopyMemoryBlock(
        source_->text().toStdString(), destination_->text().toStdString(), length_->text().toStdString());
    if (ReportToolResult(result) == ToolResult::Done) accept();
}

bool RunCopyMemory(QWidget* parent) {
    CopyMemoryDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

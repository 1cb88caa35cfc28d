#include "app/qt/binary_file_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "tape/binary_files.h"

namespace {

QLineEdit* Field(QWidget* parent, const char* name, int maxLength) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    return field;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

LoadBinaryFileDialog::LoadBinaryFileDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("LOAD_BINARY_FILE");
    setWindowTitle("Load Binary File");
    fileName_ = Field(this, "fileName", 255);
    startAddress_ = Field(this, "startAddress", 16);
    auto* browse = new QToolButton(this);
    browse->setObjectName("browse");
    browse->setText("...");
    browse->setFixedSize(24, 23);
    connect(browse, &QToolButton::clicked, this, &LoadBinaryFileDialog::Browse);

    auto* file = new QHBoxLayout;
    file->addWidget(fileName_);
    file->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow("File name", file);
    form->addRow("Start address", startAddress_);
    auto* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoadBinaryFileDialog::Accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void LoadBinaryFileDialog::Browse() {
    fileName_->setText(QString::fromStdString(BrowseBinaryFile(fileName_->text().toStdString())));
}

void LoadBinaryFileDialog::Accept() {
    if (LoadBinaryFileCommand(fileName_->text().toStdString(), startAddress_->text().toStdString())) accept();
}

SaveBinaryFileDialog::SaveBinaryFileDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("SAVE_BINARY_FILE");
    setWindowTitle("Save Binary File");
    fileName_ = Field(this, "fileName", 80);
    startAddress_ = Field(this, "startAddress", 16);
    length_ = Field(this, "length", 16);
    auto* form = new QFormLayout;
    form->addRow("File name", fileName_);
    form->addRow("Start address", startAddress_);
    form->addRow("File length", length_);
    auto* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveBinaryFileDialog::Accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void SaveBinaryFileDialog::Accept() {
    if (SaveBinaryFileCommand(fileName_->text().toStdString(), startAddress_->text().toStdString(),
                              length_->text().toStdString()))
        accept();
}

#include "app/qt/binary_file_dialogs.h"

#include <functional>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/host.h"
#include "tape/binary_files.h"

namespace {

QLineEdit* Field(QWidget* parent, const char* name, int maxLength) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    return field;
}

// The file name field with its "..." button beside it, as both dialogs have it.
QHBoxLayout* FileRow(QLineEdit* field, QDialog* dialog, std::function<void()> browse) {
    auto* button = new QToolButton(dialog);
    button->setObjectName("browse");
    button->setText("...");
    button->setFixedSize(24, 23);
    QObject::connect(button, &QToolButton::clicked, dialog, std::move(browse));
    auto* row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(button);
    return row;
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
    auto* form = new QFormLayout;
    form->addRow("File name", FileRow(fileName_, this, [this] { Browse(); }));
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
    fileName_ = Field(this, "fileName", 255);
    startAddress_ = Field(this, "startAddress", 16);
    length_ = Field(this, "length", 16);
    auto* form = new QFormLayout;
    form->addRow("File name", FileRow(fileName_, this, [this] { Browse(); }));
    form->addRow("Start address", startAddress_);
    form->addRow("File length", length_);
    auto* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveBinaryFileDialog::Accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void SaveBinaryFileDialog::Browse() {
    FileDialogRequest request;
    request.title = "Save Binary File";
    request.filters = {{"BIN files (*.bin)", "*.bin"}};
    request.initialName = fileName_->text().toStdString();
    request.defaultExtension = "bin";
    const std::string chosen = host().ChooseSaveFile(request);
    if (!chosen.empty()) fileName_->setText(QString::fromStdString(chosen));
}

void SaveBinaryFileDialog::Accept() {
    if (SaveBinaryFileCommand(fileName_->text().toStdString(), startAddress_->text().toStdString(),
                              length_->text().toStdString()))
        accept();
}

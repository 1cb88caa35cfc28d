#include "app/qt/message_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

MessageDialog::MessageDialog(const QString& caption, const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("messageDialog");
    setWindowTitle(caption);
    setModal(true);
    text_ = new QLabel(text, this);
    text_->setObjectName("messageText");
    text_->setTextFormat(Qt::PlainText);
    text_->setMinimumWidth(260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString MessageDialog::text() const {
    return text_->text();
}

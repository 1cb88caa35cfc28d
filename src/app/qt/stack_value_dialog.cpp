#include "app/qt/stack_value_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "debugger/memory_tools.h"

namespace {
int stackRegister = 0;
}

StackValueDialog::StackValueDialog(Kind kind, QWidget* parent) : QDialog(parent), kind_(kind) {
    const bool push = kind == Kind::Push;
    setObjectName(push ? "DEBUG_PUSH" : "DEBUG_POP");
    setWindowTitle(push ? "Push onto Stack" : "POP Off Stack");
    choice_ = new QComboBox(this);
    choice_->setObjectName("register");
    choice_->setEditable(push);
    for (const char* name : kStackRegisterNames)
        choice_->addItem(name);
    choice_->setCurrentIndex(stackRegister);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    connect(buttons, &QDialogButtonBox::accepted, this, &StackValueDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(push ? "Register or value to push" : "Register to pop into", this));
    layout->addWidget(choice_);
    layout->addWidget(buttons);
}

void StackValueDialog::Accept() {
    const std::string text = choice_->currentText().toStdString();
    const ToolResult result = kind_ == Kind::Push ? PushText(text) : PopText(text);
    if (ReportToolResult(result) != ToolResult::Done) return;
    if (choice_->findText(choice_->currentText()) >= 0)
        stackRegister = choice_->findText(choice_->currentText());
    accept();
}

bool RunStackValue(StackValueDialog::Kind kind, QWidget* parent) {
    StackValueDialog dialog(kind, parent);
    return dialog.exec() == QDialog::Accepted;
}

void ResetStackRegisterChoice() {
    stackRegister = 0;
}

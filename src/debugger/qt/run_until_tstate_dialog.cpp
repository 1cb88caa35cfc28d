#include "debugger/qt/run_until_tstate_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/number_text.h"
#include "debugger/debugger_session.h"

RunUntilTstateDialog::RunUntilTstateDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Run Until T_STATE");
    tstate_ = new QLineEdit(this);
    tstate_->setObjectName("tstate");
    tstate_->setMaxLength(9);
    tstate_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), tstate_));
    tstate_->setText(QString::number(debuggerSession.runUntilTstate));
    tstate_->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Run until the frame's T-state passes:", this));
    layout->addWidget(tstate_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &RunUntilTstateDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RunUntilTstateDialog::Accept() {
    // The field takes digits only; an empty one means T-state 0.
    debuggerSession.runUntilTstate = ParseDigits(tstate_->text().trimmed().toStdString(), 10).value_or(0);
    accept();
}

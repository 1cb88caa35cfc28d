#include "debugger/qt/run_until_tstate_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

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
    debuggerSession.runUntilTstate = tstate_->text().toUInt();
    accept();
}

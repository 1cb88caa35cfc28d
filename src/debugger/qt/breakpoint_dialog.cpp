#include "debugger/qt/breakpoint_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "base/messages.h"
#include "debugger/breakpoints.h"
#include "debugger/forth_word_break.h"

BreakpointDialog::BreakpointDialog(int index, QWidget* parent) : QDialog(parent), index_(index) {
    setWindowTitle(index < 0 ? "Add New Breakpoint" : "Update Breakpoint");
    address_ = new QLineEdit(this);
    address_->setObjectName("address");
    address_->setPlaceholderText("#0038 or 56");
    condition_ = new QLineEdit(this);
    condition_->setObjectName("condition");
    condition_->setPlaceholderText("e.g. A=#20, HL>$8000 (optional)");
    kind_ = new QComboBox(this);
    kind_->setObjectName("kind");
    // In BreakKind's order.
    kind_->addItems({"Execute", "Memory write", "Memory read", "Port (IN or OUT)"});
    auto* form = new QFormLayout(this);
    form->addRow("Stop on", kind_);
    form->addRow("Address", address_);
    form->addRow("Condition", condition_);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int kind) {
        address_->setPlaceholderText(kind == 0   ? "#0038 or 56"
                                     : kind == 3 ? "#FE, or a full port #FEFE"
                                                 : "#3C4C, or a range #3C4C-#3C4D");
    });
    if (index >= 0) {
        kind_->setCurrentIndex(int(breakpointState.breakpoints[index].kind));
        active_ = new QComboBox(this);
        active_->setObjectName("active");
        active_->addItems({"YES", "NO"});
        active_->setCurrentIndex(breakpointState.breakpoints[index].active ? 1 : 0);
        address_->setText(QString::fromStdString(BreakpointPlaceText(index)));
        condition_->setText(QString::fromStdString(breakpointState.breakpoints[index].conditionText));
        form->addRow("Active", active_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &BreakpointDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void BreakpointDialog::Accept() {
    std::string address = address_->text().toStdString();
    std::string condition = condition_->text().toStdString();
    const BreakKind kind = BreakKind(kind_->currentIndex());
    // A FORTH word's name stands for the moment it is entered.
    WordBreakpointFields(address, address, condition);
    const BreakpointResult result =
        index_ < 0 ? AddBreakpoint(address, condition, kind)
                   : UpdateBreakpoint(index_, address, condition, active_->currentIndex() == 0, kind);
    switch (result) {
    case BreakpointResult::Ok: accept(); return;
    case BreakpointResult::TableFull:
        ReportMessage(kCaptionDebug, kMsgTooManyBreakpoints);
        reject();
        return;
    case BreakpointResult::BadAddress:
        ReportMessage(kCaptionDebug, kMsgBadNumber);
        address_->setFocus();
        address_->selectAll();
        return;
    }
}

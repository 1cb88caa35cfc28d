#include "app/qt/edit_registers_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/app_fonts.h"
#include "base/messages.h"
#include "base/number_text.h"
#include "machine/machine_state.h"

namespace {

const char* const kFieldNames[14] = {"PC", "SP",  "AF",  "BC",  "DE",  "HL", "IX",
                                     "IY", "AF'", "BC'", "DE'", "HL'", "I",  "R"};
const char* const kFlagNames[8] = {"S", "Z", "5", "H", "3", "P", "N", "C"};

std::string* FieldText(RegisterFields& f, int index) {
    std::string* texts[14] = {&f.pc, &f.sp,    &f.af,    &f.bc,    &f.de,    &f.hl, &f.ix,
                              &f.iy, &f.afAlt, &f.bcAlt, &f.deAlt, &f.hlAlt, &f.i,  &f.r};
    return texts[index];
}

} // namespace

EditRegistersDialog::EditRegistersDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("EDIT_REGISTERS");
    setWindowTitle("Edit Z80 Registers");
    RegisterFields current = CurrentRegisterFields();
    auto* grid = new QGridLayout;
    for (int k = 0; k < 14; ++k) {
        auto* field = new QLineEdit(QString::fromStdString(*FieldText(current, k)), this);
        field->setObjectName(QString("reg_") + QString(kFieldNames[k]).replace('\'', "_alt"));
        field->setFont(ListingFont());
        field->setMaxLength(k < 12 ? 5 : 3); // four or two digits, and room for a "#"
        field->setFixedWidth(64);
        fields_[k] = field;
        const int column = (k % 2) * 2, row = k / 2;
        grid->addWidget(new QLabel(kFieldNames[k], this), row, column);
        grid->addWidget(field, row, column + 1);
    }
    auto* flagRow = new QHBoxLayout;
    for (int b = 0; b < 8; ++b) {
        flags_[b] = new QCheckBox(kFlagNames[b], this);
        flags_[b]->setObjectName(QString("flag_") + kFlagNames[b]);
        flags_[b]->setChecked(current.flags[b]);
        connect(flags_[b], &QCheckBox::toggled, this, &EditRegistersDialog::FlagsChanged);
        flagRow->addWidget(flags_[b]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    connect(buttons, &QDialogButtonBox::accepted, this, &EditRegistersDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(flagRow);
    layout->addWidget(buttons);
}

QLineEdit* EditRegistersDialog::Field(const QString& name) const {
    for (int k = 0; k < 14; ++k)
        if (name == kFieldNames[k]) return fields_[k];
    return nullptr;
}

void EditRegistersDialog::FlagsChanged() {
    // A takes what the AF field says now when it is readable, else the machine's A.
    const std::optional<uint32_t> af =
        ParseDigits(fields_[2]->text().remove('#').remove('$').trimmed().toStdString(), 16, 0xFFFF);
    const int a = af ? int(*af >> 8) : machine.af.hi;
    int f = 0;
    for (int b = 0; b < 8; ++b)
        if (flags_[b]->isChecked()) f |= 0x80 >> b;
    fields_[2]->setText(QString::asprintf("%02X%02X", a, f));
}

void EditRegistersDialog::Accept() {
    RegisterFields f;
    for (int k = 0; k < 14; ++k)
        *FieldText(f, k) = fields_[k]->text().toStdString();
    for (int b = 0; b < 8; ++b)
        f.flags[b] = flags_[b]->isChecked();
    const std::string bad = ApplyRegisterFields(f);
    if (bad.empty()) return accept();
    ReportMessage(kCaptionDebug, kMsgBadNumber);
    QLineEdit* field = Field(QString::fromStdString(bad));
    if (field) {
        field->setFocus();
        field->selectAll();
    }
}

bool RunEditRegisters(QWidget* parent) {
    EditRegistersDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

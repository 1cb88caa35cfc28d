#include "app/qt/rom_missing_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

RomMissingDialog::RomMissingDialog(const QStringList& places, QWidget* parent) : QDialog(parent) {
    setObjectName("romMissingDialog");
    setWindowTitle("NoltACE needs the Jupiter Ace ROM");
    setModal(true);

    QString text = "NoltACE cannot start without the Jupiter Ace's 8 KB ROM image.\n\n"
                   "Put your copy of the ROM, a file of 8192 bytes named ace.rom, in one of these places:\n";
    for (const QString& place : places) text += "\n    " + place;
    text += "\n\nthen start NoltACE again.";

    auto* label = new QLabel(text, this);
    label->setObjectName("romPlaces");
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

#include "app/qt/rom_missing_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

RomMissingDialog::RomMissingDialog(const QStringList& places, QWidget* parent) : QDialog(parent) {
    setObjectName("romMissingDialog");
    setWindowTitle("NoltACE needs the Jupiter Ace ROM");
    setModal(true);

    QString text = "NoltACE cannot start without the Jupiter Ace's ROM image (a file of 8192 bytes).\n\n"
                   "It looked in these places, in this order:\n";
    for (const QString& place : places)
        text += "\n    " + place;
    text += "\n\nPut your copy of the ROM, named ace.rom, in one of the folders above, or name the file\n"
            "with the environment variable NOLTACE_ROM, then start NoltACE again.";

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

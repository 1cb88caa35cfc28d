#include "app/qt/rom_missing_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/rom_install.h"
#include "app/rom_lookup.h"

RomMissingDialog::RomMissingDialog(const QStringList& places, QWidget* parent) : QDialog(parent) {
    setObjectName("romMissingDialog");
    setWindowTitle("NoltACE needs the Jupiter Ace ROM");
    setModal(true);

    QString text = "NoltACE cannot start without the Jupiter Ace's ROM image (a file of 8192 bytes).\n\n"
                   "It looked in these places, in this order:\n";
    for (const QString& place : places)
        text += "\n    " + place;
    text += "\n\nChoose your copy of the ROM with \"Choose ROM File...\": it is copied to\n    " +
            QString::fromStdString(UserRomPath()) +
            "\nand the emulator starts. Or put it, named ace.rom, in one of the folders above, or name\n"
            "the file with the environment variable NOLTACE_ROM, and start NoltACE again.";

    auto* label = new QLabel(text, this);
    label->setObjectName("romPlaces");
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* choose = buttons->addButton("Choose ROM File...", QDialogButtonBox::ActionRole);
    choose->setObjectName("chooseRomButton");
    choose->setDefault(true);
    connect(choose, &QPushButton::clicked, this, &RomMissingDialog::ChooseRomFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void RomMissingDialog::ChooseRomFile() {
    const QString path = QFileDialog::getOpenFileName(this, "Choose the Jupiter Ace ROM", QDir::homePath(),
                                                      "ROM images (*.rom *.ROM *.bin);;All files (*)");
    if (!path.isEmpty()) InstallChosenRom(path);
}

bool RomMissingDialog::InstallChosenRom(const QString& path) {
    const std::string problem = InstallUserRom(path.toStdString());
    if (!problem.empty()) {
        QMessageBox box(QMessageBox::Warning, "NoltACE", "NoltACE cannot use " + path + ": " +
                                                         QString::fromStdString(problem), QMessageBox::Ok, this);
        box.setObjectName("romRefused");
        box.exec();
        return false;
    }
    accept();
    return true;
}

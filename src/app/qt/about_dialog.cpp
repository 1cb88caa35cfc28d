#include "app/qt/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/app_fonts.h"
#include "app/shell_state.h"

namespace {

constexpr int kClientWidth = 375;
constexpr int kClientHeight = 228;
constexpr int kButtonGap = 5;  // OK sits this far above the bottom edge
constexpr int kTextInset = 30; // the text keeps this far from the right edge

const char* const kCredits =
    "NoltACE emulates the Jupiter Ace, the Z80 home computer that Richard Altwasser and "
    "Steven Vickers designed and Jupiter Cantab sold in 1982, and whose 8 KB ROM starts "
    "straight into FORTH.\n\n"
    "This edition runs on Qt 6, OpenGL and SDL2. Thanks to everyone who keeps the Ace's "
    "programs, tapes and manuals alive.\n\n"
    "The FORTH Is Strong In This Emulator";

} // namespace

QString AboutText() {
    return QString("Version %1\n\n%2").arg(kVersionText, kCredits);
}

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("aboutDialog");
    setWindowTitle(QString("NoltACE v%1").arg(kVersionText));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("aboutOk");
    ok->setDefault(true);
    ok->adjustSize();
    ok->move((kClientWidth - ok->width()) / 2, kClientHeight - kButtonGap - ok->height());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QLabel(AboutText(), this);
    text->setObjectName("aboutText");
    text->setFont(BoldTitleFont());
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Black on the dialog's own background.
    text->setStyleSheet("color: black; background: transparent;");
    text->setGeometry(kTextInset, 10, kClientWidth - 2 * kTextInset, ok->y() - 15);
}

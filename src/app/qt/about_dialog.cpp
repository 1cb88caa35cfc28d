#include "app/qt/about_dialog.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

#include "app/qt/app_fonts.h"
#include "app/shell_state.h"

namespace {

constexpr int kClientWidth = 375;
constexpr int kClientHeight = 228; // at least; taller when the text needs it
constexpr int kTextTop = 10;
constexpr int kTextGap = 15; // between the text and the OK button
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

    auto* text = new QLabel(AboutText(), this);
    text->setObjectName("aboutText");
    text->setFont(BoldTitleFont());
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Black on the dialog's own background.
    text->setStyleSheet("color: black; background: transparent;");
    const int textWidth = kClientWidth - 2 * kTextInset;
    // As tall as the wrapped text needs with this font, so its last line always shows.
    const int textHeight = text->heightForWidth(textWidth);
    text->setGeometry(kTextInset, kTextTop, textWidth, textHeight);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("aboutOk");
    ok->setDefault(true);
    ok->adjustSize();
    const int height = std::max(kClientHeight, kTextTop + textHeight + kTextGap + ok->height() + kButtonGap);
    setFixedSize(kClientWidth, height);
    ok->move((kClientWidth - ok->width()) / 2, height - kButtonGap - ok->height());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

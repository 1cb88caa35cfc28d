#include "app/qt/app_fonts.h"

QFont BoldTitleFont() {
    QFont font("Arial");
    font.setPixelSize(15);
    font.setWeight(QFont::Bold);
    return font;
}

QFont ListingFont() {
    QFont font("Consolas");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

#include "app/qt/keyboard_picture_window.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimerEvent>

#include <cstring>

#include "app/keyboard.h"
#include "base/host.h"
#include "machine/ace_keyboard.h"
#include "machine/machine_state.h"

namespace {

QPointer<KeyboardPictureWindow> openPicture;

// Each button's place: its row, left edge and width in key pitches. The rows are
// staggered as on the Ace; the wide keys square off the right-hand edge.
struct KeyPlace {
    qreal row, x, width;
};

KeyPlace PlaceOf(int button) {
    if (button < 10) return {0, qreal(button), 1};
    if (button < 20) return {1, 0.5 + (button - 10), 1};
    if (button < 29) return {2, 0.75 + (button - 20), 1};
    if (button == kHelperEnterButton) return {2, 9.75, 1.25};
    if (button == kHelperShiftButton) return {3, 0, 1.25};
    if (button < kHelperSymbolShiftButton) return {3, 1.25 + (button - 31), 1};
    if (button == kHelperSymbolShiftButton) return {3, 8.25, 1.25};
    return {3, 9.5, 1.5}; // SPACE
}

constexpr qreal kAreaWidthInKeys = 11;
constexpr qreal kAreaHeightInKeys = 4;

const QColor kCaseColour(0x1B, 0x1B, 0x1B);
const QColor kLegendColour(0xF2, 0xF2, 0xF2);
const QColor kSymbolColour(0xFF, 0x5A, 0x48);

QFont LegendFont(qreal pixelSize, bool bold) {
    QFont font;
    font.setPixelSize(qMax(6, qRound(pixelSize)));
    font.setBold(bold);
    return font;
}

// The cursor keys' legends are drawn as arrows: a shaft and a head, pointing `dir`
// ('<', '>', '^', 'v').
void PaintArrow(QPainter& p, const QRectF& box, char dir) {
    const QPointF c = box.center();
    const qreal len = qMin(box.width(), box.height()) * 0.42;
    const qreal head = len * 0.55;
    QPointF tip, tail, side1, side2;
    switch (dir) {
    case '<': tip = c - QPointF(len, 0), tail = c + QPointF(len, 0); break;
    case '>': tip = c + QPointF(len, 0), tail = c - QPointF(len, 0); break;
    case '^': tip = c - QPointF(0, len), tail = c + QPointF(0, len); break;
    default: tip = c + QPointF(0, len), tail = c - QPointF(0, len); break;
    }
    const QPointF along = (tip - tail) / (2 * len);
    const QPointF across(-along.y(), along.x());
    side1 = tip - along * head + across * head * 0.6;
    side2 = tip - along * head - across * head * 0.6;
    QPainterPath path;
    path.moveTo(tail);
    path.lineTo(tip);
    path.moveTo(side1);
    path.lineTo(tip);
    path.lineTo(side2);
    p.setPen(QPen(kLegendColour, qMax(1.0, len * 0.18), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

} // namespace

QRectF AceKeyRect(int button, qreal unit) {
    const KeyPlace place = PlaceOf(button);
    const qreal gap = unit * 0.12;
    return {place.x * unit + gap / 2, place.row * unit + gap / 2, place.width * unit - gap, unit - gap};
}

QSizeF AceKeyAreaSize(qreal unit) {
    return {kAreaWidthInKeys * unit, kAreaHeightInKeys * unit};
}

void PaintAceKey(QPainter& p, const QRectF& keyRect, int button, KeyLook look) {
    if (button < 0 || button >= kHelperButtonCount) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = keyRect.height();
    // A pressed key sinks a little and loses its top light.
    const QRectF cap = look == KeyLook::Pressed ? keyRect.translated(0, u * 0.04) : keyRect;
    const qreal radius = u * 0.14;

    if (look != KeyLook::Pressed) { // the shadow under a raised key
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawRoundedRect(keyRect.translated(0, u * 0.05), radius, radius);
    }
    QLinearGradient fill(cap.topLeft(), cap.bottomLeft());
    switch (look) {
    case KeyLook::Normal:
        fill.setColorAt(0, QColor(0x5A, 0x5A, 0x5E));
        fill.setColorAt(1, QColor(0x33, 0x33, 0x36));
        break;
    case KeyLook::Pressed:
        fill.setColorAt(0, QColor(0x26, 0x26, 0x28));
        fill.setColorAt(1, QColor(0x3A, 0x3A, 0x3D));
        break;
    case KeyLook::Held:
        fill.setColorAt(0, QColor(0xB0, 0x84, 0x22));
        fill.setColorAt(1, QColor(0x6E, 0x50, 0x12));
        break;
    }
    p.setPen(QPen(QColor(0x0C, 0x0C, 0x0C), qMax(1.0, u * 0.025)));
    p.setBrush(fill);
    p.drawRoundedRect(cap, radius, radius);

    // The legends: the key itself, the symbol SYMBOL SHIFT types and, on the digits,
    // the editing function SHIFT gives it.
    const AceKeyCap& keyCap = kAceKeys[button];
    const QRectF inner = cap.adjusted(u * 0.1, u * 0.06, -u * 0.1, -u * 0.08);
    const QString main = QString::fromUtf8(keyCap.legend);
    if (main.size() > 1) { // ENTER, SHIFT, SYMBOL SHIFT, SPACE: one centred word or two
        p.setPen(kLegendColour);
        p.setFont(LegendFont(u * 0.19, true));
        p.drawText(inner, Qt::AlignCenter, main);
        p.restore();
        return;
    }
    const QString symbol = keyCap.symbol ? QString(QChar(char16_t(AceGlyph(keyCap.symbol)))) : QString();
    const QString shifted = QString::fromUtf8(keyCap.shiftedLegend);
    const bool digit = button < 10;

    p.setPen(kLegendColour);
    p.setFont(LegendFont(u * (digit ? 0.32 : 0.40), true));
    p.drawText(inner, digit ? (Qt::AlignLeft | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignBottom), main);

    if (!symbol.isEmpty()) {
        p.setPen(kSymbolColour);
        p.setFont(LegendFont(u * 0.28, true));
        p.drawText(inner, Qt::AlignRight | Qt::AlignTop, symbol);
    }
    if (!shifted.isEmpty()) {
        const QRectF lower(inner.left(), inner.top() + inner.height() * 0.48, inner.width(),
                           inner.height() * 0.52);
        if (shifted.size() == 1) {
            PaintArrow(p, lower, shifted[0].toLatin1());
        } else {
            p.setPen(kLegendColour);
            p.setFont(LegendFont(u * 0.125, false));
            p.drawText(lower, Qt::AlignCenter | Qt::TextWordWrap, shifted);
        }
    }
    p.restore();
}

// ---- the window ----

namespace {

constexpr int kMargin = 10;
constexpr int kTitleBand = 45;
constexpr qreal kUnit = qreal(KeyboardPictureWindow::kWidth - 2 * kMargin) / kAreaWidthInKeys;

} // namespace

KeyboardPictureWindow::KeyboardPictureWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("keyboardPicture");
    setWindowTitle("Jupiter Ace Keyboard");
    setFixedSize(kWidth, kHeight);
    shownMatrix_.fill(0xFF);
    // The picture follows the keys the machine sees, a few times a second.
    timerId_ = startTimer(100);
}

KeyboardPictureWindow::~KeyboardPictureWindow() = default;

void KeyboardPictureWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) return QWidget::timerEvent(event);
    if (std::memcmp(shownMatrix_.data(), machine.keyMatrix, sizeof machine.keyMatrix) != 0) update();
}

void KeyboardPictureWindow::moveEvent(QMoveEvent* event) {
    // Keep the emulated screen drawn while this window is dragged over it.
    host().PresentFrame();
    QWidget::moveEvent(event);
}

void KeyboardPictureWindow::paintEvent(QPaintEvent*) {
    std::memcpy(shownMatrix_.data(), machine.keyMatrix, sizeof machine.keyMatrix);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kCaseColour);

    // The maker's name across the top of the case.
    p.setPen(QColor(0xE8, 0xE8, 0xE8));
    QFont title = LegendFont(24, true);
    title.setItalic(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(title);
    p.drawText(QRectF(kMargin + 4, 0, width() / 2.0, kTitleBand), Qt::AlignLeft | Qt::AlignVCenter,
               "JUPITER ACE");
    p.setPen(QPen(QColor(0xC8, 0x32, 0x28), 3));
    p.drawLine(QPointF(width() / 2.0, kTitleBand / 2.0), QPointF(width() - kMargin - 4, kTitleBand / 2.0));

    const QPointF origin(kMargin, kTitleBand);
    for (int b = 0; b < kHelperButtonCount; ++b) {
        const KeyLook look = AceKeyDown(HelperButtonKey(b)) ? KeyLook::Pressed : KeyLook::Normal;
        PaintAceKey(p, AceKeyRect(b, kUnit).translated(origin), b, look);
    }
}

void OpenKeyboardPicture(QWidget* parent) {
    if (!openPicture) {
        openPicture = new KeyboardPictureWindow(parent);
        openPicture->show();
    }
    openPicture->raise();
    openPicture->activateWindow();
}

bool KeyboardPictureOpen() {
    return !openPicture.isNull();
}

KeyboardPictureWindow* KeyboardPicture() {
    return openPicture.data();
}

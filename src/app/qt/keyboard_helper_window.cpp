#include "app/qt/keyboard_helper_window.h"

#include <QPainter>
#include <QPointer>
#include <QTimerEvent>

#include "app/keyboard.h"
#include "app/qt/keyboard_picture_window.h"

namespace {

QPointer<KeyboardHelperWindow> openHelper;

constexpr qreal kUnit = 48;
constexpr int kMargin = 12;

bool ToggleOn(int button) {
    if (button == kHelperShiftButton) return helperShift;
    if (button == kHelperSymbolShiftButton) return symbolHeld;
    return false;
}

bool IsToggle(int button) {
    return button == kHelperShiftButton || button == kHelperSymbolShiftButton;
}

} // namespace

HelperKeyButton::HelperKeyButton(int button, qreal unit, QWidget* parent)
    : QAbstractButton(parent), button_(button), unit_(unit) {
    setObjectName(QString("key%1").arg(kHelperFirstControlId + button));
    setFocusPolicy(Qt::NoFocus);
    const QRectF r = AceKeyRect(button, unit);
    setGeometry(r.toAlignedRect().translated(kMargin, kMargin));
}

QSize HelperKeyButton::sizeHint() const {
    return AceKeyRect(button_, unit_).toAlignedRect().size();
}

void HelperKeyButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // SHIFT and SYMBOL SHIFT show whether they are latched; the other keys show
    // themselves pushed while the mouse button holds them.
    KeyLook look = KeyLook::Normal;
    if (IsToggle(button_))
        look = ToggleOn(button_) ? KeyLook::Held : KeyLook::Normal;
    else if (isDown())
        look = KeyLook::Pressed;
    const QRectF cap = QRectF(rect()).adjusted(0, 0, 0, -height() * 0.06);
    PaintAceKey(p, cap, button_, look);
}

KeyboardHelperWindow::KeyboardHelperWindow(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("keyboardHelper");
    setWindowTitle("NoltACE Keyboard Helper");
    setModal(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    for (int b = 0; b < kHelperButtonCount; ++b) {
        buttons_[b] = new HelperKeyButton(b, kUnit, this);
        connect(buttons_[b], &QAbstractButton::pressed, this, [this, b] { KeyPressed(b); });
    }
    const QSizeF area = AceKeyAreaSize(kUnit);
    setFixedSize(int(area.width()) + 2 * kMargin, int(area.height()) + 2 * kMargin);
    OpenHelperTyping();
    // SYMBOL SHIFT is shared with the PC's Ctrl key, which can change it behind our back.
    timerId_ = startTimer(100);
}

KeyboardHelperWindow::~KeyboardHelperWindow() {
    CloseHelperTyping();
}

HelperKeyButton* KeyboardHelperWindow::KeyButton(int button) const {
    return button >= 0 && button < kHelperButtonCount ? buttons_[button] : nullptr;
}

void KeyboardHelperWindow::KeyPressed(int button) {
    HelperButtonDown(button);
    ShowToggles();
}

void KeyboardHelperWindow::ShowToggles() {
    if (helperShift == shownShift_ && symbolHeld == shownSymbol_) return;
    shownShift_ = helperShift;
    shownSymbol_ = symbolHeld;
    buttons_[kHelperShiftButton]->update();
    buttons_[kHelperSymbolShiftButton]->update();
}

void KeyboardHelperWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) return QDialog::timerEvent(event);
    ShowToggles();
}

void OpenKeyboardHelper(QWidget* parent) {
    if (!openHelper) {
        openHelper = new KeyboardHelperWindow(parent);
        openHelper->show();
    }
    openHelper->raise();
    openHelper->activateWindow();
}

bool KeyboardHelperOpen() {
    return !openHelper.isNull();
}

KeyboardHelperWindow* KeyboardHelper() {
    return openHelper.data();
}

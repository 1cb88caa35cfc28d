// The "Jupiter Ace Keyboard" window: a picture of the Ace's keyboard, drawn by the
// program, with the keys the machine currently sees held shown pressed. Also the key
// painter that the Keyboard Helper's buttons share.
//
// Usage: OpenKeyboardPicture(mainWindow) from the "Display Keyboard" command; it opens
// the window, or raises it when it is already open.
#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <array>
#include <cstdint>

class QPainter;

// How a key is drawn: at rest, pushed down, or latched on (the helper's shift toggles).
enum class KeyLook { Normal, Pressed, Held };

// Where key `button` (the Keyboard Helper's numbering, app/keyboard.h) sits on the
// keyboard, in pixels for a key pitch of `unit`, from the top-left of the key area.
QRectF AceKeyRect(int button, qreal unit);
// The key area's size for that pitch.
QSizeF AceKeyAreaSize(qreal unit);
// Draws one key: cap, main legend, its SYMBOL SHIFT character and, on the digits,
// what SHIFT makes of it.
void PaintAceKey(QPainter& painter, const QRectF& rect, int button, KeyLook look);

class KeyboardPictureWindow : public QWidget {
    Q_OBJECT
  public:
    // The client area the window keeps: 526 x 239.
    static constexpr int kWidth = 526;
    static constexpr int kHeight = 239;

    explicit KeyboardPictureWindow(QWidget* parent);
    ~KeyboardPictureWindow() override;

  protected:
    void paintEvent(QPaintEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void timerEvent(QTimerEvent*) override;

  private:
    std::array<uint8_t, 8> shownMatrix_{};
    int timerId_ = 0;
};

void OpenKeyboardPicture(QWidget* parent);
bool KeyboardPictureOpen();
KeyboardPictureWindow* KeyboardPicture(); // the open window, or nullptr

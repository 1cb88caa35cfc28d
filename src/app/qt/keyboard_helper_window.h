// The Keyboard Helper: the Ace's 40 keys as buttons to click. A click on a key makes
// its character the helper's pending character, which the frame driver types on its
// six-frame helper cycle; SHIFT and SYMBOL SHIFT are toggles that latch until clicked
// again. Opening the window starts the typing cycle, closing it stops it.
//
// Usage: OpenKeyboardHelper(mainWindow) from the "Keyboard Helper" command (opens the
// window, or raises it when open). The main window asks KeyboardHelperOpen() before
// pausing on focus loss: the helper takes the focus whenever it is clicked.
#pragma once

#include <QAbstractButton>
#include <QDialog>

class HelperKeyButton : public QAbstractButton {
    Q_OBJECT
  public:
    HelperKeyButton(int button, qreal unit, QWidget* parent);
    int Button() const { return button_; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    int button_;
    qreal unit_;
};

class KeyboardHelperWindow : public QDialog {
    Q_OBJECT
  public:
    explicit KeyboardHelperWindow(QWidget* parent);
    ~KeyboardHelperWindow() override;

    // The button of helper key `button` (0-39); its object name is "key" plus its
    // control id, 700 to 739.
    HelperKeyButton* KeyButton(int button) const;

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void KeyPressed(int button);
    void ShowToggles();
    HelperKeyButton* buttons_[40] = {};
    bool shownShift_ = false, shownSymbol_ = false;
    int timerId_ = 0;
};

void OpenKeyboardHelper(QWidget* parent);
bool KeyboardHelperOpen();
KeyboardHelperWindow* KeyboardHelper(); // the open window, or nullptr

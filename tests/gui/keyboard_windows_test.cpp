// The Keyboard Helper and keyboard picture windows, driven through their widgets.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "app/keyboard.h"
#include "app/qt/keyboard_helper_window.h"
#include "app/qt/keyboard_picture_window.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "tape/spool.h"

namespace {

void CloseAndDelete(QWidget* w) {
    if (!w) return;
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QImage Picture(QWidget* w) {
    return w->grab().toImage();
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

HelperKeyButton* Key(int controlId) {
    return KeyboardHelper()->findChild<HelperKeyButton*>(QString("key%1").arg(controlId));
}

} // namespace

class KeyboardWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        ResetKeyboard();
        spool.typingCounter = 5;
    }
    void cleanup() {
        CloseAndDelete(KeyboardHelper());
        CloseAndDelete(KeyboardPicture());
        ResetKeyboard();
        spool.typingCounter = 0;
    }

    void helperOpensOnceWithItsFortyKeys() {
        OpenKeyboardHelper(nullptr);
        KeyboardHelperWindow* helper = KeyboardHelper();
        QVERIFY(helper);
        QVERIFY(KeyboardHelperOpen());
        QCOMPARE(helper->windowTitle(), QString("NoltACE Keyboard Helper"));
        QCOMPARE(helper->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(spool.helperTyping);
        QCOMPARE(spool.typingCounter, 0);
        for (int id = 700; id <= 739; ++id)
            QVERIFY2(Key(id), qPrintable(QString::number(id)));
        // The keys lie inside the window and do not overlap.
        for (int a = 0; a < kHelperButtonCount; ++a) {
            QVERIFY(helper->rect().contains(helper->KeyButton(a)->geometry()));
            for (int b = a + 1; b < kHelperButtonCount; ++b)
                QVERIFY(!helper->KeyButton(a)->geometry().intersects(helper->KeyButton(b)->geometry()));
        }
        OpenKeyboardHelper(nullptr);
        QCOMPARE(KeyboardHelper(), helper);
    }

    void clickingKeysSetsThePendingCharacter() {
        OpenKeyboardHelper(nullptr);
        QTest::mouseClick(Key(730), Qt::LeftButton); // SHIFT
        QVERIFY(helperShift);
        QTest::mouseClick(Key(701), Qt::LeftButton); // 2
        QCOMPARE(int(spool.helperPendingCharacter), 11);
        QTest::mouseClick(Key(730), Qt::LeftButton);
        QTest::mouseClick(Key(701), Qt::LeftButton);
        QCOMPARE(int(spool.helperPendingCharacter), int('2'));
        QTest::mouseClick(Key(738), Qt::LeftButton); // SYMBOL SHIFT
        QVERIFY(symbolHeld);
        QTest::mouseClick(Key(727), Qt::LeftButton); // K
        QCOMPARE(int(spool.helperPendingCharacter), int('+'));
        QTest::mouseClick(Key(739), Qt::RightButton); // the right button does nothing
        QCOMPARE(int(spool.helperPendingCharacter), int('+'));
    }

    void keysShowPressedAndHeldPictures() {
        OpenKeyboardHelper(nullptr);
        HelperKeyButton* q = Key(710);
        const QImage normal = Picture(q);
        QTest::mousePress(q, Qt::LeftButton);
        QCOMPARE(int(spool.helperPendingCharacter), int('q')); // on the press, not the click
        const QImage pressed = Picture(q);
        QTest::mouseRelease(q, Qt::LeftButton);
        QVERIFY(pressed != normal);
        QCOMPARE(Picture(q), normal);

        HelperKeyButton* shift = Key(730);
        const QImage shiftNormal = Picture(shift);
        QTest::mouseClick(shift, Qt::LeftButton);
        QVERIFY(Picture(shift) != shiftNormal);
        QTest::mouseClick(shift, Qt::LeftButton);
        QCOMPARE(Picture(shift), shiftNormal);
    }

    void symbolShiftFollowsTheCtrlKey() {
        OpenKeyboardHelper(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(KeyboardHelper()));
        HelperKeyButton* symbol = Key(738);
        const QImage off = Picture(symbol);
        PaintCounter paints;
        symbol->installEventFilter(&paints);
        QTest::qWait(250);
        QCOMPARE(paints.count, 0); // nothing changed, nothing redrawn
        symbolHeld = true;         // as the PC's Ctrl key sets it
        QTRY_VERIFY(paints.count > 0);
        QVERIFY(Picture(symbol) != off);
    }

    void closingTheHelperStopsItsTyping() {
        OpenKeyboardHelper(nullptr);
        QVERIFY(spool.helperTyping);
        CloseAndDelete(KeyboardHelper());
        QVERIFY(!KeyboardHelperOpen());
        QVERIFY(!spool.helperTyping);
    }

    void pictureWindowOpensAtItsSizeAndShowsHeldKeys() {
        OpenKeyboardPicture(nullptr);
        KeyboardPictureWindow* picture = KeyboardPicture();
        QVERIFY(picture);
        QVERIFY(KeyboardPictureOpen());
        QCOMPARE(picture->windowTitle(), QString("Jupiter Ace Keyboard"));
        QCOMPARE(picture->size(), QSize(526, 239));
        OpenKeyboardPicture(nullptr);
        QCOMPARE(KeyboardPicture(), picture);

        const QImage idle = Picture(picture);
        QVERIFY(idle.pixel(5, 5) != idle.pixel(100, 120)); // keys on a case
        PressAceKey(AceLetterKey('G'));
        QVERIFY(Picture(picture) != idle);
        ReleaseAllKeys();
        QCOMPARE(Picture(picture), idle);

        CloseAndDelete(picture);
        QVERIFY(!KeyboardPictureOpen());
    }
};

REGISTER_GUI_SUITE(KeyboardWindowsTest);
#include "keyboard_windows_test.moc"

// Typing into the Ace through the main window: the PC keyboard, the Keyboard Helper,
// the keyboard picture and the Edit menu, on the real ROM.
#include <QAction>
#include <QStatusBar>
#include <QMimeData>
#include <QDragEnterEvent>
#include <QClipboard>
#include <QApplication>
#include <QFocusEvent>
#include <QRegularExpression>
#include <QTest>

#include <string>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "app/qt/application.h"
#include "app/qt/keyboard_helper_window.h"
#include "app/qt/keyboard_picture_window.h"
#include "app/qt/main_menu.h"
#include "app/qt/main_window.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "tape/spool.h"

namespace {

// The Ace's 32 x 24 character screen as text (inverse and graphics characters as '.').
QString ScreenText() {
    QString text;
    for (int row = 0; row < 24; ++row) {
        for (int col = 0; col < 32; ++col) {
            const uint8_t ch = ramBlock[0x2400 + row * 32 + col];
            text += (ch >= 32 && ch < 127) ? QChar(ch) : QChar('.');
        }
        text += '\n';
    }
    return text;
}

// The ROM reads a key only once it has been down for a few of its 50 Hz scans, so each
// PC key is held over several frames, as a person's would be.
constexpr int kHoldFrames = 4;
constexpr int kGapFrames = 2;

} // namespace

class KeyboardTypingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Application> app;

    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            app->loop().RunOnePass();
    }
    // Each frame of the ROM's start-up until FORTH shows its input cursor.
    bool Boot() {
        app = StartApplication();
        if (!app) return false;
        runState.FastMode = true; // frames as fast as they run; the timing is counted, not waited
        Frames(150);
        return true;
    }
    // Frames until a spool (or paste) has been typed, and some for the ROM to answer.
    void SpoolOut() {
        for (int i = 0; i < 20000 && spool.spoolActive; ++i)
            Frames(1);
        Frames(20);
    }
    void PcType(QWidget* window, const QString& text) {
        for (const QChar c : text) {
            const char ch = c.toLatin1();
            QTest::keyPress(window, ch);
            Frames(kHoldFrames);
            QTest::keyRelease(window, ch);
            Frames(kGapFrames);
        }
    }
    void PcKey(QWidget* window, Qt::Key key) {
        QTest::keyPress(window, key);
        Frames(kHoldFrames);
        QTest::keyRelease(window, key);
        Frames(kGapFrames);
    }

  private slots:
    void init() {
        ResetEmulatorState();
        ResetKeyboard();
    }
    void cleanup() {
        app.reset();
        ResetKeyboard();
    }

    void pcKeyboardTypesASum() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        PcType(window, "123 456 + .");
        QVERIFY2(ScreenText().contains("123 456 + ."), qPrintable(ScreenText())); // echoed as typed
        PcKey(window, Qt::Key_Return);
        Frames(25);
        QVERIFY2(ScreenText().contains("123 456 + . 579  OK"), qPrintable(ScreenText()));
        QVERIFY(std::all_of(std::begin(machine.keyMatrix), std::end(machine.keyMatrix),
                            [](uint8_t row) { return row == 0xFF; }));
    }

    void keysPressedAndReleasedInOnePassAllArrive() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        // Press and release reach the window before the next frame, as from a fast typist
        // or a paste tool; the key queue holds each key down until the ROM has read it.
        QTest::keyClicks(window, "123 456 + .");
        QTest::keyClick(window, Qt::Key_Return);
        Frames(12 * (kKeyHoldFrames + kKeyGapFrames) + 25);
        QVERIFY2(ScreenText().contains("123 456 + . 579  OK"), qPrintable(ScreenText()));
    }

    void keysHeldWhenTheScreenLosesTheKeyboardAreLetGo() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        // Shift and M held; a menu (or another window) takes the keyboard and gets their
        // releases.
        QTest::keyPress(window, Qt::Key_Shift);
        QTest::keyPress(window, Qt::Key_M, Qt::ShiftModifier);
        Frames(kKeyHoldFrames + 1);
        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(window, &out);
        Frames(60); // longer than the ROM waits before it repeats a key
        QVERIFY(std::all_of(std::begin(machine.keyMatrix), std::end(machine.keyMatrix),
                            [](uint8_t row) { return row == 0xFF; }));
        QVERIFY(!shiftHeld);
        QTest::keyClick(window, Qt::Key_X);
        Frames(20);
        QVERIFY2(ScreenText().split('\n').value(23).contains(QRegularExpression("^.[mM]x. *$")),
                 qPrintable(ScreenText()));
    }

    void everyPrintableCharacterTypesAsItself() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        // By the character each key event carries, whatever key produced it.
        QString all;
        for (char c = '!'; c <= '~'; ++c)
            all += QChar(c);
        QTest::keyClicks(window, all);
        Frames(int(all.size()) * (kKeyHoldFrames + kKeyGapFrames) + 25);
        QVERIFY2(QString(ScreenText()).remove('\n').contains(all), qPrintable(ScreenText()));
    }

    void keyboardHelperTypesItsCharacters() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        app->window()->actions().keyboardHelper->trigger();
        QVERIFY(KeyboardHelperOpen());
        KeyboardHelperWindow* helper = KeyboardHelper();
        const auto click = [&](int controlId) {
            QTest::mouseClick(helper->findChild<HelperKeyButton*>(QString("key%1").arg(controlId)),
                              Qt::LeftButton);
            // The character is typed at the next six-frame cycle and held for it; the
            // cycle after must pass empty so that the ROM sees the key let go.
            Frames(14);
        };
        // "7 1 + ." and ENTER, with SYMBOL SHIFT toggled on for the symbols.
        for (int id : {706, 739, 700, 739, 738, 727, 738, 739, 738, 737, 738, 729})
            click(id);
        Frames(25);
        QVERIFY2(ScreenText().contains("7 1 + . 8  OK"), qPrintable(ScreenText()));
        helper->close();
        Frames(2);
        QVERIFY(!KeyboardHelperOpen());
        QVERIFY(!spool.helperTyping);
    }

    void displayKeyboardOpensThePicture() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        app->window()->actions().displayKeyboard->trigger();
        QVERIFY(KeyboardPictureOpen());
        QVERIFY(QTest::qWaitForWindowExposed(KeyboardPicture()));
        QCOMPARE(KeyboardPicture()->size(), QSize(526, 239));
        KeyboardPicture()->close();
        Frames(2);
        QVERIFY(!KeyboardPictureOpen());
    }

    // The Edit menu: pasted and dropped text typed in, with its progress and what was
    // left out in the status bar, stopped by Esc; the screen copied as text.
    void pasteTypesTheClipboardAndSaysWhatWasLeftOut() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        QApplication::clipboard()->setText(QString::fromUtf8(": DBL 2 * ;\r\n21 DBL . \u20AC\n"));
        window->actions().pasteText->trigger();
        QVERIFY(spool.spoolActive);
        QVERIFY2(window->statusBar()->currentMessage().contains("1 character the Ace cannot type was left out"),
                 qPrintable(window->statusBar()->currentMessage()));
        SpoolOut();
        QVERIFY2(ScreenText().contains("21 DBL . 42  OK"), qPrintable(ScreenText()));
    }

    void droppedTextIsTypedAndEscStopsIt() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        QMimeData data;
        data.setText("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20");
        const QPoint centre = window->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        QVERIFY(spool.spoolActive);
        Frames(60); // about 15 characters
        QVERIFY(SpoolPercent() > 0 && SpoolPercent() < 100);
        window->actions().pause->trigger(); // Esc
        QVERIFY(!spool.spoolActive);
        QVERIFY2(!runState.Paused, "Esc stopped the typing instead of pausing");
        Frames(20);
        const QString line = ScreenText().split('\n').value(23);
        QVERIFY2(line.contains("1 2 3") && !line.contains("20"), qPrintable(line));
    }

    void copyScreenTextPutsTheLinesOnTheClipboard() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        StartSpool(std::string("1 2 + .\r"));
        SpoolOut();
        window->actions().copyScreenText->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0), QString("1 2 + . 3  OK"));
        QCOMPARE(lines.size(), 25); // 24 lines, each ended
    }
};

REGISTER_GUI_SUITE(KeyboardTypingTest);
#include "keyboard_typing_test.moc"

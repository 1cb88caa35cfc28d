// The Edit menu on the real ROM: pasted and dropped text typed in, with its progress and
// what was left out in the status bar, stopped by Esc; the screen copied as text.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

#include "app/keyboard.h"
#include "app/qt/application.h"
#include "app/qt/main_menu.h"
#include "app/qt/main_window.h"
#include "display/screen_text.h"
#include "gui_support.h"
#include "machine/run_state.h"
#include "tape/spool.h"

class KeyboardEditMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Application> app;

    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            app->loop().RunOnePass();
    }
    bool Boot() {
        app = StartApplication();
        if (!app) return false;
        FastMode = true;
        Frames(150);
        return true;
    }
    void TypeOut() {
        for (int i = 0; i < 20000 && spoolActive; ++i)
            Frames(1);
        Frames(20);
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

    void pasteTypesTheClipboardAndSaysWhatWasLeftOut() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        QApplication::clipboard()->setText(QString::fromUtf8(": DBL 2 * ;\r\n21 DBL . \u20AC\n"));
        window->actions().pasteText->trigger();
        QVERIFY(spoolActive);
        QVERIFY2(window->statusBar()->currentMessage().contains("1 character the Ace cannot type was left out"),
                 qPrintable(window->statusBar()->currentMessage()));
        TypeOut();
        QVERIFY2(QString::fromStdString(ScreenText()).contains("21 DBL . 42  OK"), ScreenText().c_str());
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
        QVERIFY(spoolActive);
        Frames(60); // about 15 characters
        QVERIFY(SpoolPercent() > 0 && SpoolPercent() < 100);
        window->actions().pause->trigger(); // Esc
        QVERIFY(!spoolActive);
        QVERIFY2(!Paused, "Esc stopped the typing instead of pausing");
        Frames(20);
        const std::string line = ScreenLine(23);
        QVERIFY2(line.find("1 2 3") != std::string::npos && line.find("20") == std::string::npos, line.c_str());
    }

    void copyScreenTextPutsTheLinesOnTheClipboard() {
        REQUIRE_GUI_TEST_ROM();
        QVERIFY(Boot());
        MainWindow* window = app->window();
        StartSpool(std::string("1 2 + .\r"));
        TypeOut();
        window->actions().copyScreenText->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0), QString("1 2 + . 3  OK"));
        QCOMPARE(lines.size(), 25); // 24 lines, each ended
    }
};

REGISTER_GUI_SUITE(KeyboardEditMenuTest);
#include "keyboard_edit_menu_test.moc"

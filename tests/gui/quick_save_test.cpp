// Quick Save and Quick Load through their shortcuts: a slot brings the screen back as it
// was when it was saved, after more typing and after a restart of the application, with
// the model it was saved on; Rewind goes back a second at a time.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_loop.h"
#include "app/qt/main_window.h"
#include "app/qt/state_commands.h"
#include "debugger/qt/debugger_window.h"
#include "display/qt/screen_panel.h"
#include "display/screen_text.h"
#include "gui_support.h"
#include "machine/machine_state.h"

namespace {

// Runs passes until `text` shows on the Ace's screen (at most `seconds` of host time).
bool RunUntilShown(Application& app, const std::string& text, double seconds = 5.0) {
    QElapsedTimer timer;
    timer.start();
    while (ScreenText().find(text) == std::string::npos) {
        if (timer.elapsed() > seconds * 1000) return false;
        app.loop().RunOnePass();
    }
    app.loop().RunFor(0.2); // the picture catches up
    return true;
}

// Runs passes until `frames` more emulated frames have run (however slow the host).
void RunFrames(Application& app, long frames) {
    const long until = app.loop().rewind().FramesSeen() + frames;
    for (int pass = 0; pass < 100000 && app.loop().rewind().FramesSeen() < until; ++pass)
        app.loop().RunOnePass();
}

QImage ScreenGrab(Application& app) {
    return app.window()->screenPanel()->grab().toImage();
}

void TypeKeys(Application& app, const QString& keys) {
    QTest::keyClicks(app.window(), keys);
}

} // namespace

class QuickSaveTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void quickLoadGivesTheSavedScreenBackAfterTypingAndARestart() {
        REQUIRE_GUI_TEST_ROM();
        QFile::remove(state_commands::SlotPath(3));
        machine.model = 2; // 35K: the slot must bring its model back
        auto app = StartApplication();
        QVERIFY(app);
        TypeKeys(*app, "111");
        QVERIFY(RunUntilShown(*app, "111"));
        QTest::keyClick(app->window(), Qt::Key_3, Qt::AltModifier | Qt::ShiftModifier);
        QVERIFY2(QFile::exists(state_commands::SlotPath(3)), "Alt+Shift+3 saves slot 3");
        const QImage saved = ScreenGrab(*app);
        KeepPicture(app->window(), "quick-save");

        TypeKeys(*app, "222");
        QVERIFY(RunUntilShown(*app, "111222"));
        QVERIFY(ScreenGrab(*app) != saved);
        QTest::keyClick(app->window(), Qt::Key_3, Qt::AltModifier);
        app->loop().RunFor(0.3);
        QCOMPARE(ScreenGrab(*app), saved);
        QVERIFY(ScreenText().find("222") == std::string::npos);

        // A new start, on the 3K model: the slot still loads, and brings 35K with it.
        app.reset();
        ResetEmulatorState();
        app = StartApplication();
        QVERIFY(app);
        QCOMPARE(machine.model, 0u);
        app->loop().RunFor(0.5);
        app->window()->actions().quickLoad[2]->trigger();
        app->loop().RunFor(0.3);
        QCOMPARE(machine.model, 2u);
        QCOMPARE(machine.ramTop, 0xBFFFu);
        QCOMPARE(ScreenGrab(*app), saved);
        KeepPicture(app->window(), "quick-load-after-restart");
        // The machine runs on from there: typing still works.
        TypeKeys(*app, "3");
        QVERIFY(RunUntilShown(*app, "1113"));
    }

    void rewindGoesBackASecondAPress() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        TypeKeys(*app, "4");
        QVERIFY(RunUntilShown(*app, "4"));
        RunFrames(*app, 150); // three emulated seconds
        const QImage before = ScreenGrab(*app);
        TypeKeys(*app, "5");
        QVERIFY(RunUntilShown(*app, "45", 2.0));
        // Two seconds back is past the typing (which took less than a second) but not as
        // far as the 4: two presses of F8, as holding it would give.
        for (int press = 0; press < 2; ++press)
            QTest::keyClick(app->window(), Qt::Key_F8);
        QVERIFY(ScreenText().find("45") == std::string::npos);
        QVERIFY(ScreenText().find("4") != std::string::npos);
        app->loop().RunFor(0.2);
        QCOMPARE(ScreenGrab(*app), before);
    }

    void debuggerStepBackUndoesSingleStepsAndTheFramesBefore() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->loop().RunFor(1.0);
        QStringList pcs, afterBack;
        QString refused, beforeOpening, againForward;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (!debugger) {
                modal->close();
                return;
            }
            (void)QTest::qWaitForWindowActive(debugger);
            for (int k = 0; k < 6; ++k) {
                pcs << QString::number(machine.pc, 16) + " " + QString::number(machine.tstates);
                QTest::keyClick(debugger, Qt::Key_F9);
            }
            for (int k = 0; k < 7; ++k) {
                QTest::keyClick(debugger, Qt::Key_F9, Qt::ShiftModifier);
                afterBack << QString::number(machine.pc, 16) + " " + QString::number(machine.tstates);
            }
            // Past the steps: into the frame run before the window opened, and forward again.
            beforeOpening = QString::number(machine.pc, 16) + " " + QString::number(machine.tstates);
            QTest::keyClick(debugger, Qt::Key_F9);
            againForward = QString::number(machine.pc, 16) + " " + QString::number(machine.tstates);
            refused = debugger->statusText();
            debugger->close();
        });
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        QCOMPARE(afterBack.mid(0, 6), QStringList({pcs[5], pcs[4], pcs[3], pcs[2], pcs[1], pcs[0]}));
        QCOMPARE(afterBack[5], pcs[0]);
        QVERIFY2(afterBack[6] != pcs[0], qPrintable(afterBack[6]));
        QCOMPARE(againForward, pcs[0]);
        QCOMPARE(refused, QString());
    }
};

REGISTER_GUI_SUITE(QuickSaveTest);
#include "quick_save_test.moc"

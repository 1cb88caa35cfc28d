// The run-state commands through their shortcuts and menus: Pause, Fast, NMI, the
// resets, pausing in the background, the status bar, and quitting with its question.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/run_commands.h"
#include "app/qt/status_bar_panel.h"
#include "app/shell_state.h"
#include "base/current_file.h"
#include "gui_support.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"
#include "tape/file_kinds.h"

namespace {

void AnswerQuestion(QMessageBox::StandardButton answer, QString* asked) {
    AnswerNextModal([answer, asked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        *asked = box->windowTitle() + "|" + box->text();
        box->button(answer)->click();
    });
}

} // namespace

class RunCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void pauseStopsFrames() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 15);
        QVERIFY2(frameDriver.frameCounter > 0, "frames run while not paused");

        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(runState.Paused);
        frameDriver.frameCounter = 0;
        const uint32_t tstates = machine.tstates;
        const uint16_t pc = machine.pc;
        app->loop().RunFor(0.3);
        QCOMPARE(frameDriver.frameCounter, uint64_t(0));
        QCOMPARE(machine.tstates, tstates);
        QCOMPARE(machine.pc, pc);
        QCOMPARE(app->window()->windowTitle(), QString("NoltACE v1.06 - Paused"));

        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(!runState.Paused);
        RunFrames(*app, 10);
        QVERIFY(frameDriver.frameCounter > 0);
        QCOMPARE(app->window()->windowTitle(), QString("NoltACE v1.06"));
    }

    void pauseAndFastStopTheSound() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        if (!soundStream.open) QSKIP("no audio device (SDL_AUDIODRIVER=dummy gives one)");
        QVERIFY(SoundOutputOn());
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(!SoundOutputOn());
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(SoundOutputOn());
        QTest::keyClick(app->window(), Qt::Key_F2);
        QVERIFY(!SoundOutputOn());
        QTest::keyClick(app->window(), Qt::Key_F2);
        QVERIFY(SoundOutputOn());
    }

    void fastAndNmiShortcuts() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QTest::keyClick(app->window(), Qt::Key_F2);
        QVERIFY(runState.FastMode);
        QTest::keyClick(app->window(), Qt::Key_F2);
        QVERIFY(!runState.FastMode);
        QTest::keyClick(app->window(), Qt::Key_F3);
        QVERIFY(NmiRequested);
    }

    void softResetKeepsMemoryAndRegisters() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QTest::keyClick(app->window(), Qt::Key_Escape); // hold the machine still
        ramBlock[0x3C80] = 0x5A;
        machine.pc = 0x1234;
        machine.hl.w = 0x4321;
        machine.keyMatrix[3] = 0xFE;
        app->window()->actions().softReset->trigger();
        QCOMPARE(machine.pc, uint16_t(0));
        QCOMPARE(machine.hl.w, uint16_t(0x4321));
        QCOMPARE(ramBlock[0x3C80], uint8_t(0x5A));
        QCOMPARE(machine.keyMatrix[3], uint8_t(0xFF));

        app->window()->actions().hardReset->trigger();
        QCOMPARE(ramBlock[0x3C80], uint8_t(0));
        QCOMPARE(machine.hl.w, uint16_t(0xFFFF));
    }

    void statusBarUpdatesOnceASecond() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        StatusBarPanel& status = app->window()->statusPanel();
        app->loop().RunFor(1.2);
        QCOMPARE(status.PartText(0), QString(" Jupiter Ace 3K"));
        const QString fps = status.PartText(1);
        QVERIFY2(fps.startsWith(" Frames Per Second: ") && fps.endsWith("  "), qPrintable(fps));
        const int frames = fps.mid(20).trimmed().toInt();
        QVERIFY2(frames > 0, qPrintable(fps));
        QCOMPARE(status.PartText(2), QString(" Speed: %1%").arg(frames * 2));
        QCOMPARE(status.PartText(3), QString());
        // At 100% each of the first three parts has room for its whole text, the largest
        // model name included.
        const QStringList widest = {" Jupiter Ace 51K", " Frames Per Second: 50  ", " Speed: 100%"};
        for (int part = 0; part < 3; ++part) {
            auto* label = app->window()->findChild<QLabel*>(QString("statusPart%1").arg(part));
            QVERIFY(label);
            const int needed = label->fontMetrics().horizontalAdvance(widest[part]) + 2 * label->frameWidth();
            QVERIFY2(label->contentsRect().width() + 2 * label->frameWidth() >= needed,
                     qPrintable(QString("part %1: %2 < %3").arg(part).arg(label->width()).arg(needed)));
        }

        // Fast runs far above 100%: the speed part grows to show all of its text.
        run_commands::ToggleFast();
        app->loop().RunFor(1.1);
        run_commands::ToggleFast();
        {
            auto* speed = app->window()->findChild<QLabel*>("statusPart2");
            const int needed = speed->fontMetrics().horizontalAdvance(speed->text());
            QVERIFY2(status.PartText(2).mid(8).chopped(1).toInt() > 100, qPrintable(status.PartText(2)));
            QVERIFY2(speed->contentsRect().width() >= needed,
                     qPrintable(QString("%1: %2 < %3").arg(speed->text()).arg(speed->contentsRect().width()).arg(needed)));
        }

        // A file's name shows from 200% up.
        currentFileKind = FileKind::Tap;
        currentFile.currentFileName = "/tapes/game.tap";
        app->window()->actions().size200->trigger();
        app->loop().RunFor(1.1);
        QCOMPARE(status.PartText(3), QString(" Current File: /tapes/game.tap"));
    }

    void losingTheFocusPausesAndReleasesKeys() {
        REQUIRE_GUI_TEST_ROM();
        opt_focus_on = 1;
        auto app = StartApplication();
        QVERIFY(app);
        machine.keyMatrix[1] = 0xFE;
        QWidget other;
        other.resize(200, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(runState.FocusPaused);
        QCOMPARE(machine.keyMatrix[1], uint8_t(0xFF));
        frameDriver.frameCounter = 0;
        app->loop().RunFor(0.2);
        QCOMPARE(frameDriver.frameCounter, uint64_t(0));
        QCOMPARE(app->window()->windowTitle(), QString("NoltACE v1.06 - Paused"));

        app->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->window()));
        QVERIFY(!runState.FocusPaused);
        app->loop().RunFor(0.1);
        QCOMPARE(app->window()->windowTitle(), QString("NoltACE v1.06"));
    }

    void quitAsksFirst() {
        REQUIRE_GUI_TEST_ROM();
        opt_exit_msg = 1;
        auto app = StartApplication();
        QVERIFY(app);
        QString asked;
        AnswerQuestion(QMessageBox::No, &asked);
        app->window()->actions().quit->trigger();
        QCOMPARE(asked, QString("Exit|Are you sure you want to quit NoltACE?"));
        QVERIFY(!app->loop().quitRequested());
        QVERIFY(!runState.Paused);
        QVERIFY(app->window()->isVisible());

        // Closing the window is the same command.
        AnswerQuestion(QMessageBox::Yes, &asked);
        app->window()->close();
        QVERIFY(app->loop().quitRequested());
        QVERIFY(!app->window()->isVisible());
        QCOMPARE(mainWindowPlacement.width, app->window()->width());
        QCOMPARE(app->Run(), 0);
    }
};

REGISTER_GUI_SUITE(RunCommandsTest);
#include "run_commands_test.moc"

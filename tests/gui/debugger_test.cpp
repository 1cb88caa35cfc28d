// The debugger window as a user drives it: F5 opens it over the running ROM, F9 steps
// with the highlight following pc, F8 runs to the frame end, a breakpoint set in the
// list window stops the running program, a long Step Over stops on Stop, and Quit lets
// the emulation and its sound go on.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/qt/breakpoint_list_window.h"
#include "debugger/qt/code_pane.h"
#include "debugger/qt/debugger_window.h"
#include "debugger/qt/text_lines_view.h"
#include "gui_support.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"

namespace {

QString Hex4(uint32_t value) {
    return QString("%1").arg(value, 4, 16, QChar('0')).toUpper();
}

// The code pane's highlighted line, or "" when none is.
QString HighlightedLine(DebuggerWindow* debugger) {
    TextLinesView* view = debugger->codePane()->view();
    const int row = view->highlightedRow();
    return row >= 0 ? view->lines().value(row) : QString();
}

// Fills in the next "Add New Breakpoint" dialog and presses OK.
void AnswerAddBreakpoint(const QString& address, const QString& condition) {
    AnswerNextModal([=](QWidget* modal) {
        auto* addressField = modal->findChild<QLineEdit*>("address");
        auto* conditionField = modal->findChild<QLineEdit*>("condition");
        if (addressField && conditionField) {
            addressField->setText(address);
            conditionField->setText(condition);
            QTest::keyClick(addressField, Qt::Key_Return);
        }
        if (modal->isVisible()) modal->close();
    });
}

} // namespace

class DebuggerTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }
    void cleanup() { ClearBreakpoints(); }

    void f5StepsAndRunsToTheFrameEnd() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50); // FORTH is waiting for a key

        struct Seen {
            bool active = false, open = false, paused = false, soundStopped = false, closedByF3 = false;
            QString firstRegisters, firstHighlight;
            QStringList stepHighlights, stepPcs;
            uint32_t tstatesAfterF8 = 0;
            QString shot, status, secondRow;
            QStringList toggled;
        } seen;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (!debugger) {
                modal->close();
                return;
            }
            // Shortcuts reach the active window only.
            seen.active = QTest::qWaitForWindowActive(debugger);
            seen.open = debuggerSession.debuggerOpen;
            seen.paused = runState.Paused;
            seen.soundStopped = !SoundOutputOn();
            seen.firstRegisters = debugger->registerPane()->lines().value(0);
            seen.firstHighlight = HighlightedLine(debugger);
            for (int k = 0; k < 5; ++k) {
                QTest::keyClick(debugger, Qt::Key_F9);
                seen.stepPcs << Hex4(machine.pc);
                seen.stepHighlights << HighlightedLine(debugger).left(4);
            }
            // Double-clicking a line sets a breakpoint there; again clears it.
            TextLinesView* code = debugger->codePane()->view();
            const QPoint row2(20, code->height() * 2 / CodePane::kLines + 3);
            QTest::mouseDClick(code, Qt::LeftButton, {}, row2);
            seen.toggled << QString::fromStdString(breakpointState.breakpointCount ? BreakpointAddressText(0)
                                                                                   : "none");
            QTest::mouseDClick(code, Qt::LeftButton, {}, row2);
            seen.toggled << QString::number(breakpointState.breakpointCount);
            seen.secondRow = "#" + code->lines().value(code->RowAt(row2)).left(4);
            QTest::keyClick(debugger, Qt::Key_F8);
            (void)QTest::qWaitFor([debugger] { return !debugger->running(); }, 5000); // checked below
            seen.tstatesAfterF8 = machine.tstates;
            seen.status = debugger->statusText() + " pc=" + Hex4(machine.pc);
            seen.shot = ScratchFolder() + "debugger.png";
            debugger->grab().save(seen.shot);
            // The window manager under Xvfb now and then hands the focus back to the main
            // window; a user would click the debugger.
            debugger->activateWindow();
            seen.active = seen.active && QTest::qWaitForWindowActive(debugger);
            QTest::keyClick(debugger, Qt::Key_F3);
            seen.closedByF3 = !debugger->isVisible();
            if (debugger->isVisible()) debugger->close();
        });
        const uint16_t pcBefore = machine.pc;
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        QVERIFY(seen.active);
        QVERIFY(seen.closedByF3);
        QVERIFY(seen.open);
        QVERIFY(seen.paused);
        QVERIFY(seen.soundStopped);
        QVERIFY2(seen.firstRegisters.startsWith("PC  " + Hex4(pcBefore)), qPrintable(seen.firstRegisters));
        QVERIFY2(seen.firstHighlight.startsWith(Hex4(pcBefore) + "  "), qPrintable(seen.firstHighlight));
        QCOMPARE(seen.stepHighlights, seen.stepPcs);
        QCOMPARE(seen.toggled, QStringList({seen.secondRow, "0"}));
        QVERIFY2(seen.tstatesAfterF8 >= kFrameTstates, qPrintable(seen.status));
        qInfo("debugger screenshot: %s", qPrintable(seen.shot));

        QVERIFY(!debuggerSession.debuggerOpen);
        QVERIFY(!runState.Paused);
        if (soundStream.open) QVERIFY2(SoundOutputOn(), "the sound resumes");
        frameDriver.frameCounter = 0;
        RunFrames(*app, 15);
        QVERIFY(frameDriver.frameCounter > 0);
    }

    void breakpointFromTheListStopsTheRunningProgram() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);

        QString listed;
        auto set = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (debugger) {
                debugger->Action("breakpoints")->trigger();
                auto* list = debugger->findChild<BreakpointListWindow*>();
                if (list) {
                    AnswerAddBreakpoint("#0336", "IX=#3C00");
                    list->findChild<QPushButton*>("add")->click();
                    listed = QString::fromStdString(BreakpointAddressText(0)) + " " +
                             QString::fromStdString(breakpointState.breakpoints[0].conditionText);
                }
            }
            modal->close();
        });
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*set);
        QCOMPARE(listed, QString("#0336 IX=#3C00"));
        QVERIFY(debugHooksOn);

        // The frame interrupt reads the keyboard through 0336: the next frame stops there.
        uint16_t stoppedAt = 0;
        QString highlight, status;
        auto stopped = AnswerNextModal([&](QWidget* modal) {
            stoppedAt = machine.pc;
            (void)QTest::qWaitForWindowActive(modal);
            if (auto* debugger = qobject_cast<DebuggerWindow*>(modal)) {
                highlight = HighlightedLine(debugger);
                status = debugger->statusText();
            }
            DeleteBreakpoint(0);
            QTest::keyClick(modal, Qt::Key_F3);
            if (modal->isVisible()) modal->close();
        });
        RunFrames(*app, 25);
        QVERIFY(*stopped);
        QCOMPARE(stoppedAt, uint16_t(0x0336));
        QVERIFY2(highlight.startsWith("0336  01FEFE   LD    BC,#FEFE"), qPrintable(highlight));
        QCOMPARE(status, QString("Breakpoint at #0336, IX=#3C00"));
        QVERIFY(!runState.Paused);
        if (soundStream.open) QVERIFY(SoundOutputOn());
        frameDriver.frameCounter = 0;
        RunFrames(*app, 15);
        QVERIFY(frameDriver.frameCounter > 0);
    }

    void stopEndsAStepOverThatNeverReturns() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        QString running, stoppedText;
        uint16_t pcAfter = 0;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (debugger && QTest::qWaitForWindowActive(debugger)) {
                for (uint16_t a = 0x3C80; a < 0x3C86; ++a)
                    WriteMemory(a, 0);
                WriteMemory(0x3C80, 0xCD); // CALL 3C90
                WriteMemory(0x3C81, 0x90);
                WriteMemory(0x3C82, 0x3C);
                WriteMemory(0x3C90, 0x18); // JR $
                WriteMemory(0x3C91, 0xFE);
                machine.pc = 0x3C80;
                debugger->RefreshViews();
                QTest::keyClick(debugger, Qt::Key_F11); // runs a first slice, then waits for the timer
                running = debugger->statusText() + " pc=" + Hex4(machine.pc);
                // Well inside the run's bound (30000 frames take the host a second or more),
                // so it is the Stop button that ends it.
                QTest::qWait(10);
                debugger->findChild<QPushButton*>("stop")->click();
                stoppedText = debugger->statusText();
                pcAfter = machine.pc;
            }
            modal->close();
        });
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        QVERIFY2(running.startsWith("Running"), qPrintable(running));
        QCOMPARE(stoppedText, QString("Stopped"));
        QCOMPARE(pcAfter, uint16_t(0x3C90));
        QVERIFY(!debuggerSession.debuggerOpen);
    }
};

REGISTER_GUI_SUITE(DebuggerTest);
#include "debugger_test.moc"

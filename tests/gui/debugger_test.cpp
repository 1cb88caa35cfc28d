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
    void init() {
        ResetEmulatorState();
        ClearBreakpoints();
    }
    void cleanup() { ClearBreakpoints(); }

    void f5StepsAndRunsToTheFrameEnd() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->loop().RunFor(1.0); // FORTH is waiting for a key

        struct Seen {
            bool open = false, paused = false, soundStopped = false;
            QString firstRegisters, firstHighlight;
            QStringList stepHighlights, stepPcs;
            uint32_t tstatesAfterF8 = 0;
            QString shot, status;
        } seen;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (!debugger) {
                modal->close();
                return;
            }
            seen.open = debuggerOpen;
            seen.paused = Paused;
            seen.soundStopped = !SoundOutputOn();
            seen.firstRegisters = debugger->registerPane()->lines().value(0);
            seen.firstHighlight = HighlightedLine(debugger);
            for (int k = 0; k < 5; ++k) {
                QTest::keyClick(debugger, Qt::Key_F9);
                seen.stepPcs << Hex4(machine.pc);
                seen.stepHighlights << HighlightedLine(debugger).left(4);
            }
            QTest::keyClick(debugger, Qt::Key_F8);
            (void)QTest::qWaitFor([debugger] { return !debugger->running(); }, 5000); // checked below
            seen.tstatesAfterF8 = machine.tstates;
            seen.status = debugger->statusText() + " pc=" + Hex4(machine.pc);
            seen.shot = ScratchFolder() + "debugger.png";
            debugger->grab().save(seen.shot);
            QTest::keyClick(debugger, Qt::Key_F3);
        });
        const uint16_t pcBefore = machine.pc;
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        QVERIFY(seen.open);
        QVERIFY(seen.paused);
        QVERIFY(seen.soundStopped);
        QVERIFY2(seen.firstRegisters.startsWith("PC  " + Hex4(pcBefore)), qPrintable(seen.firstRegisters));
        QVERIFY2(seen.firstHighlight.startsWith(Hex4(pcBefore) + "  "), qPrintable(seen.firstHighlight));
        QCOMPARE(seen.stepHighlights, seen.stepPcs);
        QVERIFY2(seen.tstatesAfterF8 >= kFrameTstates, qPrintable(seen.status));
        qInfo("debugger screenshot: %s", qPrintable(seen.shot));

        QVERIFY(!debuggerOpen);
        QVERIFY(!Paused);
        if (soundStream.open) QVERIFY2(SoundOutputOn(), "the sound resumes");
        frameCounter = 0;
        app->loop().RunFor(0.3);
        QVERIFY(frameCounter > 0);
    }

    void breakpointFromTheListStopsTheRunningProgram() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->loop().RunFor(1.0);

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
                             QString::fromStdString(breakpoints[0].conditionText);
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
        QString highlight;
        auto stopped = AnswerNextModal([&](QWidget* modal) {
            stoppedAt = machine.pc;
            if (auto* debugger = qobject_cast<DebuggerWindow*>(modal)) highlight = HighlightedLine(debugger);
            DeleteBreakpoint(0);
            QTest::keyClick(modal, Qt::Key_F3);
            if (modal->isVisible()) modal->close();
        });
        app->loop().RunFor(0.5);
        QVERIFY(*stopped);
        QCOMPARE(stoppedAt, uint16_t(0x0336));
        QVERIFY2(highlight.startsWith("0336  01FEFE   LD    BC,#FEFE"), qPrintable(highlight));
        QVERIFY(!Paused);
        if (soundStream.open) QVERIFY(SoundOutputOn());
        frameCounter = 0;
        app->loop().RunFor(0.3);
        QVERIFY(frameCounter > 0);
    }

    void stopEndsAStepOverThatNeverReturns() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->loop().RunFor(0.5);
        QString running, stoppedText;
        uint16_t pcAfter = 0;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (debugger) {
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
                running = debugger->statusText();
                QTest::qWait(100);
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
        QVERIFY(!debuggerOpen);
    }
};

REGISTER_GUI_SUITE(DebuggerTest);
#include "debugger_test.moc"

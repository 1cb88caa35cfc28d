// The debugger window in the corners a user finds: a single step across the frame
// interrupt stops on its handler, a long Run Until keeps the code and stack panes up to
// date, Escape stops a run or else closes the window, Find says where it found a text
// in ROM and keeps its text, a watchpoint from the list stops a FORTH store; and the PC
// log's file and size questions.
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "app/qt/application.h"
#include "app/qt/edit_memory_window.h"
#include "app/qt/main_window.h"
#include "app/qt/message_dialog.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/debugger_text.h"
#include "debugger/pc_log.h"
#include "debugger/qt/address_pane.h"
#include "debugger/qt/breakpoint_list_window.h"
#include "debugger/qt/code_pane.h"
#include "debugger/qt/debugger_window.h"
#include "debugger/qt/text_lines_view.h"
#include "gui_support.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "tape/spool.h"

namespace {

QString Hex4(uint32_t value) {
    return QString("%1").arg(value, 4, 16, QChar('0')).toUpper();
}

QString HighlightedLine(DebuggerWindow* debugger) {
    TextLinesView* view = debugger->codePane()->view();
    const int row = view->highlightedRow();
    return row >= 0 ? view->lines().value(row) : QString();
}

// Opens the debugger with F5 and runs `inside` on it; false when it never opened.
bool WithDebugger(Application& app, const std::function<void(DebuggerWindow*)>& inside) {
    auto answered = AnswerNextModal([&](QWidget* modal) {
        auto* debugger = qobject_cast<DebuggerWindow*>(modal);
        if (!debugger) return modal->close(), void();
        (void)QTest::qWaitForWindowActive(debugger);
        inside(debugger);
        if (debugger->isVisible()) debugger->close();
    });
    QTest::keyClick(app.window(), Qt::Key_F5);
    return *answered;
}

// Fills in the next Find dialog (text mode) and presses `button`.
void AnswerFind(const QString& text, const char* button, QString* shownText = nullptr) {
    AnswerNextModal([=](QWidget* modal) {
        auto* field = modal->findChild<QLineEdit*>("findText");
        if (!field) return modal->close(), void();
        if (shownText) *shownText = field->text();
        field->setText(text);
        modal->findChild<QRadioButton*>("mode3")->setChecked(true);
        modal->findChild<QPushButton*>(button)->click();
        if (modal->isVisible()) modal->close();
    });
}

// Types the address into the next Go to Address question and presses Return.
void AnswerGoTo(const QString& address) {
    AnswerNextModal([address](QWidget* modal) {
        auto* field = modal->findChild<QLineEdit*>();
        if (field) {
            field->setText(address);
            QTest::keyClick(field, Qt::Key_Return);
        }
        if (modal->isVisible()) modal->close();
    });
}

} // namespace

class DebuggerWindowDetailsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void singleStepStopsOnTheInterruptHandlerAndEscapeCloses() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50); // FORTH waits for a key with interrupts on
        struct Seen {
            bool pending = false, closedByEscape = false;
            QStringList pcs, highlights;
            QString shot;
        } seen;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            // F5 opens between frames: the frame interrupt is due.
            seen.pending = machine.intLine && machine.iff1 && machine.tstates < machine.intLength;
            for (int k = 0; k < 2; ++k) {
                QTest::keyClick(debugger, Qt::Key_F9);
                seen.pcs << Hex4(machine.pc);
                seen.highlights << HighlightedLine(debugger).left(4);
                if (k == 0) {
                    seen.shot = ScratchFolder() + "single_step_0038.png";
                    debugger->grab().save(seen.shot);
                }
            }
            debugger->activateWindow();
            (void)QTest::qWaitForWindowActive(debugger);
            QTest::keyClick(debugger, Qt::Key_Escape);
            seen.closedByEscape = !debugger->isVisible();
        }));
        QVERIFY(seen.pending);
        QCOMPARE(seen.pcs, QStringList({"0038", "013A"}));
        QCOMPARE(seen.highlights, seen.pcs);
        QVERIFY2(seen.closedByEscape, "Escape with nothing running is Quit");
        QVERIFY(!debuggerSession.debuggerOpen);
        qInfo("single step screenshot: %s", qPrintable(seen.shot));
    }

    void runUntilFollowsPcAndEscapeStopsTheRun() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        struct Seen {
            QString highlight, stackTop, stackBefore, status;
            bool stillOpen = false;
        } seen;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            // 3E00 jumps to a loop at 3F00 that only moves SP: LD A,R never comes.
            const uint8_t code[] = {0xC3, 0x00, 0x3F};
            for (int k = 0; k < 3; ++k)
                WriteMemory(uint16_t(0x3E00 + k), code[k]);
            const uint8_t loop[] = {0x3B, 0x18, 0xFD}; // DEC SP; JR 3F00
            for (int k = 0; k < 3; ++k)
                WriteMemory(uint16_t(0x3F00 + k), loop[k]);
            machine.pc = 0x3E00;
            machine.sp = 0x3D00;
            debugger->RefreshViews();
            auto stackTop = [debugger] {
                return debugger->findChild<AddressPane*>("stackPane")->view()->lines().value(0);
            };
            seen.stackBefore = stackTop();
            debugger->Action("runUntilLdAR")->trigger();
            // Progress redraws while it runs: waited for, not timed, so a busy host sees them too.
            (void)QTest::qWaitFor([&] { return stackTop() != seen.stackBefore; }, 10000);
            seen.highlight = HighlightedLine(debugger).left(4);
            seen.stackTop = stackTop();
            QTest::keyClick(debugger, Qt::Key_Escape);
            seen.status = debugger->statusText();
            seen.stillOpen = debugger->isVisible() && !debugger->running();
            debuggerSession.runUntilLdAR = false;
        }));
        QVERIFY2(seen.highlight == "3F00" || seen.highlight == "3F01", qPrintable(seen.highlight));
        QVERIFY2(seen.stackTop != seen.stackBefore, qPrintable(seen.stackTop));
        QVERIFY2(seen.stillOpen, "Escape stops the run and leaves the window open");
        QVERIFY(!seen.status.isEmpty());
    }

    void findSaysWhereAndKeepsItsText() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        struct Seen {
            QString status, top, keptText, emptySaid;
        } seen;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            AnswerFind("FORT", "find");
            debugger->Action("find")->trigger();
            seen.status = debugger->statusText();
            seen.top = debugger->codePane()->view()->lines().value(0);

            // Opened again, the dialog still holds the text; an empty text is refused.
            AnswerNextModal([&](QWidget* modal) {
                auto* field = modal->findChild<QLineEdit*>("findText");
                if (!field) return modal->close(), void();
                seen.keptText = field->text();
                field->clear();
                auto said = CloseNextMessage();
                modal->findChild<QPushButton*>("find")->click();
                seen.emptySaid = *said;
                modal->close();
            });
            debugger->Action("find")->trigger();
        }));
        QCOMPARE(seen.status, QString("Found at #0129"));
        QVERIFY2(seen.top.startsWith("0129  "), qPrintable(seen.top));
        QCOMPARE(seen.keptText, QString("FORT"));
        QVERIFY2(seen.emptySaid.startsWith("Find|Nothing to find"), qPrintable(seen.emptySaid));
    }

    void watchpointOnAForthVariableStopsTheWordThatStoresIntoIt() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);
        StartSpool("0 VARIABLE V\r: S 5 V ! ;\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 1500);
        RunFrames(*app, 15);

        QString listed;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            debugger->Action("breakpoints")->trigger();
            auto* list = debugger->findChild<BreakpointListWindow*>();
            if (!list) return;
            AnswerNextModal([](QWidget* dialog) {
                auto* kind = dialog->findChild<QComboBox*>("kind");
                auto* address = dialog->findChild<QLineEdit*>("address");
                if (kind && address) {
                    kind->setCurrentIndex(1);  // Memory write
                    address->setText("#3C59"); // V's value: "V ." prints 15449
                    QTest::keyClick(address, Qt::Key_Return);
                }
                if (dialog->isVisible()) dialog->close();
            });
            list->findChild<QPushButton*>("add")->click();
            auto* rows = list->findChild<QTreeWidget*>("breakpointRows");
            if (rows && rows->topLevelItemCount() == 1)
                listed = rows->topLevelItem(0)->text(0) + " " + rows->topLevelItem(0)->text(3);
            KeepPicture(list, "watchpoint_list");
        }));
        QCOMPARE(listed, QString("#3C59 WRITE"));
        QVERIFY(watchpointsOn);

        QString status;
        uint8_t stored = 0;
        auto stopped = AnswerNextModal([&](QWidget* modal) {
            if (auto* debugger = qobject_cast<DebuggerWindow*>(modal)) status = debugger->statusText();
            stored = machine.ram[0x3C59];
            modal->close();
        });
        StartSpool("S\r");
        (void)RunUntil(*app, [&] { return *stopped; }, 250);
        QVERIFY(*stopped);
        QCOMPARE(status, QString("Watchpoint: write to #3C59"));
        QCOMPARE(int(stored), 5);
        ClearBreakpoints();
    }

    void ctrlGGoesToAnAddressInEachPane() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 25);
        struct Seen {
            QString code, memory, editor, badSaid, keys, editorKeys;
        } seen;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            // The window's Ctrl+G (triggered as the shortcut would: Xvfb's focus comes and goes).
            QAction* goTo = debugger->Action("goToAddress");
            seen.keys = goTo->shortcut().toString();
            debugger->codePane()->view()->setFocus();
            AnswerGoTo("0x0129");
            goTo->trigger();
            seen.code = debugger->codePane()->view()->lines().value(0).left(4);

            debugger->memoryPane()->view()->setFocus();
            // A bad address is refused with the message, and the question comes again.
            AnswerNextModal([&](QWidget* modal) {
                auto* field = modal->findChild<QLineEdit*>();
                if (!field) return modal->close(), void();
                AnswerNextModal([&](QWidget* message) {
                    if (auto* box = qobject_cast<MessageDialog*>(message)) seen.badSaid = box->text();
                    message->close();
                    AnswerGoTo("#3C08");
                });
                field->setText("zz");
                QTest::keyClick(field, Qt::Key_Return);
            });
            goTo->trigger();
            seen.memory = debugger->memoryPane()->view()->lines().value(0).left(4);

            debugger->Action("editMemory")->trigger();
            if (EditMemoryWindow* editor = OpenEditMemoryWindow()) {
                (void)QTest::qWaitForWindowActive(editor);
                AnswerGoTo("$3C80");
                if (QAction* editorGoTo = editor->findChild<QAction*>("goToAddress")) {
                    seen.editorKeys = editorGoTo->shortcut().toString();
                    editorGoTo->trigger();
                }
                seen.editor = Hex4(editor->editor().caretAddress());
                editor->close();
            }
        }));
        QCOMPARE(seen.keys, QString("Ctrl+G"));
        QCOMPARE(seen.editorKeys, QString("Ctrl+G"));
        QCOMPARE(seen.code, QString("0129"));
        QVERIFY2(seen.badSaid.contains("Not a number"), qPrintable(seen.badSaid));
        QCOMPARE(seen.memory, QString("3C08"));
        QCOMPARE(seen.editor, QString("3C80"));
    }

    void pcLogKeepsTheTypedNameAndItsSizeQuestionDefaultsToNo() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 15);
        const QString path = ScratchFolder() + "cont.log";
        AnswerNextModal([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return modal->close(), void();
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (edit) edit->setText(path); // typed as a user types it
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible()) dialog->reject();
        });
        QVERIFY(PcLoggingCommand());
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(ScratchFolder() + "cont.txt"));

        // The size question comes at a frame end; Return answers it with No.
        struct Seen {
            bool warning = false, noIsDefault = false;
        } seen;
        auto asked = AnswerNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) return modal->close(), void();
            seen.warning = box->icon() == QMessageBox::Warning;
            seen.noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            QTest::keyClick(box, Qt::Key_Return);
        });
        pcLog.pcLogLimitMb = 0;
        for (int k = 0; k < 20 && !*asked; ++k)
            RunFrames(*app, 2);
        QVERIFY(*asked);
        QVERIFY(seen.warning);
        QVERIFY(seen.noIsDefault);
        QVERIFY2(!pcLogOn, "an accidental Return stops the log");
        pcLog.pcLogLimitMb = kPcLogStartLimitMb;
    }
};

REGISTER_GUI_SUITE(DebuggerWindowDetailsTest);
#include "debugger_window_details_test.moc"

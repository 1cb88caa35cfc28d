// The debugger's tool windows through their widgets: the calculator from the Tools
// menu, the memory editor typing into RAM, a refused fill, and the FORTH views.
#include <cstring>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "app/qt/application.h"
#include "app/qt/calculator_window.h"
#include "app/qt/debugger_tools.h"
#include "app/qt/edit_memory_window.h"
#include "app/qt/edit_registers_dialog.h"
#include "app/qt/fill_memory_dialog.h"
#include "app/qt/find_dialog.h"
#include "app/qt/forth_word_list_pane.h"
#include "app/qt/main_window.h"
#include "app/qt/pad_window.h"
#include "app/qt/system_variables_window.h"
#include "debugger/disassemble_to_file.h"
#include "debugger/qt/code_pane.h"
#include "debugger/qt/debugger_window.h"
#include "debugger/qt/text_lines_view.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "tape/spool.h"

namespace {

void Click(CalculatorWindow* calc, const std::string& labels) {
    size_t from = 0;
    while (from < labels.size()) {
        size_t space = labels.find(' ', from);
        if (space == std::string::npos) space = labels.size();
        QPushButton* button = calc->Button(labels.substr(from, space - from));
        QVERIFY2(button && button->isEnabled(), labels.substr(from, space - from).c_str());
        QTest::mouseClick(button, Qt::LeftButton);
        from = space + 1;
    }
}

QString Shown(CalculatorWindow* calc) {
    return calc->display()->text().trimmed();
}

void CloseAndDelete(QWidget* w) {
    if (!w) return;
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class DebuggerToolsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void calculatorFromTheToolsMenu() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QAction* item = app->window()->actions().calculator;
        QVERIFY(item->isEnabled());
        item->trigger();
        CalculatorWindow* calc = OpenCalculatorWindow();
        QVERIFY(calc);
        QVERIFY(QTest::qWaitForWindowExposed(calc));
        QCOMPARE(calc->windowTitle(), QString("NoltACE Calculator"));
        QCOMPARE(calc->display()->text(), QString("               0"));
        QVERIFY(!calc->Button("A")->isEnabled()); // DEC

        Click(calc, "HEX F F * 2 =");
        QCOMPARE(Shown(calc), QString("OVERFLOW"));
        Click(calc, "SIZE");
        QCOMPARE(calc->Button("SIZE")->text(), QString("WORD"));
        QVERIFY(!calc->Button("AND")->isEnabled());
        Click(calc, "F F * 2 =");
        QCOMPARE(Shown(calc), QString("1FE"));
        KeepPicture(calc, "calculator");
        Click(calc, "CA 5 * 0 =");
        QCOMPARE(Shown(calc), QString("0"));

        // Typed keys work as well as clicks.
        QTest::keyClicks(calc, "7/0=");
        QCOMPARE(Shown(calc), QString("DIVIDE BY 0"));

        // One window at a time, and it remembers where it was.
        item->trigger();
        QCOMPARE(OpenCalculatorWindow(), calc);
        calc->move(calc->x() + 7, calc->y());
        QTest::qWait(50);
        const QPoint place = calc->geometry().topLeft();
        CloseAndDelete(calc);
        QVERIFY(!OpenCalculatorWindow());
        item->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(OpenCalculatorWindow()));
        QTRY_COMPARE(OpenCalculatorWindow()->geometry().topLeft(), place);
        QCOMPARE(Shown(OpenCalculatorWindow()), QString("0"));
        CloseAndDelete(OpenCalculatorWindow());
    }

    void editMemoryTypesIntoRam() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        runState.Paused = true; // as in the debugger: the machine stands still
        EditMemoryWindow* editor = OpenEditMemory(app->window());
        int edits = 0;
        editor->edited = [&edits] { ++edits; };
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        editor->editor().GoTo(0x3C60);
        MemoryEditorView* view = editor->view();
        view->setFocus();
        // LD A,#2A at 3C60.
        QTest::keyClicks(view, "3e2a");
        QCOMPARE(int(machine.ram[0x3C60]), 0x3E);
        QCOMPARE(int(machine.ram[0x3C61]), 0x2A);
        QCOMPARE(edits, 2);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(editor->editor().caretAddress(), 0x3C72u);
        KeepPicture(editor, "edit_memory");
        // The listing of that address now shows the bytes typed.
        uint32_t next = 0;
        QVERIFY(QString::fromStdString(DisassemblyFileLine(0x3C60, next))
                    .startsWith("3C60  3E2A     LD    A,#2A"));
        CloseAndDelete(editor);

        // A fill that runs past the 3K machine's RAM is refused and writes nothing.
        const QByteArray top(reinterpret_cast<const char*>(machine.ram + 0x3FF0), 16);
        auto said = CloseNextMessage();
        FillMemoryDialog fill(app->window());
        fill.findChild<QLineEdit*>("start")->setText("#3FF0");
        fill.findChild<QLineEdit*>("length")->setText("32");
        fill.findChild<QLineEdit*>("data")->setText("255");
        fill.findChild<QPushButton*>("ok")->click();
        QTRY_VERIFY(!said->isEmpty());
        QCOMPARE(*said, QString("NoltACE Debug|52 - Debugger: Not a number or number out of range"));
        QCOMPARE(fill.result(), int(QDialog::Rejected));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(machine.ram + 0x3FF0), 16), top);

        // Find through the debugger's tool command: a text match shows the memory there.
        std::memcpy(machine.ram + 0x3D00, "NOLTACE", 7);
        uint32_t shownMemory = 0;
        DebuggerToolHooks hooks;
        hooks.showMemory = [&shownMemory](uint32_t address) { shownMemory = address; };
        AnswerNextModal([](QWidget* modal) {
            auto* find = qobject_cast<FindDialog*>(modal);
            QVERIFY(find);
            find->text()->setText("NOLTACE");
            find->ModeButton(FindMode::Text)->click();
            find->findChild<QPushButton*>("find")->click();
        });
        RunDebuggerTool(DebuggerTool::Find, app->window(), hooks);
        QCOMPARE(shownMemory, 0x3D00u);

        // The register editor: ticking C rewrites the AF field.
        EditRegistersDialog registers(app->window());
        QLineEdit* af = registers.Field("AF");
        const QString before = af->text();
        registers.FlagBox(0)->setChecked(!registers.FlagBox(0)->isChecked());
        QCOMPARE(af->text().left(2), before.left(2));
        QVERIFY(af->text() != before);
        af->setText("$12FF"); // A typed with a prefix is kept; an unreadable field keeps the machine's A
        registers.FlagBox(0)->setChecked(!registers.FlagBox(0)->isChecked());
        QCOMPARE(af->text().left(2), QString("12"));
        af->setText("12G");
        registers.FlagBox(0)->setChecked(!registers.FlagBox(0)->isChecked());
        QCOMPARE(af->text().left(2), QString::asprintf("%02X", machine.af.hi));
        runState.Paused = false;
    }

    void forthViewsShowTheSystem() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);
        OpenSystemVariables(app->window());
        SystemVariablesWindow* vars = OpenSystemVariablesWindow();
        QVERIFY(vars);
        QVERIFY(QTest::qWaitForWindowExposed(vars));
        QTreeWidget* list = vars->list();
        QCOMPARE(list->topLevelItemCount(), 25);
        QCOMPARE(list->topLevelItem(13)->text(0), QString("FRAMES"));
        QCOMPARE(list->topLevelItem(13)->text(2).count(','), 3);
        KeepPicture(vars, "system_variables");
        OpenPadWindow(app->window());
        QVERIFY(QTest::qWaitForWindowExposed(OpenPad()));
        KeepPicture(OpenPad(), "pad");
        CloseAndDelete(vars);
        CloseAndDelete(OpenPad());

        // The word list pane after two definitions: newest first.
        StartSpool(": SQUARE DUP * ;\r: CUBE DUP SQUARE * ;\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 1500);
        QVERIFY(!spool.spoolActive);
        RunFrames(*app, 25);
        ForthWordListPane pane(nullptr);
        QCOMPARE(pane.topLevelItemCount(), 3);
        QCOMPARE(pane.topLevelItem(0)->text(0), QString("CUBE"));
        QCOMPARE(pane.topLevelItem(1)->text(0), QString("SQUARE"));
        QCOMPARE(pane.topLevelItem(2)->text(1), QString("1FFF"));
        pane.resize(240, 160);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        KeepPicture(&pane, "word_list");
    }
};

// The tools inside the debugger window, opened with F5 over two typed definitions.
class DebuggerWindowToolsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void wordListAndEditMemoryInTheDebugger() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);
        StartSpool(": SQUARE DUP * ;\r: CUBE DUP SQUARE * ;\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 1500);
        RunFrames(*app, 25);

        struct Seen {
            QStringList words;
            QString lineBefore, lineAfter;
            uint8_t restored = 0;
            bool toolsEnabled = true;
        } seen;
        const uint8_t romByte = machine.pages[0][0];
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (!debugger) return modal->close(), void();
            auto* words = debugger->wordListPane()->findChild<QTreeWidget*>("wordList");
            for (int k = 0; words && k < words->topLevelItemCount(); ++k)
                seen.words << words->topLevelItem(k)->text(0) + " " + words->topLevelItem(k)->text(1);
            for (const char* name :
                 {"disassembleToFile", "viewPadSpace", "systemVariables", "restoreRom", "editRegisters",
                  "editMemory", "find", "copyMemoryBlock", "fillMemoryBlock", "pushValue", "popValue"})
                seen.toolsEnabled = seen.toolsEnabled && debugger->Action(name)->isEnabled();

            // Edit Memory writes a byte at the top of the code pane, which then shows it.
            debugger->RefreshViews(0);
            seen.lineBefore = debugger->codePane()->view()->lines().value(0);
            debugger->Action("editMemory")->trigger();
            EditMemoryWindow* editor = OpenEditMemoryWindow();
            if (editor) {
                (void)QTest::qWaitForWindowExposed(editor); // the edit below shows whether it worked
                editor->view()->setFocus();
                QTest::keyClicks(editor->view(), "00");
                seen.lineAfter = debugger->codePane()->view()->lines().value(0);
                KeepPicture(debugger, "debugger_with_tools");
            }
            debugger->Action("restoreRom")->trigger();
            seen.restored = machine.pages[0][0];
            debugger->close();
        });
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        QVERIFY(seen.toolsEnabled);
        QCOMPARE(seen.words.size(), 3);
        QVERIFY2(seen.words[0].startsWith("CUBE "), qPrintable(seen.words.join('|')));
        QVERIFY2(seen.words[1].startsWith("SQUARE "), qPrintable(seen.words.join('|')));
        QCOMPARE(seen.words[2], QString("FORTH 1FFF"));
        QVERIFY2(seen.lineBefore.startsWith("0000  F3"), qPrintable(seen.lineBefore));
        QVERIFY2(seen.lineAfter.startsWith("0000  00 ") && seen.lineAfter.contains("NOP"),
                 qPrintable(seen.lineAfter));
        QCOMPARE(int(seen.restored), int(romByte));
    }
};

REGISTER_GUI_SUITE(DebuggerToolsTest);
REGISTER_GUI_SUITE(DebuggerWindowToolsTest);
#include "debugger_tools_test.moc"

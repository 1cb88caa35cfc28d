// The FORTH-level parts through their widgets: Step Word, Step Into Word and Step Out Of
// Word from the debugger's Run menu while a word runs, the FORTH tab naming where each
// stopped, the selected word decompiled beside the word list, and Tools > Export FORTH
// Source... writing the dictionary.
#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "debugger/qt/debugger_window.h"
#include "gui_support.h"
#include "tape/spool.h"

class ForthDebuggerTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void stepByWordAndReadTheDecompiledWord() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);
        StartSpool(": SQ DUP * ;\r: CUBE DUP SQ * ;\r: LOOPY BEGIN 7 CUBE DROP 0 UNTIL ;\rLOOPY\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 3000);
        RunFrames(*app, 25);

        QStringList notes;
        QString cube;
        auto answered = AnswerNextModal([&](QWidget* modal) {
            auto* debugger = qobject_cast<DebuggerWindow*>(modal);
            if (!debugger) return modal->close(), void();
            auto* stacks = debugger->findChild<QPlainTextEdit*>("forthStacks");
            auto note = [&] { return stacks ? stacks->toPlainText().section('\n', 0, 0) : QString(); };
            for (int k = 0; k < 20 && note() != "Step Into Word: CUBE in LOOPY+8"; ++k)
                debugger->Action("stepIntoWord")->trigger();
            notes << note();
            for (const char* step : {"stepIntoWord", "stepWord", "stepWord"}) {
                debugger->Action(step)->trigger();
                notes << note();
            }
            KeepPicture(debugger, "forth_tab_after_step_word");
            debugger->Action("stepOutOfWord")->trigger();
            notes << note();
            auto* words = debugger->wordListPane()->findChild<QTreeWidget*>("wordList");
            const QList<QTreeWidgetItem*> found = words->findItems("CUBE", Qt::MatchExactly);
            if (!found.isEmpty()) words->setCurrentItem(found.first());
            cube = debugger->wordListPane()->findChild<QPlainTextEdit*>("decompiledWord")->toPlainText();
            KeepPicture(debugger, "forth_decompiled_word");
            debugger->close();
        });
        QTest::keyClick(app->window(), Qt::Key_F5);
        QVERIFY(*answered);
        const QStringList expected = {"Step Into Word: CUBE in LOOPY+8", "Step Into Word: DUP in CUBE+2",
                                      "Step Word: SQ in CUBE+4", "Step Word: * in CUBE+6",
                                      "Step Out Of Word: DROP in LOOPY+10"};
        QCOMPARE(notes, expected);
        QVERIFY2(cube.contains(": CUBE\n DUP SQ *\n;"), qPrintable(cube));
        QVERIFY2(cube.contains("Parameter field"), qPrintable(cube));
    }

    void exportFromTheToolsMenu() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        RunFrames(*app, 50);
        StartSpool(": SQ DUP * ;\r");
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 1500);
        RunFrames(*app, 25);
        const QString path = ScratchFolder() + "/words.txt";
        auto chosen = ChooseInNextFileDialog(path);
        auto said = CloseNextMessage(10000);
        auto* item = app->window()->findChild<QAction*>("exportForthSource");
        QVERIFY(item);
        QCOMPARE(item->text(), QString("Export FORTH Source..."));
        item->trigger();
        QVERIFY(*chosen);
        QTRY_VERIFY(!said->isEmpty());
        QCOMPARE(*said, QString("Export FORTH Source|( 1 words as source, 0 as raw bytes )"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(file.readAll()), QString(": SQ\n DUP *\n;\n( 1 words as source, 0 as raw bytes )\n"));
    }
};

REGISTER_GUI_SUITE(ForthDebuggerTest);
#include "forth_debugger_test.moc"

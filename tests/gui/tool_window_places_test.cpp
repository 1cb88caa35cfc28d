// The tool windows come back where the user left them: the tape browser, the WAV
// browser, the debugger, its breakpoint list and its tools (the calculator here) write
// their places back as they move and close, the configuration file carries them to the
// next start, and a place that is on no screen today opens on the screen instead.
#include <functional>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTest>

#include "app/config/config_file.h"
#include "app/qt/application.h"
#include "app/qt/calculator_window.h"
#include "app/qt/main_window.h"
#include "base/window_places.h"
#include "debugger/qt/breakpoint_list_window.h"
#include "debugger/qt/debugger_window.h"
#include "gui_support.h"
#include "tape/qt/tape_browser.h"
#include "tape/qt/wav_browser.h"

namespace {

QPoint Stored(ToolWindow which) {
    return {toolWindowPlaces[which].left, toolWindowPlaces[which].top};
}

QWidget* OpenFromTools(QAction* command, QWidget* (*openWindow)()) {
    command->trigger();
    QWidget* window = openWindow();
    if (window) (void)QTest::qWaitForWindowExposed(window);
    return window;
}

QWidget* TapeBrowserWindow() {
    return OpenTapeBrowserWindow();
}
QWidget* WavBrowserWindow() {
    return OpenWavBrowserWindow();
}
QWidget* CalculatorWindowOpen() {
    return OpenCalculatorWindow();
}

// Opens the debugger from the Debug menu and runs `use` on it before closing it with F3.
bool WithDebugger(Application& app, const std::function<void(DebuggerWindow*)>& use) {
    auto answered = AnswerNextModal([&](QWidget* modal) {
        if (auto* debugger = qobject_cast<DebuggerWindow*>(modal)) {
            (void)QTest::qWaitForWindowExposed(debugger);
            use(debugger);
            debugger->activateWindow();
            (void)QTest::qWaitForWindowActive(debugger);
            QTest::keyClick(debugger, Qt::Key_F3);
        }
        if (modal->isVisible()) modal->close();
    });
    app.window()->actions().debugger->trigger();
    return *answered;
}

} // namespace

class ToolWindowPlacesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }
    void cleanup() {
        for (QWidget* w : {TapeBrowserWindow(), WavBrowserWindow(), CalculatorWindowOpen()})
            if (w) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void placesAreWrittenBackAndComeBackAtTheNextStart() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString configHome =
            QFileInfo(QString::fromStdString(ConfigFilePath())).dir().absolutePath() + "/..";

        QWidget* tape = OpenFromTools(app->window()->actions().tapeBrowser, TapeBrowserWindow);
        QVERIFY(tape);
        QCOMPARE(tape->pos(), Stored(kPlaceTapeBrowser)); // the default place
        tape->move(137, 151);
        QTRY_COMPARE(tape->pos(), QPoint(137, 151));
        tape->close();
        QCOMPARE(Stored(kPlaceTapeBrowser), QPoint(137, 151));

        QPoint listPlace;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            debugger->move(211, 97);
            debugger->Action("breakpoints")->trigger();
            if (auto* list = debugger->findChild<BreakpointListWindow*>()) {
                (void)QTest::qWaitForWindowExposed(list);
                list->move(520, 333);
                (void)QTest::qWaitFor([&] { return list->pos() == QPoint(520, 333); });
                listPlace = list->pos();
            }
        }));
        QCOMPARE(listPlace, QPoint(520, 333));
        QCOMPARE(Stored(kPlaceDebugger), QPoint(211, 97));
        QCOMPARE(Stored(kPlaceBreakpoints), QPoint(520, 333));

        // A window still open at quit has its place in the file too.
        QWidget* wav = OpenFromTools(app->window()->actions().wavBrowser, WavBrowserWindow);
        QVERIFY(wav);
        wav->move(300, 420);
        QTRY_COMPARE(Stored(kPlaceWavBrowser), QPoint(300, 420));
        app->window()->Quit();
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        for (WindowPoint& place : toolWindowPlaces)
            place = {};
        app = StartApplicationWithConfigFolder(configHome);
        QVERIFY(app);
        QCOMPARE(Stored(kPlaceTapeBrowser), QPoint(137, 151));
        tape = OpenFromTools(app->window()->actions().tapeBrowser, TapeBrowserWindow);
        wav = OpenFromTools(app->window()->actions().wavBrowser, WavBrowserWindow);
        QVERIFY(tape && wav);
        QCOMPARE(tape->pos(), QPoint(137, 151));
        QCOMPARE(wav->pos(), QPoint(300, 420));
        const QString shot = ScratchFolder() + "tool_window_places.png";
        tape->screen()->grabWindow(0).save(shot);
        qInfo("screenshot: %s", qPrintable(shot));

        QPoint debuggerPlace, listPlaceAgain;
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) {
            debuggerPlace = debugger->pos();
            debugger->Action("breakpoints")->trigger();
            if (auto* list = debugger->findChild<BreakpointListWindow*>()) listPlaceAgain = list->pos();
        }));
        QCOMPARE(debuggerPlace, QPoint(211, 97));
        QCOMPARE(listPlaceAgain, QPoint(520, 333));
    }

    void aPlaceOnNoScreenOpensOnTheScreenAndOthersWhereTheyWere() {
        REQUIRE_GUI_TEST_ROM();
        toolWindowPlaces[kPlaceTapeBrowser] = {9000, -7000};
        toolWindowPlaces[kPlaceDebugger] = {-4000, 300};
        toolWindowPlaces[kPlaceCalculator] = {640, 480};
        auto app = StartApplication();
        QVERIFY(app);
        const QRect screen = app->window()->screen()->availableGeometry();

        QWidget* tape = OpenFromTools(app->window()->actions().tapeBrowser, TapeBrowserWindow);
        QVERIFY(tape);
        QVERIFY2(screen.contains(tape->pos()), "the tape browser is on the screen");
        QWidget* calculator = OpenFromTools(app->window()->actions().calculator, CalculatorWindowOpen);
        QVERIFY(calculator);
        QCOMPARE(calculator->pos(), QPoint(640, 480));
        calculator->move(20, 900); // its title bar still on the screen
        calculator->close();
        QCOMPARE(Stored(kPlaceCalculator), QPoint(20, 900));
        QPoint debuggerPlace(-1, -1);
        QVERIFY(WithDebugger(*app, [&](DebuggerWindow* debugger) { debuggerPlace = debugger->pos(); }));
        QVERIFY2(screen.contains(debuggerPlace), "the debugger is on the screen");
        // Closing writes back the place it was shown at.
        QCOMPARE(Stored(kPlaceDebugger), debuggerPlace);
    }
};

REGISTER_GUI_SUITE(ToolWindowPlacesTest);
#include "tool_window_places_test.moc"

// Full screen and back: the menu, status bar and cursor go and come back, and the window
// returns to its size and place.
#include <algorithm>

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/status_bar_panel.h"
#include "display/presentation.h"
#include "display/qt/screen_panel.h"
#include "gui_support.h"

class FullScreenTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void enterAndLeaveRestoresTheWindow_data() {
        QTest::addColumn<int>("drawMode");
        QTest::newRow("software") << int(kDrawSoftware);
        QTest::newRow("OpenGL") << int(kDrawOpenGL);
    }
    void enterAndLeaveRestoresTheWindow() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, drawMode);
        opt_DrawMode = drawMode;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().size200->trigger();
        window->move(60, 40);
        app->loop().RunFor(0.2);
        const QRect before = window->geometry();
        const QPoint placeBefore = window->pos();

        QTest::keyClick(window, Qt::Key_F4);
        app->loop().RunFor(0.3);
        QCOMPARE(opt_DrawSize, kFullScreenScale);
        QVERIFY(window->menuBar()->isHidden());
        QVERIFY(window->statusBar()->isHidden());
        QVERIFY(!window->statusPanel().updatesEnabled());
        QCOMPARE(window->cursor().shape(), Qt::BlankCursor);
        const QSize screen = window->screen()->geometry().size();
        QCOMPARE(window->size(), screen);
        // The picture's shape kept: the largest whole scale that fits, centred on black.
        QVERIFY(window->screenPanel()->width() >= screen.width() - 1);
        const QSize panel = window->screenPanel()->size();
        const int scale = std::min(panel.width() / 384, panel.height() / 312);
        QVERIFY(scale >= 1);
        QCOMPARE(window->screenPanel()->view()->geometry(),
                 QRect((panel.width() - 384 * scale) / 2, (panel.height() - 312 * scale) / 2, 384 * scale,
                       312 * scale));
        QCOMPARE(window->screenPanel()->palette().color(window->screenPanel()->backgroundRole()), QColor(Qt::black));

        QTest::keyClick(window, Qt::Key_F4);
        app->loop().RunFor(0.3);
        QCOMPARE(opt_DrawSize, 2);
        QVERIFY(window->actions().size200->isChecked());
        QVERIFY(!window->actions().fullScreen->isChecked());
        QVERIFY(window->menuBar()->isVisible());
        QVERIFY(window->statusBar()->isVisible());
        QVERIFY(window->statusPanel().updatesEnabled());
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(window->size(), before.size());
        QCOMPARE(window->pos(), placeBefore);
        QCOMPARE(window->screenPanel()->size(), QSize(778, 634));

        // Alt+Enter toggles it too, both ways.
        QTest::keyClick(window, Qt::Key_Return, Qt::AltModifier);
        app->loop().RunFor(0.3);
        QCOMPARE(opt_DrawSize, kFullScreenScale);
        QTest::keyClick(window, Qt::Key_Return, Qt::AltModifier);
        app->loop().RunFor(0.3);
        QCOMPARE(opt_DrawSize, 2);
        QCOMPARE(window->size(), before.size());
    }
};

REGISTER_GUI_SUITE(FullScreenTest);
#include "full_screen_test.moc"

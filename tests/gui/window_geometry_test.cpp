// The window at 100%, 200% and 300% on both back-ends: fixed size, the picture at (5, 5)
// with its margin, the status bar below, and every Ace pixel a sharp block.
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "display/presentation.h"
#include "display/qt/display_presenter.h"
#include "display/qt/frame_view.h"
#include "display/qt/screen_panel.h"
#include "display/renderer.h"
#include "display/shader_preset.h"
#include "gui_support.h"

namespace {

// A pattern in which every pixel differs from its right and lower neighbours, so any
// smoothing or an off-by-one in the scaling shows.
uint32_t PatternPixel(int x, int y) {
    return ((x + y) & 1) ? 0xCACACA : uint32_t(0x100000 * (y % 7) + x % 200);
}

void FillPattern() {
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            renderer.frameImage[y * kFrameWidth + x] = PatternPixel(x, y);
    FrameImageWritten();
}

} // namespace

class WindowGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void eachScaleHasItsFixedSize_data() {
        QTest::addColumn<int>("drawMode");
        QTest::addColumn<int>("scale");
        for (int mode : {kDrawSoftware, kDrawOpenGL})
            for (int scale = 1; scale <= 3; ++scale)
                QTest::addRow("mode %d at %d00%%", mode, scale) << mode << scale;
    }
    void eachScaleHasItsFixedSize() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, drawMode);
        QFETCH(int, scale);
        opt_DrawMode = drawMode;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().SizeAction(scale)->trigger();
        app->loop().RunFor(0.2);

        QVERIFY(window->actions().SizeAction(scale)->isChecked());
        const ScreenPanel* panel = window->screenPanel();
        QCOMPARE(panel->size(), QSize(384 * scale + 10, 312 * scale + 10));
        QCOMPARE(panel->view()->geometry(), QRect(5, 5, 384 * scale, 312 * scale));
        // The status bar sits right under the screen area; the window cannot be resized.
        QCOMPARE(window->statusBar()->geometry().top(), panel->geometry().bottom() + 1);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->size(), window->minimumSize());
        QVERIFY(window->presenter().view()->Ready());
    }

    // Every View, Display and View, Shader choice from every back-end at every size keeps
    // the size: the window, its screen area and the ticked size stay as they were.
    void scaleIsKeptAcrossBackEndChanges_data() {
        QTest::addColumn<int>("scale");
        for (int scale = 1; scale <= 3; ++scale)
            QTest::addRow("%d00%%", scale) << scale;
    }
    void scaleIsKeptAcrossBackEndChanges() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, scale);
        opt_DrawMode = kDrawSoftware;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().SizeAction(scale)->trigger();
        app->loop().RunFor(0.1);
        const QSize windowSize = window->size();
        // Every change between two of the three back-ends, and each shader, in one walk.
        const char* const walk[] = {"drawOpenGL", "drawShaders", "drawSoftware", "shader0",     "drawOpenGL",
                                    "shader1",    "drawSoftware", "shader2",     "shader3",     "shader4",
                                    "drawOpenGL", "drawSoftware", "drawShaders", "drawSoftware"};
        for (const char* choice : walk) {
            QAction* action = window->findChild<QAction*>(choice);
            QVERIFY2(action, choice);
            action->trigger();
            app->loop().RunOnePass();
            const QString step = QString("%1 at %2").arg(choice).arg(scale);
            QVERIFY2(opt_DrawSize == scale, qPrintable(step + QString(": scale %1").arg(opt_DrawSize)));
            QVERIFY2(window->actions().SizeAction(scale)->isChecked(), qPrintable(step));
            QVERIFY2(window->screenPanel()->size() == QSize(384 * scale + 10, 312 * scale + 10), qPrintable(step));
            QVERIFY2(window->size() == windowSize, qPrintable(step));
        }
    }

    void pictureIsScaledWithoutSmoothing_data() { eachScaleHasItsFixedSize_data(); }
    void pictureIsScaledWithoutSmoothing() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, drawMode);
        QFETCH(int, scale);
        opt_DrawMode = drawMode;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().SizeAction(scale)->trigger();
        FillPattern();
        window->presenter().PresentFrame();
        QTest::qWait(100);

        const QImage shown = window->presenter().view()->Grab().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(384 * scale, 312 * scale));
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if ((shown.pixel(x, y) & 0xFFFFFF) != PatternPixel(x / scale, y / scale)) ++wrong;
        QCOMPARE(wrong, 0);
    }
};

REGISTER_GUI_SUITE(WindowGeometryTest);
#include "window_geometry_test.moc"

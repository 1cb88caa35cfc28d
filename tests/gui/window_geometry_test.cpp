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
            frameImage[y * kFrameWidth + x] = PatternPixel(x, y);
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

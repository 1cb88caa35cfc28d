// On a screen with 1.5 device pixels per logical pixel, the picture is still made of
// whole device pixels of the frame's own colours: never blended, never blurred.
#include <set>

#include <QAction>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "display/presentation.h"
#include "display/qt/display_presenter.h"
#include "display/qt/frame_view.h"
#include "display/renderer.h"
#include "gui_support.h"

class HighDpiTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void pixelsStaySharp_data() {
        QTest::addColumn<int>("drawMode");
        QTest::addColumn<int>("scale");
        for (int mode : {kDrawSoftware, kDrawOpenGL, kDrawShaders})
            for (int scale : {1, 2})
                QTest::addRow("mode %d at %d00%%", mode, scale) << mode << scale;
    }
    void pixelsStaySharp() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, drawMode);
        QFETCH(int, scale);
        opt_DrawMode = drawMode;
        auto app = StartApplication();
        QVERIFY(app);
        QCOMPARE(app->window()->devicePixelRatioF(), 1.5);
        app->window()->actions().SizeAction(scale)->trigger();
        // Single-pixel checks: the hardest picture to keep sharp.
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x)
                renderer.frameImage[y * kFrameWidth + x] = ((x ^ y) & 1) ? 0xFFFFFF : 0x000000;
        FrameImageWritten();
        app->window()->presenter().PresentFrame();
        QTest::qWait(100);

        const QImage shown = app->window()->presenter().view()->Grab().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(576 * scale, 468 * scale));
        std::set<QRgb> colours;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                colours.insert(shown.pixel(x, y) & 0xFFFFFF);
        QCOMPARE(colours, (std::set<QRgb>{0x000000, 0xFFFFFF}));
    }
};

REGISTER_GUI_SUITE_WITH_ENV(HighDpiTest, "QT_SCALE_FACTOR", "1.5");
#include "high_dpi_test.moc"

// The whole application on the real ROM: the main loop boots the Ace to FORTH's input
// line, FORTH answers what is typed, and the window shows exactly the rendered picture.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "display/qt/display_presenter.h"
#include "display/qt/frame_view.h"
#include "display/renderer.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "tape/spool.h"

namespace {

// Row `row` of the Ace's 32 x 24 character screen as text (bit 7, inverse video, ignored).
QString ScreenRow(int row) {
    QString line;
    for (int column = 0; column < 32; ++column) {
        const uint8_t c = ramBlock[0x2400 + row * 32 + column] & 0x7F;
        line += c >= 32 && c < 127 ? QChar(c) : QChar('.');
    }
    return line.trimmed();
}

// NOLTACE_SCREENSHOT_DIR keeps a picture of the window for people to look at.
void KeepScreenshot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("NOLTACE_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    window->grab().save(folder + "/" + name);
}

} // namespace

class BootTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void mainLoopBootsToForth() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        app->window()->actions().size200->trigger();
        RunFrames(*app, 100); // two seconds of Ace time: the ROM sizes and clears memory
        for (int row = 0; row < 23; ++row)
            QCOMPARE(ScreenRow(row), QString());
        // FORTH's input line waits at the bottom with its cursor (inverse graphic 0x17).
        QCOMPARE(ramBlock[0x2400 + 23 * 32 + 1], uint8_t(0x97));
        KeepScreenshot(app->window(), "boot-200.png");

        StartSpool(std::string("123 456 + .\r"));
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 400);
        QVERIFY(!spool.spoolActive);
        RunFrames(*app, 5);
        QCOMPARE(ScreenRow(0), QString("123 456 + . 579  OK"));
        KeepScreenshot(app->window(), "sum-200.png");
    }

    void windowShowsTheRenderedPicture() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        runState.FastMode = true; // what is shown matters here, not the pace
        RunFrames(*app, 100);
        StartSpool(std::string("1 2 + .\r"));
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 400);
        RunFrames(*app, 5);
        QTest::qWait(50); // let the last presented frame reach the screen

        const QImage shown = app->window()->presenter().view()->Grab().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(kFrameWidth, kFrameHeight));
        int different = 0, ink = 0;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const uint32_t pixel = shown.pixel(x, y) & 0xFFFFFF;
                different += pixel != renderer.frameImage[y * kFrameWidth + x];
                ink += pixel == renderer.inkColour;
            }
        QCOMPARE(different, 0);
        QVERIFY2(ink > 100, "the typed line is on the screen in ink");
    }

    // At the FORTH prompt every frame is presented but no picture is handed to the view:
    // nothing is converted or repainted until the screen changes. The run-state file
    // tells a script outside that the machine runs, and when it is held.
    void idleFramesHandNoPictureToTheView() {
        REQUIRE_GUI_TEST_ROM();
        const QString stateFile = QDir::temp().filePath("noltace-run-state-test.txt");
        QFile::remove(stateFile);
        qputenv("NOLTACE_RUN_STATE_FILE", stateFile.toLocal8Bit());
        auto app = StartApplication();
        qunsetenv("NOLTACE_RUN_STATE_FILE");
        QVERIFY(app);
        runState.FastMode = true;
        RunFrames(*app, 100);
        DisplayPresenter& presenter = app->window()->presenter();
        const int shownAtPrompt = presenter.shownFrames();
        const int presentedAtPrompt = presenter.presentedFrames();
        RunFrames(*app, 50);
        QCOMPARE(presenter.presentedFrames(), presentedAtPrompt + 50);
        QCOMPARE(presenter.shownFrames(), shownAtPrompt);

        StartSpool(std::string("7"));
        (void)RunUntil(*app, [&] { return !spool.spoolActive; }, 100);
        RunFrames(*app, 5);
        QVERIFY(presenter.shownFrames() > shownAtPrompt);

        const auto state = [&] {
            QFile file(stateFile);
            return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
        };
        app->loop().RunFor(1.1);
        QVERIFY2(state().contains(QRegularExpression(" frames=[1-9][0-9]* shown=[1-9][0-9]* held=0 modal=0\n$")),
                 qPrintable(state()));
        runState.Paused = true;
        app->loop().RunFor(1.1);
        runState.Paused = false;
        QVERIFY2(state().contains(" held=1 "), qPrintable(state()));
        QFile::remove(stateFile);
    }
};

REGISTER_GUI_SUITE(BootTest);
#include "boot_test.moc"

// "Save Screenshot" through the real window: the file holds the picture exactly as the
// window presents it (with the shader, at the window's scale, over the whole screen in
// full screen) as a 32-bit bottom-up BMP, or a PNG for a ".png" name; new names are
// taken, ".bmp" is added only when missing, replacing asks first, and a file that cannot
// be written is reported and left alone.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "app/qt/screenshot_command.h"
#include "display/presentation.h"
#include "display/qt/display_presenter.h"
#include "display/qt/frame_view.h"
#include "display/qt/screen_panel.h"
#include "display/renderer.h"
#include "display/shader_preset.h"
#include "gui_support.h"
#include "machine/run_state.h"

namespace {

uint32_t Le32(const QByteArray& bytes, int at) {
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Types `name` into the next save dialog and presses Save; `replace` answers the
// question about an existing file (Yes or No) when one comes.
// `filter`, when given, is chosen first; `shownFilter` receives the one the dialog offered.
std::shared_ptr<bool> SaveAs(const QString& name, QMessageBox::StandardButton replace = QMessageBox::Yes,
                             const QString& filter = {}, QString* shownFilter = nullptr) {
    return AnswerNextModal([name, replace, filter, shownFilter](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog, "a file dialog opens");
        QCOMPARE(dialog->windowTitle(), QString("Save Screenshot"));
        if (shownFilter) *shownFilter = dialog->selectedNameFilter();
        if (!filter.isEmpty()) dialog->selectNameFilter(filter);
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(edit);
        edit->setText(name);
        AnswerNextModal(
            [replace](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                if (box && box->text().contains("already exists") && box->button(replace))
                    box->button(replace)->click();
            },
            1000);
        static_cast<QDialog*>(dialog)->accept();
        // Refusing to replace keeps the dialog open for another name: cancel it then.
        if (dialog->isVisible()) dialog->reject();
    });
}

// Every stored pixel of a BMP against the picture (rows bottom-up, B, G, R, 0).
int PixelsDiffering(const QByteArray& bmp, const QImage& picture) {
    int wrong = 0;
    const int width = picture.width(), height = picture.height();
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            wrong += Le32(bmp, 54 + (row * width + x) * 4) != (picture.pixel(x, height - 1 - row) & 0xFFFFFF);
    return wrong;
}

// The picture's place in the window as the X server has it: what the user sees.
QImage PixelsOnScreen(QWidget* view) {
    const QPoint at = view->mapTo(view->window(), QPoint(0, 0));
    return view->screen()
        ->grabWindow(view->window()->winId(), at.x(), at.y(), view->width(), view->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

void FillFrame() {
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            renderer.frameImage[y * kFrameWidth + x] = y < 156 ? 0xFFFFFF : uint32_t(0x010203 * (x % 64));
    FrameImageWritten();
}

} // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        ResetEmulatorState();
        screenshotFileName.clear();
    }

    void savesWhatTheWindowPresents_data() {
        QTest::addColumn<int>("drawMode");
        QTest::addColumn<int>("shader");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("software 100%") << int(kDrawSoftware) << 0 << 1 << "shot"
                                       << "shot.bmp";
        QTest::newRow("OpenGL 200%") << int(kDrawOpenGL) << 0 << 2 << "shot.bmp"
                                     << "shot.bmp";
        for (int shader = 0; shader < kShaderCount; ++shader)
            QTest::addRow("%s 300%%", ShaderName(shader))
                << int(kDrawShaders) << shader << 3 << QString("shader%1").arg(shader)
                << QString("shader%1.bmp").arg(shader);
        QTest::newRow("PNG by its name") << int(kDrawShaders) << 2 << 1 << "shot.png"
                                         << "shot.png";
    }
    void savesWhatTheWindowPresents() {
        REQUIRE_GUI_TEST_ROM();
        QFETCH(int, drawMode);
        QFETCH(int, shader);
        QFETCH(int, scale);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        opt_DrawMode = drawMode;
        opt_shader = shader;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().SizeAction(scale)->trigger();
        RunFrames(*app, 75); // the ROM draws its screen
        runState.Paused = true;
        FillFrame();
        window->presenter().PresentFrame();
        QTest::qWait(200);
        QVERIFY(window->presenter().view()->Ready());
        const QImage presented = CapturePresentedPicture(window->presenter());
        QCOMPARE(presented.size(), QSize(384 * scale, 312 * scale));
        const QImage onScreen = PixelsOnScreen(window->presenter().view()->widget());
        if (const QString folder = qEnvironmentVariable("NOLTACE_SCREENSHOT_DIR"); !folder.isEmpty())
            onScreen.save(folder + "/" + QString(written).replace(".bmp", "-screen.png"));
        QCOMPARE(onScreen, presented.convertToFormat(QImage::Format_RGB32));
        if (drawMode != kDrawShaders || shader == 0) {
            // The plain back-ends show each frame pixel as a square of `scale` pixels, in
            // its own colours: red, green and blue all differ in the test frame.
            int wrong = 0;
            for (int y = 0; y < onScreen.height(); ++y)
                for (int x = 0; x < onScreen.width(); ++x)
                    wrong += (onScreen.pixel(x, y) & 0xFFFFFF) !=
                             renderer.frameImage[y / scale * kFrameWidth + x / scale];
            QCOMPARE(wrong, 0);
        }

        const QString folder = ScratchFolder();
        auto answered = SaveAs(folder + typed);
        window->actions().saveScreenshot->trigger();
        QVERIFY(*answered);
        QVERIFY2(!QFile::exists(folder + written + ".bmp"), "no ending added twice");
        const QByteArray bytes = ReadAll(folder + written);
        if (written.endsWith(".png")) {
            QCOMPARE(QImage(folder + written).convertToFormat(QImage::Format_RGB32), presented);
            return;
        }
        QCOMPARE(bytes.size(), 54 + presented.width() * presented.height() * 4);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(Le32(bytes, 18), uint32_t(presented.width()));
        QCOMPARE(Le32(bytes, 22), uint32_t(presented.height()));
        QCOMPARE(PixelsDiffering(bytes, presented), 0);
        if (scale == 1) {
            QCOMPARE(bytes.size(), 479286);
            // The first stored row is the picture's bottom: the grey ramp, not white.
            QCOMPARE(Le32(bytes, 54 + 4 * 10), 0x0A141Eu);
            QCOMPARE(Le32(bytes, 54 + 384 * 4 * 311), 0xFFFFFFu);
        }
    }

    void existingNamesAskAndUnwritableOnesAreReported() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        runState.Paused = true;
        FillFrame();
        window->presenter().PresentFrame();
        QTest::qWait(100);
        const QString folder = ScratchFolder();
        const QString old = folder + "old.bmp";
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();

        // "No" to replacing leaves the file as it was.
        auto answered = SaveAs(old, QMessageBox::No);
        window->actions().saveScreenshot->trigger();
        QVERIFY(*answered);
        QCOMPARE(ReadAll(old), QByteArray("keep me"));

        // "old" becomes "old.bmp", which exists: asked about too, and "Yes" replaces it.
        answered = SaveAs(folder + "old", QMessageBox::Yes);
        window->actions().saveScreenshot->trigger();
        QVERIFY(*answered);
        QCOMPARE(ReadAll(old).size(), 479286);
        QVERIFY(!QFile::exists(old + ".bmp"));

        // A folder that does not exist: reported with the code and the path, nothing written.
        const QString blocked = folder + "no/such/folder/shot.bmp";
        auto said = CloseNextMessage();
        QVERIFY(
            !SaveScreenshotAs(CapturePresentedPicture(window->presenter()), blocked.toStdString(), false));
        QTRY_VERIFY(!said->isEmpty());
        const QString text = *said;
        QVERIFY2(text.startsWith("NoltACE File|0E - File Error: Cannot write file"), qPrintable(text));
        QVERIFY2(text.contains(blocked), qPrintable(text));
        QVERIFY(!QFile::exists(blocked));
    }

    // The dialog offers the filter of the last file saved; a bare name takes the ending of
    // whichever filter is chosen when Save is pressed.
    void bareNameTakesTheChosenFiltersEnding() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        runState.Paused = true;
        window->presenter().PresentFrame();
        QTest::qWait(100);
        const QString folder = ScratchFolder();
        QString shown;
        struct Step {
            QString typed, filter, offered, written;
        };
        const Step steps[] = {{"first", "", "BMP files (*.bmp)", "first.bmp"},
                              {"second", "PNG files (*.png)", "BMP files (*.bmp)", "second.png"},
                              {"third", "", "PNG files (*.png)", "third.png"},
                              {"fourth", "BMP files (*.bmp)", "PNG files (*.png)", "fourth.bmp"}};
        for (const Step& step : steps) {
            auto answered = SaveAs(folder + step.typed, QMessageBox::Yes, step.filter, &shown);
            window->actions().saveScreenshot->trigger();
            QVERIFY(*answered);
            QCOMPARE(shown, step.offered);
            QVERIFY2(QFile::exists(folder + step.written), qPrintable(step.written));
            QCOMPARE(QImage(folder + step.written).isNull(), false);
        }
        QCOMPARE(QImageReader(folder + "second.png").format(), QByteArray("png"));
        QCOMPARE(QImageReader(folder + "fourth.bmp").format(), QByteArray("bmp"));
    }

    void fullScreenSavesTheWholeScreen() {
        REQUIRE_GUI_TEST_ROM();
        opt_DrawMode = kDrawShaders;
        opt_shader = 1;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        QTest::keyClick(window, Qt::Key_F4);
        RunFrames(*app, 25);
        runState.Paused = true;
        window->presenter().PresentFrame();
        QTest::qWait(200);
        const QImage presented = CapturePresentedPicture(window->presenter());
        // The picture as shown, at its full-screen scale, without the black bars.
        QCOMPARE(presented.size(), window->screenPanel()->view()->size() * window->devicePixelRatio());
        const QSize panel = window->screenPanel()->size();
        const PixelRect image = ImageRectFullScreen({panel.width(), panel.height()});
        QCOMPARE(window->screenPanel()->view()->size(), QSize(image.width, image.height));
        QVERIFY(image.width < panel.width() || image.height < panel.height()); // bars, not stretched

        const QString path = ScratchFolder() + "full.bmp";
        auto answered = SaveAs(path);
        window->actions().saveScreenshot->trigger();
        QVERIFY(*answered);
        const QByteArray bytes = ReadAll(path);
        QCOMPARE(bytes.size(), 54 + presented.width() * presented.height() * 4);
        QCOMPARE(PixelsDiffering(bytes, presented), 0);
    }
};

REGISTER_GUI_SUITE(ScreenshotTest);

// On a screen of 1.5 device pixels per pixel the file has every device pixel.
class ScreenshotHighDpiTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void savesDevicePixels() {
        REQUIRE_GUI_TEST_ROM();
        opt_DrawMode = kDrawShaders;
        opt_shader = 1;
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->actions().size200->trigger();
        RunFrames(*app, 15);
        runState.Paused = true;
        window->presenter().PresentFrame();
        QTest::qWait(200);
        const QImage presented = CapturePresentedPicture(window->presenter());
        QCOMPARE(presented.size(), QSize(1152, 936));
        const QString path = ScratchFolder() + "hidpi.bmp";
        QVERIFY(SaveScreenshotAs(presented, path.toStdString(), false));
        const QByteArray bytes = ReadAll(path);
        QCOMPARE(bytes.size(), 54 + 1152 * 936 * 4);
        QCOMPARE(PixelsDiffering(bytes, presented), 0);
    }
};

REGISTER_GUI_SUITE_WITH_ENV(ScreenshotHighDpiTest, "QT_SCALE_FACTOR", "1.5");
#include "screenshot_test.moc"

// The shader back-end's five looks, each drawn from a test frame into a framebuffer and
// read back: "No Shader" is an exact nearest-neighbour copy, "Dotmask" tints alternate
// columns by its parameter, "Scanlines" darkens between the Ace's lines, and "Curved CRT"
// and "Aperture" match reference pictures in tests/golden/ (NOLTACE_UPDATE_GOLDEN=1
// rewrites them). A shader the driver refuses is reported with its log and replaced by
// the plain OpenGL back-end.
#include <cmath>

#include <QAction>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QTest>

#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "base/messages.h"
#include "display/presentation.h"
#include "display/qt/display_presenter.h"
#include "display/qt/screen_panel.h"
#include "display/qt/shader_frame_view.h"
#include "display/qt/shader_pipeline.h"
#include "display/renderer.h"
#include "display/shader_preset.h"
#include "gui_support.h"
#include "machine/run_state.h"

namespace {

enum class Look { Nearest, Dotmask, Scanlines, Golden };

// Text-like cells in white on black inside a grey border, and a row of colour bars.
uint32_t TestPixel(int x, int y) {
    if (x < 64 || x >= 320 || y < 56 || y >= 248) return 0x404040;
    const int cx = (x - 64) / 8, cy = (y - 56) / 8, px = (x - 64) % 8, py = (y - 56) % 8;
    if (cy == 20) return (const uint32_t[]){0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}[cx % 4];
    if (cy % 2) return 0;
    bool ink = false;
    switch ((cx * 7 + cy * 3) % 5) {
    case 1: ink = px == 1 || px == 6 || py == 1 || py == 6; break; // a box
    case 2: ink = px == py || px == 7 - py; break;                 // a cross
    case 3: ink = px >= 2 && px <= 5; break;                       // a bar
    case 4: ink = py >= 3 && py <= 4; break;                       // a dash
    }
    return ink ? 0xFFFFFF : 0;
}

std::vector<uint32_t> TestFrame(uint32_t flat = 0) {
    std::vector<uint32_t> frame(kFrameWidth * kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            frame[size_t(y * kFrameWidth + x)] = flat ? flat : TestPixel(x, y);
    return frame;
}

int Channel(uint32_t pixel, int shift) {
    return int((pixel >> shift) & 0xFF);
}

// An offscreen context and a framebuffer of the output size that the pipeline draws into.
class OffscreenTarget {
  public:
    // The default desktop OpenGL, or OpenGL ES 3.0 when `es` is set.
    bool Open(bool es = false) {
        if (es) {
            QSurfaceFormat format;
            format.setRenderableType(QSurfaceFormat::OpenGLES);
            format.setVersion(3, 0);
            surface_.setFormat(format);
            context_.setFormat(format);
        }
        surface_.create();
        if (!context_.create() || !context_.makeCurrent(&surface_)) return false;
        const QSurfaceFormat f = context_.format();
        return context_.isOpenGLES() ? f.majorVersion() >= 3 : f.version() >= qMakePair(3, 3);
    }
    QImage Render(ShaderPipeline& pipeline, const std::vector<uint32_t>& frame, QSize size) {
        QOpenGLFramebufferObject target(size);
        pipeline.Render(frame.data(), {size.width(), size.height()}, target.handle());
        return target.toImage().convertToFormat(QImage::Format_RGB32); // top line first
    }
    ~OffscreenTarget() { context_.doneCurrent(); }

  private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
};

QString GoldenPath(const char* name) {
    return QString(NOLTACE_GOLDEN_DIR "/") + name;
}

} // namespace

class ShaderTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void eachShaderDrawsItsLook_data() {
        QTest::addColumn<int>("shader");
        QTest::addColumn<int>("scaleX");
        QTest::addColumn<int>("scaleY");
        QTest::addColumn<int>("look");
        QTest::addColumn<double>("strength"); // Dotmask's parameter
        QTest::addColumn<QString>("golden");
        QTest::newRow("No Shader at 200%") << 0 << 2 << 2 << int(Look::Nearest) << 0.0 << "";
        QTest::newRow("No Shader at 100%") << 0 << 1 << 1 << int(Look::Nearest) << 0.0 << "";
        // Wider than any frame buffer of the screen's width could hold.
        QTest::newRow("No Shader 18 times as wide") << 0 << 18 << 1 << int(Look::Nearest) << 0.0 << "";
        QTest::newRow("Dotmask 0.3 at 200%") << 1 << 2 << 2 << int(Look::Dotmask) << 0.3 << "";
        QTest::newRow("Dotmask 0.75 at 300%") << 1 << 3 << 3 << int(Look::Dotmask) << 0.75 << "";
        QTest::newRow("Scanlines at 300%") << 2 << 3 << 3 << int(Look::Scanlines) << 0.0 << "";
        QTest::newRow("Curved CRT at 100%")
            << 3 << 1 << 1 << int(Look::Golden) << 0.0 << "curved_crt_100.png";
        QTest::newRow("Aperture at 200%") << 4 << 2 << 2 << int(Look::Golden) << 0.0 << "aperture_200.png";
    }
    void eachShaderDrawsItsLook() {
        QFETCH(int, shader);
        QFETCH(int, scaleX);
        QFETCH(int, scaleY);
        QFETCH(int, look);
        QFETCH(double, strength);
        QFETCH(QString, golden);
        OffscreenTarget target;
        if (!target.Open()) QSKIP("no OpenGL 3.3 or OpenGL ES 3.0 context here");
        ShaderPipeline pipeline;
        QVERIFY2(pipeline.SetUp(shader), pipeline.failureLog().c_str());
        if (look == int(Look::Dotmask))
            QVERIFY(pipeline.SetParameterValue("DOTMASK_STRENGTH", float(strength)));
        const std::vector<uint32_t> frame = TestFrame(look == int(Look::Scanlines) ? 0x808080 : 0);
        const QImage shown = target.Render(pipeline, frame, QSize(384 * scaleX, 312 * scaleY));
        pipeline.TearDown();
        const auto source = [&](int x, int y) {
            return frame[size_t(y / scaleY * kFrameWidth + x / scaleX)];
        };

        if (look == int(Look::Nearest)) {
            int wrong = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    wrong += (shown.pixel(x, y) & 0xFFFFFF) != source(x, y);
            QCOMPARE(wrong, 0);
        } else if (look == int(Look::Dotmask)) {
            // Columns of the dot-mask pass (one per Ace pixel) alternate (1, m, 1) and (m, 1, m).
            const double m = 1.0 - strength;
            int wrong = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const bool odd = (x / scaleX) % 2;
                    const double tint[3] = {odd ? m : 1.0, odd ? 1.0 : m, odd ? m : 1.0}; // r, g, b
                    for (int c = 0; c < 3; ++c) {
                        const double expected = Channel(source(x, y), 16 - 8 * c) * tint[c];
                        wrong += std::abs(Channel(shown.pixel(x, y), 16 - 8 * c) - expected) > 1.0;
                    }
                }
            QCOMPARE(wrong, 0);
        } else if (look == int(Look::Scanlines)) {
            // A flat grey picture: each Ace line is brightest in its middle row.
            for (int line = 10; line < 300; line += 37) {
                const int middle = Channel(shown.pixel(200, line * 3 + 1), 8);
                const int top = Channel(shown.pixel(200, line * 3), 8);
                const int bottom = Channel(shown.pixel(200, line * 3 + 2), 8);
                QVERIFY2(top < middle * 0.85 && bottom < middle * 0.85,
                         qPrintable(QString("line %1: %2 %3 %4").arg(line).arg(top).arg(middle).arg(bottom)));
            }
        } else {
            // Not a plain copy: most of the picture changes visibly.
            double fromPlain = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    fromPlain += std::abs(Channel(shown.pixel(x, y), 8) - Channel(source(x, y), 8));
            QVERIFY2(fromPlain / (shown.width() * shown.height()) > 10.0, "looks like No Shader");

            if (qEnvironmentVariableIsSet("NOLTACE_UPDATE_GOLDEN"))
                QVERIFY(shown.save(GoldenPath(qPrintable(golden))));
            const QImage reference =
                QImage(GoldenPath(qPrintable(golden))).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(reference.size(), shown.size());
            // Drivers round and approximate pow and exp differently: small differences
            // everywhere are fine, large ones only on a few edge pixels.
            double total = 0;
            int far = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    for (int shift : {0, 8, 16}) {
                        const int d = std::abs(Channel(shown.pixel(x, y), shift) -
                                               Channel(reference.pixel(x, y), shift));
                        total += d;
                        far += d > 24;
                    }
            const double pixels = double(shown.width() * shown.height());
            QVERIFY2(total / (3 * pixels) < 2.0,
                     qPrintable(QString("mean difference %1").arg(total / (3 * pixels))));
            QVERIFY2(far < pixels * 0.002, qPrintable(QString("%1 values far off").arg(far)));
        }
    }

    void everyShaderCompilesForOpenGLES() {
        // Where the driver offers only OpenGL ES, the same texts compile with the ES prelude.
        OffscreenTarget target;
        if (!target.Open(true) || !QOpenGLContext::currentContext()->isOpenGLES())
            QSKIP("no OpenGL ES 3.0 context here");
        const std::vector<uint32_t> frame = TestFrame();
        for (int shader = 0; shader < kShaderCount; ++shader) {
            ShaderPipeline pipeline;
            QVERIFY2(pipeline.SetUp(shader), pipeline.failureLog().c_str());
            const QImage shown = target.Render(pipeline, frame, QSize(768, 624));
            pipeline.TearDown();
            if (shader == 0) QCOMPARE(shown.pixel(200, 300) & 0xFFFFFF, frame[150 * kFrameWidth + 100]);
        }
    }

    void presetsFollowTheirRules() {
        // "No Shader" and "Dotmask" scale in a pass of their own; the others draw straight
        // to the viewport. Every declared parameter is found, with its initial value.
        const int passes[kShaderCount] = {2, 2, 1, 1, 1};
        const int parameters[kShaderCount] = {0, 1, 5, 14, 14};
        for (int i = 0; i < kShaderCount; ++i) {
            const ShaderPreset preset = BuildShaderPreset(i);
            QCOMPARE(int(preset.passes.size()), passes[i]);
            QCOMPARE(int(preset.parameters.size()), parameters[i]);
            QCOMPARE(preset.passes[0].filter, i == 0 ? int(kFilterDefault) : int(kFilterNearest));
        }
        const ShaderPreset dotmask = BuildShaderPreset(1);
        QCOMPARE(dotmask.parameters[0].identifier, std::string("DOTMASK_STRENGTH"));
        QCOMPARE(dotmask.parameters[0].value, 0.3f);
        QCOMPARE(PassOutputSize(dotmask, 0, {384, 312}, {1152, 936}), (PixelSize{384, 312}));
        QCOMPARE(PassOutputSize(dotmask, 1, {384, 312}, {1152, 936}), (PixelSize{1152, 936}));
    }

    void presenterSetsUpShadersAndFallsBackToOpenGL() {
        // Black paper shows as dark grey under the shaders, and black again without them.
        ApplyColourScheme(0);
        const uint32_t black = renderer.paperColour;
        QCOMPARE(black, 0u);
        opt_shader = 2;
        QWidget holder;
        auto* panel = new ScreenPanel(&holder);
        DisplayPresenter presenter(panel);
        presenter.SetUpDisplay(kDrawShaders, 1);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        QCOMPARE(presenter.view()->widget()->objectName(), QString("shaderFrameView"));
        QTRY_VERIFY(static_cast<ShaderFrameView*>(presenter.view())->pipeline().ready());
        QCOMPARE(renderer.paperColour, kShaderPaperColour);

        presenter.FallBackToOpenGL();
        QCOMPARE(presenter.view()->widget()->objectName(), QString("openGLFrameView"));
        QTest::qWait(100);
        QVERIFY(presenter.view()->Ready());
        QCOMPARE(presenter.view()->Grab().size(), QSize(384, 312));
        presenter.SetUpDisplay(kDrawSoftware, 1);
        QCOMPARE(renderer.paperColour, black);
    }

    void viewMenuChoosesBackEndAndShader() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        MainWindow* window = app->window();
        window->findChild<QAction*>("shader3")->trigger();
        QCOMPARE(opt_DrawMode, int(kDrawShaders));
        QCOMPARE(opt_shader, 3);
        QCOMPARE(window->presenter().view()->widget()->objectName(), QString("shaderFrameView"));
        QTRY_VERIFY(static_cast<ShaderFrameView*>(window->presenter().view())->pipeline().ready());
        QCOMPARE(
            static_cast<ShaderFrameView*>(window->presenter().view())->pipeline().preset().parameters.size(),
            size_t(14));
        window->findChild<QAction*>("drawSoftware")->trigger();
        QCOMPARE(opt_DrawMode, int(kDrawSoftware));
        QCOMPARE(window->presenter().view()->widget()->objectName(), QString("softwareFrameView"));
        QVERIFY(!runState.Paused);
    }

    void aRefusedShaderIsReportedAndFallsBack() {
        // A pass the compiler rejects: the message carries the code and the driver's log,
        // and the fall-back runs so the user still sees a picture.
        static const std::string broken =
            "#if defined(FRAGMENT)\nvoid main_fragment() { undefined_thing(); }\n"
            "#else\nvoid main_vertex() { gl_Position = vec4(0.0); }\n#endif\n";
        ShaderPreset preset = BuildShaderPreset(0);
        preset.passes[0].source = broken;
        bool fellBack = false;
        QWidget holder;
        holder.resize(400, 330);
        auto* view = new ShaderFrameView(&holder, preset, [&] { fellBack = true; });
        view->setGeometry(0, 0, 384, 312);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        QTRY_VERIFY(fellBack);
        QVERIFY(!view->Ready());
        const LastReport& said = LastReportedMessage();
        QCOMPARE(said.code, 51);
        QCOMPARE(said.caption, std::string("NoltACE Display"));
        QVERIFY2(said.text.find("33 - ") == 0, said.text.c_str());
        QVERIFY2(said.text.find("undefined_thing") != std::string::npos, said.text.c_str());
    }
};

REGISTER_GUI_SUITE(ShaderTest);
#include "shader_test.moc"

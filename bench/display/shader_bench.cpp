// Host time per frame of each built-in shader in a 300% window (1152 x 936).
//
//   DISPLAY=:0 noltace-shader-bench
//
// BM_Shader/0 .. /4: the frame upload and every pass, drawn back to back into a
// framebuffer and waited for with glFinish, so a software rasteriser (Mesa's llvmpipe)
// is measured doing all of its work; /5 is the plain OpenGL back-end's one scaling pass.
//
// BM_ShaderWindow/0 .. /4: the whole way to the screen at real time: the shader view in
// a window, handed a new frame every 20 ms, drawing and swapping it. The time is the
// wall time of a drawn frame; cpu_ms counts the processor time of the whole process
// (the rasteriser's threads included) per drawn frame; drawn is the share of frames
// drawn (heavy shaders skip frames rather than hold the emulation back).
#include <chrono>
#include <ctime>
#include <thread>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include "display/qt/shader_frame_view.h"
#include "display/qt/shader_pipeline.h"
#include "display/qt/software_rasteriser.h"
#include "display/renderer.h"
#include "display/shader_preset.h"

namespace {

constexpr int kWidth = 1152, kHeight = 936;

void FillTestFrame() {
    for (int i = 0; i < kFrameWidth * kFrameHeight; ++i)
        renderer.frameImage[i] = (i / 8 + i / kFrameWidth / 8) % 2 ? 0xFFFFFF : 0x000000;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_Shader(benchmark::State& state) {
    const int shader = int(state.range(0));
    ShaderPreset preset = BuildShaderPreset(shader);
    if (shader == kShaderCount) preset.passes.erase(preset.passes.begin());
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    FillTestFrame();
    QOpenGLFramebufferObject target(kWidth, kHeight);
    ShaderPipeline pipeline;
    if (!pipeline.SetUp(preset)) {
        state.SkipWithError(pipeline.failureLog().c_str());
        return;
    }
    QOpenGLExtraFunctions* gl = context.extraFunctions();
    for (auto _ : state) {
        renderer.frameImage[0] ^= 1; // a new frame each time, as the emulator uploads one
        pipeline.Render(renderer.frameImage, {kWidth, kHeight}, target.handle());
        gl->glFinish();
    }
    state.SetLabel(shader == kShaderCount ? "one plain pass" : ShaderName(shader));
    pipeline.TearDown();
    context.doneCurrent();
}
BENCHMARK(BM_Shader)->DenseRange(0, kShaderCount)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShaderWindow(benchmark::State& state) {
    const int shader = int(state.range(0));
    QWidget window;
    window.resize(kWidth, kHeight);
    auto* view = new ShaderFrameView(&window, BuildShaderPreset(shader), [] {});
    view->setGeometry(0, 0, kWidth, kHeight);
    window.show();
    FillTestFrame();
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (view->framesDrawn() == 0 && Clock::now() < until) {
        view->ShowFrame(renderer.frameImage);
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (view->framesDrawn() == 0 || !view->Ready()) {
        state.SkipWithError("the window shows nothing");
        return;
    }
    const int drawnBefore = view->framesDrawn();
    double wall = 0, cpu = 0;
    auto due = Clock::now();
    for (auto _ : state) {
        renderer.frameImage[0] ^= 1;
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = Clock::now();
        view->ShowFrame(renderer.frameImage);
        QCoreApplication::processEvents(); // where a postponed picture is drawn
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuBefore;
        wall += seconds;
        state.SetIterationTime(seconds);
        due += std::chrono::milliseconds(20);
        std::this_thread::sleep_until(due);
    }
    const int drawn = std::max(1, view->framesDrawn() - drawnBefore);
    state.SetIterationTime(0);
    state.counters["ms_per_drawn"] = 1000 * wall / drawn;
    state.counters["cpu_ms"] = 1000 * cpu / drawn;
    state.counters["drawn"] = double(drawn) / double(state.iterations());
    state.SetLabel(ShaderName(shader));
}
BENCHMARK(BM_ShaderWindow)
    ->DenseRange(0, kShaderCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(250);

} // namespace

int main(int argc, char** argv) {
    SpreadSoftwareRasteriser(); // as the application does
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

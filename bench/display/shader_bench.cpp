// Host time per frame of each built-in shader in a 300% window (1152 x 936): the frame
// upload and every pass, drawn into a framebuffer and waited for with glFinish, so a
// software rasteriser (Mesa's llvmpipe) is measured doing all of its work.
//
//   DISPLAY=:0 noltace-shader-bench     # BM_Shader/0 .. BM_Shader/4, and /5 the floor
//
// The window's own composition and buffer swap come on top; the status bar's frames per
// second show the whole.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include "display/qt/shader_pipeline.h"
#include "display/renderer.h"
#include "display/shader_preset.h"

namespace {

// Shaders 0 to 4, or kShaderCount for the plain OpenGL back-end's work (one pass that
// scales the frame up), the floor that any shader starts from.
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
    for (int i = 0; i < kFrameWidth * kFrameHeight; ++i)
        frameImage[i] = (i / 8 + i / kFrameWidth / 8) % 2 ? 0xFFFFFF : 0x000000;
    QOpenGLFramebufferObject target(1152, 936);
    ShaderPipeline pipeline;
    if (!pipeline.SetUp(preset)) {
        state.SkipWithError(pipeline.failureLog().c_str());
        return;
    }
    QOpenGLExtraFunctions* gl = context.extraFunctions();
    for (auto _ : state) {
        frameImage[0] ^= 1; // a new frame each time, as the emulator uploads one
        pipeline.Render(frameImage, {1152, 936}, target.handle());
        gl->glFinish();
    }
    state.SetLabel(shader == kShaderCount ? "one plain pass" : ShaderName(shader));
    pipeline.TearDown();
    context.doneCurrent();
}
BENCHMARK(BM_Shader)->DenseRange(0, kShaderCount)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The shader back-end's drawing: the preset's passes (display/shader_preset.h) on OpenGL
// 3.3 core or OpenGL ES 3.0, in whatever context is current.
//
// SetUp compiles every pass and creates the input texture and the passes' render
// targets; Render uploads the 384 x 312 frame and draws every pass, the last one into
// the given framebuffer; TearDown gives everything back. Nothing is created per frame
// except when the viewport's size changes the intermediate targets. A last nearest
// pass-through after a pass that scales as nearest-neighbour (ShaderPass::scalesAsNearest)
// is not drawn: that pass draws straight to the framebuffer, with the same picture.
//
//   ShaderPipeline pipeline;
//   if (!pipeline.SetUp(opt_shader)) ReportMessage(2, pipeline.failureCode(), pipeline.failureLog());
//   pipeline.Render(frameImage, {768, 624}, framebuffer);
//
// What Direct3D9 and Cg did that OpenGL does differently:
// - Cg profiles and "main_vertex"/"main_fragment" entry points: the GLSL text of a pass
//   holds both stages between "#if defined(VERTEX)" and "#elif defined(FRAGMENT)"; the
//   pipeline compiles it twice with a prelude that defines the stage, PARAMETER_UNIFORM,
//   the common inputs and uniforms, and renames the stage's entry point to main.
// - The half-pixel offset: Direct3D9 samples texel centres half a pixel off its pixel
//   grid; OpenGL's grids agree, so the quad covers exactly 0 to width, 0 to height.
// - Texture origin: texture coordinate v = 0 is the picture's top line in every pass.
//   The frame is uploaded top row first; intermediate passes render with the projection
//   flipped so their targets keep the top line in row 0; the last pass, drawing to the
//   screen (whose row 0 is at the bottom), is not flipped.
// - Border addressing: OpenGL ES has no border colour, so textures are clamped to the
//   edge and their area beyond the picture (power-of-two sizes) is cleared to black,
//   which is what a shader reading past the picture's right or bottom edge then sees.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QOpenGLExtraFunctions>

#include "display/presentation.h"
#include "display/shader_preset.h"

class ShaderPipeline : protected QOpenGLExtraFunctions {
  public:
    ShaderPipeline();
    ~ShaderPipeline();

    // Needs a current context. False, with failureCode() (50 context too old, 51 program,
    // 52 texture or target) and failureLog() (the driver's log), when it cannot draw.
    bool SetUp(const ShaderPreset& preset);
    bool SetUp(int shaderIndex) { return SetUp(BuildShaderPreset(shaderIndex)); }
    void Render(const uint32_t* frame, PixelSize viewport, GLuint framebuffer);
    void TearDown(); // needs the same context current

    bool ready() const { return ready_; }
    int failureCode() const { return failureCode_; }
    const std::string& failureLog() const { return failureLog_; }
    const ShaderPreset& preset() const { return preset_; }
    // Changes a parameter's value for the frames drawn from now on; false for an unknown name.
    bool SetParameterValue(std::string_view identifier, float value);

  private:
    struct Pass;

    bool Fail(int code, std::string log);
    bool CompilePass(Pass& pass, std::string_view source, int index);
    void SizeTargets(PixelSize viewport);
    bool FoldsIntoLastPass(size_t index) const;
    void DrawPass(Pass& pass, GLuint inputTexture, PixelSize inputSize, PixelSize inputTextureSize,
                  GLuint framebuffer, bool last);

    ShaderPreset preset_;
    std::vector<std::unique_ptr<Pass>> passes_;
    GLuint inputTexture_ = 0;
    GLuint vertexArray_ = 0;
    PixelSize viewport_;
    bool es_ = false;
    bool ready_ = false;
    bool functionsReady_ = false;
    int failureCode_ = 0;
    std::string failureLog_;
    float frameCount_ = 0;
};

#include "display/qt/shader_pipeline.h"

#include <QOpenGLContext>

#include "base/messages.h"
#include "display/renderer.h"

namespace {

constexpr int kFloatsPerVertex = 11; // x, y, z, u, v, u2, v2, r, g, b, a

const char* const kCommonUniforms = "uniform vec2 video_size;\n"
                                    "uniform vec2 texture_size;\n"
                                    "uniform vec2 output_size;\n"
                                    "uniform float frame_count;\n"
                                    "uniform float frame_direction;\n";

// What every pass's text may take for granted, ahead of it in each stage.
std::string Prelude(bool es, bool vertex) {
    std::string text =
        es ? "#version 300 es\nprecision highp float;\nprecision highp int;\n" : "#version 330 core\n";
    text += "#define PARAMETER_UNIFORM\n";
    if (vertex)
        text += "#define VERTEX\n#define main_vertex main\n"
                "in vec4 position;\nin vec2 tex_coord;\nin vec2 tex_coord1;\nin vec4 color;\n"
                "uniform mat4 modelViewProj;\n";
    else
        text +=
            "#define FRAGMENT\n#define main_fragment main\nuniform sampler2D Texture;\nout vec4 FragColor;\n";
    text += kCommonUniforms;
    return text + "#line 1\n";
}

// Orthographic projection of 0..width, 0..height; `flipped` puts y = 0 at the bottom
// of the target (row 0), which keeps the picture's top line in row 0 of a texture.
void Projection(float width, float height, bool flipped, float m[16]) {
    for (int i = 0; i < 16; ++i)
        m[i] = 0.0f;
    m[0] = 2.0f / width;
    m[5] = (flipped ? 2.0f : -2.0f) / height;
    m[10] = 1.0f;
    m[12] = -1.0f;
    m[13] = flipped ? -1.0f : 1.0f;
    m[15] = 1.0f;
}

} // namespace

struct ShaderPipeline::Pass {
    GLuint program = 0;
    GLint modelViewProj = -1, videoSize = -1, textureSize = -1, outputSize = -1, frameCount = -1,
          frameDirection = -1, texture = -1;
    GLint position = -1, texCoord = -1, texCoord1 = -1, color = -1;
    std::vector<GLint> parameters; // per preset parameter, -1 where this pass has none
    GLuint vertexBuffer = 0;
    GLuint framebuffer = 0, target = 0; // all passes but the last
    PixelSize outputSize_, targetTextureSize;
    int filter = kFilterDefault;
    // Drawn straight to the viewport in place of the nearest pass-through after it.
    bool drawsForTheLast = false;
};

ShaderPipeline::ShaderPipeline() = default;

ShaderPipeline::~ShaderPipeline() = default; // TearDown needs the context: the owner calls it

bool ShaderPipeline::Fail(int code, std::string log) {
    failureCode_ = code;
    failureLog_ = std::move(log);
    ready_ = false;
    return false;
}

bool ShaderPipeline::SetParameterValue(std::string_view identifier, float value) {
    for (ShaderParameter& parameter : preset_.parameters)
        if (parameter.identifier == identifier) {
            parameter.value = value;
            return true;
        }
    return false;
}

bool ShaderPipeline::SetUp(const ShaderPreset& preset) {
    TearDown();
    failureCode_ = 0;
    failureLog_.clear();
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context) return Fail(kMsgOpenGlContext, "no current OpenGL context");
    initializeOpenGLFunctions();
    functionsReady_ = true;
    es_ = context->isOpenGLES();
    const QSurfaceFormat format = context->format();
    const auto version = std::make_pair(format.majorVersion(), format.minorVersion());
    if (preset.passes.empty() || int(preset.passes.size()) > kMaxShaderPasses)
        return Fail(kMsgOpenGlDevice, "a preset has 1 to " + std::to_string(kMaxShaderPasses) + " passes");
    if (version < (es_ ? std::make_pair(3, 0) : std::make_pair(3, 3)))
        return Fail(kMsgOpenGlContext, "the shaders need OpenGL 3.3 or OpenGL ES 3.0; the driver offers " +
                                        std::string(es_ ? "OpenGL ES " : "OpenGL ") +
                                        std::to_string(version.first) + "." + std::to_string(version.second));

    preset_ = preset;
    glGenVertexArrays(1, &vertexArray_);

    // The input texture: the frame in its top-left corner, black around it. The frame's
    // 0x00RRGGBB words arrive as B, G, R, 0 bytes; the swizzle reads them as R, G, B, 1.
    const PixelSize inputSize{NextPowerOfTwo(kFrameWidth), NextPowerOfTwo(kFrameHeight)};
    const std::vector<uint32_t> black(size_t(inputSize.width) * size_t(inputSize.height), 0);
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &inputTexture_);
    glBindTexture(GL_TEXTURE_2D, inputTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, inputSize.width, inputSize.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_R, GL_BLUE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_B, GL_RED);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (glGetError() != GL_NO_ERROR) return Fail(kMsgOpenGlTexture, "cannot create the frame's texture");

    for (size_t i = 0; i < preset_.passes.size(); ++i) {
        auto pass = std::make_unique<Pass>();
        pass->filter = preset_.passes[i].filter;
        if (!CompilePass(*pass, preset_.passes[i].source, int(i))) {
            passes_.push_back(std::move(pass));
            return false;
        }
        glGenBuffers(1, &pass->vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, pass->vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, 4 * kFloatsPerVertex * sizeof(GLfloat), nullptr, GL_DYNAMIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        passes_.push_back(std::move(pass));
    }
    viewport_ = {};
    ready_ = true;
    return true;
}

bool ShaderPipeline::CompilePass(Pass& pass, std::string_view source, int index) {
    GLuint stages[2] = {};
    for (int stage = 0; stage < 2; ++stage) {
        const bool vertex = stage == 0;
        const std::string text = Prelude(es_, vertex) + std::string(source);
        const char* pointer = text.c_str();
        stages[stage] = glCreateShader(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
        glShaderSource(stages[stage], 1, &pointer, nullptr);
        glCompileShader(stages[stage]);
        GLint ok = 0;
        glGetShaderiv(stages[stage], GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[4096] = {};
            glGetShaderInfoLog(stages[stage], sizeof log, nullptr, log);
            glDeleteShader(stages[0]);
            glDeleteShader(stages[1]);
            return Fail(kMsgOpenGlDevice, "pass " + std::to_string(index) + (vertex ? " vertex" : " fragment") +
                                            " program errors:\n" + log);
        }
    }
    pass.program = glCreateProgram();
    glAttachShader(pass.program, stages[0]);
    glAttachShader(pass.program, stages[1]);
    glLinkProgram(pass.program);
    glDeleteShader(stages[0]); // the program keeps them while it lives
    glDeleteShader(stages[1]);
    GLint linked = 0;
    glGetProgramiv(pass.program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[4096] = {};
        glGetProgramInfoLog(pass.program, sizeof log, nullptr, log);
        return Fail(kMsgOpenGlDevice, "pass " + std::to_string(index) + " link errors:\n" + log);
    }
    const GLuint p = pass.program;
    pass.modelViewProj = glGetUniformLocation(p, "modelViewProj");
    pass.videoSize = glGetUniformLocation(p, "video_size");
    pass.textureSize = glGetUniformLocation(p, "texture_size");
    pass.outputSize = glGetUniformLocation(p, "output_size");
    pass.frameCount = glGetUniformLocation(p, "frame_count");
    pass.frameDirection = glGetUniformLocation(p, "frame_direction");
    pass.texture = glGetUniformLocation(p, "Texture");
    pass.position = glGetAttribLocation(p, "position");
    pass.texCoord = glGetAttribLocation(p, "tex_coord");
    pass.texCoord1 = glGetAttribLocation(p, "tex_coord1");
    pass.color = glGetAttribLocation(p, "color");
    for (const ShaderParameter& parameter : preset_.parameters)
        pass.parameters.push_back(glGetUniformLocation(p, parameter.identifier.c_str()));
    return true;
}

void ShaderPipeline::SizeTargets(PixelSize viewport) {
    if (viewport == viewport_) return;
    viewport_ = viewport;
    PixelSize input{kFrameWidth, kFrameHeight};
    for (size_t i = 0; i < passes_.size(); ++i) {
        Pass& pass = *passes_[i];
        pass.outputSize_ = PassOutputSize(preset_, int(i), input, viewport);
        input = pass.outputSize_;
        pass.drawsForTheLast = i + 2 == passes_.size() && FoldsIntoLastPass(i);
        if (pass.drawsForTheLast) pass.outputSize_ = viewport;
        if (i + 1 == passes_.size() || pass.drawsForTheLast) continue;
        const PixelSize size{NextPowerOfTwo(pass.outputSize_.width), NextPowerOfTwo(pass.outputSize_.height)};
        if (pass.target && size == pass.targetTextureSize) continue;
        pass.targetTextureSize = size;
        if (!pass.target) glGenTextures(1, &pass.target);
        if (!pass.framebuffer) glGenFramebuffers(1, &pass.framebuffer);
        glBindTexture(GL_TEXTURE_2D, pass.target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.width, size.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glBindFramebuffer(GL_FRAMEBUFFER, pass.framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pass.target, 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            Fail(kMsgOpenGlTexture, "cannot render into a " + std::to_string(size.width) + " x " +
                                    std::to_string(size.height) + " texture for pass " + std::to_string(i));
            return;
        }
        // Black beyond the picture, as a border colour would read.
        glViewport(0, 0, size.width, size.height);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

// Pass `index` then a nearest pass-through to the viewport draw the same picture as pass
// `index` drawn to the viewport, when its picture scales as nearest-neighbour does: one
// full-size pass instead of two, which a software rasteriser feels.
bool ShaderPipeline::FoldsIntoLastPass(size_t index) const {
    const ShaderPass& pass = preset_.passes[index];
    const ShaderPass& last = preset_.passes.back();
    return pass.scalesAsNearest && pass.filter != kFilterLinear && last.filter != kFilterLinear &&
           last.source == PassThroughShaderSource();
}

void ShaderPipeline::Render(const uint32_t* frame, PixelSize viewport, GLuint framebuffer) {
    if (!ready_ || viewport.width <= 0 || viewport.height <= 0) return;
    SizeTargets(viewport);
    if (!ready_) return;

    glBindTexture(GL_TEXTURE_2D, inputTexture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kFrameWidth, kFrameHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame);

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindVertexArray(vertexArray_);
    GLuint input = inputTexture_;
    PixelSize inputSize{kFrameWidth, kFrameHeight};
    PixelSize inputTextureSize{NextPowerOfTwo(kFrameWidth), NextPowerOfTwo(kFrameHeight)};
    for (size_t i = 0; i < passes_.size(); ++i) {
        Pass& pass = *passes_[i];
        const bool last = i + 1 == passes_.size() || pass.drawsForTheLast;
        DrawPass(pass, input, inputSize, inputTextureSize, last ? framebuffer : pass.framebuffer, last);
        if (last) break;
        input = pass.target;
        inputSize = pass.outputSize_;
        inputTextureSize = pass.targetTextureSize;
    }
    glBindVertexArray(0);
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void ShaderPipeline::DrawPass(Pass& pass, GLuint inputTexture, PixelSize inputSize,
                              PixelSize inputTextureSize, GLuint framebuffer, bool last) {
    const float w = float(pass.outputSize_.width), h = float(pass.outputSize_.height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, pass.outputSize_.width, pass.outputSize_.height);
    glUseProgram(pass.program);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, inputTexture);
    const GLint filter = pass.filter == kFilterLinear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);

    // A strip over the whole target: (u, v) reach the picture's share of the texture.
    const float u = float(inputSize.width) / float(inputTextureSize.width);
    const float v = float(inputSize.height) / float(inputTextureSize.height);
    const GLfloat quad[4 * kFloatsPerVertex] = {
        0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, w, 0, 0, u, 0, 1, 0, 1, 1, 1, 1,
        0, h, 0, 0, v, 0, 1, 1, 1, 1, 1, w, h, 0, u, v, 1, 1, 1, 1, 1, 1,
    };
    glBindBuffer(GL_ARRAY_BUFFER, pass.vertexBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof quad, quad);
    const auto attribute = [this](GLint location, int size, int offset) {
        if (location < 0) return;
        glEnableVertexAttribArray(GLuint(location));
        glVertexAttribPointer(GLuint(location), size, GL_FLOAT, GL_FALSE, kFloatsPerVertex * sizeof(GLfloat),
                              reinterpret_cast<const void*>(offset * sizeof(GLfloat)));
    };
    attribute(pass.position, 3, 0);
    attribute(pass.texCoord, 2, 3);
    attribute(pass.texCoord1, 2, 5);
    attribute(pass.color, 4, 7);

    float matrix[16];
    Projection(w, h, !last, matrix);
    if (pass.modelViewProj >= 0) glUniformMatrix4fv(pass.modelViewProj, 1, GL_FALSE, matrix);
    if (pass.videoSize >= 0) glUniform2f(pass.videoSize, float(inputSize.width), float(inputSize.height));
    if (pass.textureSize >= 0)
        glUniform2f(pass.textureSize, float(inputTextureSize.width), float(inputTextureSize.height));
    if (pass.outputSize >= 0) glUniform2f(pass.outputSize, w, h);
    if (pass.frameCount >= 0) glUniform1f(pass.frameCount, 1.0f);
    if (pass.frameDirection >= 0) glUniform1f(pass.frameDirection, -1.0f);
    if (pass.texture >= 0) glUniform1i(pass.texture, 0);
    for (size_t i = 0; i < pass.parameters.size(); ++i)
        if (pass.parameters[i] >= 0) glUniform1f(pass.parameters[i], preset_.parameters[i].value);

    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    for (GLint location : {pass.position, pass.texCoord, pass.texCoord1, pass.color})
        if (location >= 0) glDisableVertexAttribArray(GLuint(location));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ShaderPipeline::TearDown() {
    if (functionsReady_) {
        for (auto& pass : passes_) {
            if (pass->program) glDeleteProgram(pass->program);
            if (pass->vertexBuffer) glDeleteBuffers(1, &pass->vertexBuffer);
            if (pass->framebuffer) glDeleteFramebuffers(1, &pass->framebuffer);
            if (pass->target) glDeleteTextures(1, &pass->target);
        }
        if (inputTexture_) glDeleteTextures(1, &inputTexture_);
        if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
    }
    passes_.clear();
    inputTexture_ = 0;
    vertexArray_ = 0;
    viewport_ = {};
    ready_ = false;
}

#include "display/qt/opengl_frame_view.h"

#include <cstring>

#include <QOpenGLContext>
#include <QTimer>

#include "base/messages.h"
#include "display/renderer.h"

namespace {

// Attribute/varying GLSL so one source serves desktop GL 2 and GLES 2 contexts.
const char* const kVertexShader = R"(
attribute vec2 position;
attribute vec2 texCoord;
varying vec2 uv;
void main() {
    uv = texCoord;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

// The frame's 0x00RRGGBB words sit in memory as B, G, R, 0: uploaded as RGBA they arrive
// with red and blue swapped, which the shader undoes instead of converting every frame.
const char* const kFragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
varying vec2 uv;
uniform sampler2D frame;
void main() {
    vec4 texel = texture2D(frame, uv);
    gl_FragColor = vec4(texel.b, texel.g, texel.r, 1.0);
}
)";

// Two triangles covering the viewport; texture row 0 is the image's top line.
const GLfloat kQuad[] = {
    -1.f, -1.f, 0.f, 1.f, 1.f, -1.f, 1.f, 1.f, -1.f, 1.f, 0.f, 0.f,
    1.f,  -1.f, 1.f, 1.f, 1.f, 1.f,  1.f, 0.f, -1.f, 1.f, 0.f, 0.f,
};

} // namespace

OpenGLFrameView::OpenGLFrameView(QWidget* parent)
    : GlSurfaceView(parent), pixels_(kFrameWidth * kFrameHeight, 0), quad_(QOpenGLBuffer::VertexBuffer) {
    setObjectName("openGLFrameView");
}

OpenGLFrameView::~OpenGLFrameView() {
    ReleaseContextResources();
}

void OpenGLFrameView::ReleaseGL() {
    if (!initialised_) return;
    if (texture_) glDeleteTextures(1, &texture_);
    texture_ = 0;
    quad_.destroy();
    program_.removeAllShaders();
    initialised_ = false;
}

void OpenGLFrameView::Fail(int code) {
    if (failure_) return;
    failure_ = code;
    // Not from inside the GL callback: the message box runs its own event loop.
    QTimer::singleShot(0, [code] { ReportMessage(kCaptionDisplay, code); });
}

void OpenGLFrameView::InitializeGL() {
    if (!Context() || !Context()->isValid()) return Fail(kMsgOpenGlContext);
    initializeOpenGLFunctions();
    initialised_ = true;

    if (!program_.addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program_.addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) || !program_.link())
        return Fail(kMsgOpenGlDevice);
    if (!quad_.create()) return Fail(kMsgOpenGlDevice);
    quad_.bind();
    quad_.allocate(kQuad, sizeof kQuad);
    quad_.release();

    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kFrameWidth, kFrameHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (!texture_ || glGetError() != GL_NO_ERROR) return Fail(kMsgOpenGlTexture);
    pixelsChanged_ = true;
}

void OpenGLFrameView::ShowFrame(const uint32_t* pixels) {
    std::memcpy(pixels_.data(), pixels, pixels_.size() * sizeof(uint32_t));
    pixelsChanged_ = true;
    Present();
}

void OpenGLFrameView::Draw(GLuint framebuffer, PixelSize size) {
    if (failure_ || !initialised_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, size.width, size.height);
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (pixelsChanged_) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kFrameWidth, kFrameHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                        pixels_.data());
        if (glGetError() != GL_NO_ERROR) return Fail(kMsgOpenGlLock);
        pixelsChanged_ = false;
    }
    program_.bind();
    quad_.bind();
    const int position = program_.attributeLocation("position");
    const int texCoord = program_.attributeLocation("texCoord");
    program_.enableAttributeArray(position);
    program_.enableAttributeArray(texCoord);
    program_.setAttributeBuffer(position, GL_FLOAT, 0, 2, 4 * sizeof(GLfloat));
    program_.setAttributeBuffer(texCoord, GL_FLOAT, 2 * sizeof(GLfloat), 2, 4 * sizeof(GLfloat));
    program_.setUniformValue("frame", 0);
    glActiveTexture(GL_TEXTURE0);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    program_.disableAttributeArray(position);
    program_.disableAttributeArray(texCoord);
    quad_.release();
    program_.release();
}

#include "NSOpenGLVideoView.h"

#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QtGlobal>

#include <algorithm>
#include <vector>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_LUMINANCE
#define GL_LUMINANCE 0x1909
#endif

namespace {

const char *const kVertexShader = R"(
attribute vec4 vPosition;
attribute vec2 a_texCoord;
varying vec2 tc;
void main()
{
    gl_Position = vPosition;
    tc = a_texCoord;
}
)";

// Limited-range BT.601, the matrix given column by column.
const char *const kPlanarFragmentShader = R"(
varying vec2 tc;
uniform sampler2D SamplerY;
uniform sampler2D SamplerU;
uniform sampler2D SamplerV;
void main()
{
    vec3 yuv;
    yuv.x = texture2D(SamplerY, tc).r - 0.0625;
    yuv.y = texture2D(SamplerU, tc).r - 0.5;
    yuv.z = texture2D(SamplerV, tc).r - 0.5;
    vec3 rgb = mat3(1.164, 1.164, 1.164, 0.0, -0.392, 2.017, 1.596, -0.813, 0.0) * yuv;
    gl_FragColor = vec4(rgb, 1.0);
}
)";

// The fourth byte of a packed pixel is padding, not opacity.
const char *const kPackedFragmentShader = R"(
varying vec2 tc;
uniform sampler2D SamplerRGB;
void main()
{
    gl_FragColor = vec4(texture2D(SamplerRGB, tc).rgb, 1.0);
}
)";

constexpr int kPositionLocation = 0;
constexpr int kTexCoordLocation = 1;

std::unique_ptr<QOpenGLShaderProgram> buildProgram(const char *fragmentSource)
{
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentSource)) {
        qWarning("video view: shader compile failed: %s", qPrintable(program->log()));
        return nullptr;
    }
    program->bindAttributeLocation("vPosition", kPositionLocation);
    program->bindAttributeLocation("a_texCoord", kTexCoordLocation);
    if (!program->link()) {
        qWarning("video view: shader link failed: %s", qPrintable(program->log()));
        return nullptr;
    }
    return program;
}

} // namespace

NSOpenGLVideoView::NSOpenGLVideoView(QWidget *parent) : QOpenGLWidget(parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

NSOpenGLVideoView::~NSOpenGLVideoView()
{
    // The base class destroys the context after this object is gone: its last signal must not reach us.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    if (m_glReady) {
        makeCurrent();
        releaseGL();
        doneCurrent();
    }
}

bool NSOpenGLVideoView::showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride)
{
    const auto clampInt = [](unsigned int v) { return int(std::min<unsigned int>(v, 0x7fffffffu)); };
    return acceptFrame(VideoFrameDesc::packed(data, clampInt(width), clampInt(height), clampInt(stride)));
}

bool NSOpenGLVideoView::showYUVImage(unsigned char **planes, int width, int height, int *strides)
{
    return acceptFrame(VideoFrameDesc::planar(planes, width, height, strides));
}

bool NSOpenGLVideoView::acceptFrame(const VideoFrameDesc &desc)
{
    const bool clearing = desc.isClear();
    if (!clearing && !desc.isDrawable())
        return false;
    const bool planar = desc.format == VideoFrameDesc::Yuv420p;
    if (!m_gate.admit(clearing, planar ? "showYUVImage" : "showImage"))
        return false;
    auto frame = std::make_shared<VideoFrameBuffer>();
    if (!VideoFrameBuffer::copyFrom(desc, *frame)) {
        m_gate.cancel();
        return false;
    }
    return m_gate.post(this, [this, frame]() { OnFrameArrived(frame); });
}

void NSOpenGLVideoView::OnFrameArrived(std::shared_ptr<VideoFrameBuffer> frame)
{
    m_frame = std::move(frame);
    m_frameDirty = true;
    update();
}

void NSOpenGLVideoView::reshape()
{
    if (m_glReady) {
        makeCurrent();
        glViewport(0, 0, int(width() * devicePixelRatioF()), int(height() * devicePixelRatioF()));
        doneCurrent();
    }
    update();
}

void NSOpenGLVideoView::reset()
{
    m_gate.invalidate();
    if (m_glReady) {
        makeCurrent();
        releaseGL();
        doneCurrent();
    }
    m_frame.reset();
    m_frameDirty = false;
    m_packedLayout = VideoTextureLayout();
    m_planarLayout = VideoTextureLayout();
    m_drawPath = DrawPath::None;
    update();
}

void NSOpenGLVideoView::initializeGL()
{
    initializeOpenGLFunctions();
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &NSOpenGLVideoView::OnContextAboutToBeDestroyed,
            Qt::UniqueConnection);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maxTextureSize);
    m_glReady = true;
    // A new context (the widget moved to another window) starts without textures: fill them again.
    m_packedLayout = VideoTextureLayout();
    m_planarLayout = VideoTextureLayout();
    m_frameDirty = m_frame != nullptr;
}

void NSOpenGLVideoView::resizeGL(int width, int height)
{
    glViewport(0, 0, width, height);
}

void NSOpenGLVideoView::OnContextAboutToBeDestroyed()
{
    if (!m_glReady)
        return;
    makeCurrent();
    releaseGL();
    doneCurrent();
    m_glReady = false;
}

void NSOpenGLVideoView::releaseGL()
{
    GLuint textures[] = {mTexture, mTextureY, mTextureU, mTextureV};
    for (GLuint texture : textures) {
        if (texture)
            glDeleteTextures(1, &texture);
    }
    mTexture = mTextureY = mTextureU = mTextureV = 0;
    mProgram.reset();
    m_packedProgram.reset();
    m_packedLayout = VideoTextureLayout();
    m_planarLayout = VideoTextureLayout();
    m_frameDirty = m_frame != nullptr;
}

bool NSOpenGLVideoView::fitsTextureLimit(const VideoTextureLayout &layout) const
{
    if (m_maxTextureSize > 0 && (layout.powerWidth > m_maxTextureSize || layout.powerHeight > m_maxTextureSize)) {
        qWarning("video view: frame %dx%d exceeds the texture limit %d", layout.imageWidth, layout.imageHeight,
                 m_maxTextureSize);
        return false;
    }
    return true;
}

void NSOpenGLVideoView::uploadPending()
{
    if (!m_frameDirty || !m_frame)
        return;
    m_frameDirty = false;
    const VideoFrameBuffer &frame = *m_frame;
    if (frame.isClear()) {
        m_packedLayout.imageWidth = m_packedLayout.imageHeight = 0;
        m_planarLayout.imageWidth = m_planarLayout.imageHeight = 0;
        m_drawPath = DrawPath::None;
        return;
    }
    if (frame.format == VideoFrameDesc::Bgrx32)
        uploadPacked(frame);
    else
        uploadPlanar(frame);
}

void NSOpenGLVideoView::uploadPacked(const VideoFrameBuffer &frame)
{
    if (!m_packedProgram && !buildPackedProgram()) {
        m_drawPath = DrawPath::None;
        return;
    }
    if (!mTexture)
        glGenTextures(1, &mTexture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, mTexture);
    if (!m_packedLayout.fitsPacked(frame.width, frame.height, frame.strides[0])) {
        const VideoTextureLayout layout = VideoTextureLayout::forPacked(frame.width, frame.height, frame.strides[0]);
        if (!fitsTextureLimit(layout)) {
            m_packedLayout = VideoTextureLayout();
            m_drawPath = DrawPath::None;
            return;
        }
        m_packedLayout = layout;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, layout.powerWidth, layout.powerHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, frame.strides[0] / 4, frame.height, GL_BGRA, GL_UNSIGNED_BYTE,
                    frame.planes[0].data());
    m_drawPath = DrawPath::Packed;
}

void NSOpenGLVideoView::uploadPlanar(const VideoFrameBuffer &frame)
{
    // Without a program there is nothing to draw with; the next planar frame tries again.
    if (!mProgram && !buildPlanarProgram()) {
        m_drawPath = DrawPath::None;
        return;
    }
    if (!mTextureY) {
        GLuint names[3] = {0, 0, 0};
        glGenTextures(3, names);
        mTextureY = names[0];
        mTextureU = names[1];
        mTextureV = names[2];
    }
    const GLuint textures[3] = {mTextureY, mTextureU, mTextureV};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!m_planarLayout.fitsPlanar(frame.width, frame.height, frame.strides)) {
        const VideoTextureLayout layout = VideoTextureLayout::forPlanar(frame.width, frame.height, frame.strides);
        if (!fitsTextureLimit(layout)) {
            m_planarLayout = VideoTextureLayout();
            m_drawPath = DrawPath::None;
            return;
        }
        m_planarLayout = layout;
        // New textures start black: luma 16, chroma 128.
        std::vector<uint8_t> scratch(size_t(layout.powerWidth) * size_t(layout.powerHeight), 16);
        for (int plane = 0; plane < 3; ++plane) {
            if (plane == 1)
                std::fill(scratch.begin(), scratch.begin() + scratch.size() / 4, 128);
            const int w = plane == 0 ? layout.powerWidth : layout.powerWidth / 2;
            const int h = plane == 0 ? layout.powerHeight : layout.powerHeight / 2;
            glActiveTexture(GL_TEXTURE0 + plane);
            glBindTexture(GL_TEXTURE_2D, textures[plane]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, w, h, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, scratch.data());
        }
    }
    for (int plane = 0; plane < 3; ++plane) {
        glActiveTexture(GL_TEXTURE0 + plane);
        glBindTexture(GL_TEXTURE_2D, textures[plane]);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, frame.strides[plane], frame.rows[plane], GL_LUMINANCE, GL_UNSIGNED_BYTE,
                        frame.planes[plane].data());
    }
    glActiveTexture(GL_TEXTURE0);
    m_drawPath = DrawPath::Planar;
}

bool NSOpenGLVideoView::buildPlanarProgram()
{
    mProgram = buildProgram(kPlanarFragmentShader);
    return mProgram != nullptr;
}

bool NSOpenGLVideoView::buildPackedProgram()
{
    m_packedProgram = buildProgram(kPackedFragmentShader);
    return m_packedProgram != nullptr;
}

void NSOpenGLVideoView::drawQuad(QOpenGLShaderProgram &program)
{
    const VideoTextureLayout &layout = m_drawPath == DrawPath::Packed ? m_packedLayout : m_planarLayout;
    static const GLfloat positions[] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};
    // The first image row is uploaded first, so texture row 0 belongs at the top of the view.
    const GLfloat ws = layout.widthScale;
    const GLfloat hs = layout.heightScale;
    const GLfloat texCoords[] = {0.0f, hs, ws, hs, 0.0f, 0.0f, ws, 0.0f};
    program.enableAttributeArray(kPositionLocation);
    program.enableAttributeArray(kTexCoordLocation);
    program.setAttributeArray(kPositionLocation, positions, 2);
    program.setAttributeArray(kTexCoordLocation, texCoords, 2);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    program.disableAttributeArray(kPositionLocation);
    program.disableAttributeArray(kTexCoordLocation);
}

void NSOpenGLVideoView::paintGL()
{
    uploadPending();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (m_drawPath == DrawPath::Packed && m_packedProgram && !m_packedLayout.isEmpty()) {
        m_packedProgram->bind();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, mTexture);
        m_packedProgram->setUniformValue("SamplerRGB", 0);
        drawQuad(*m_packedProgram);
        m_packedProgram->release();
    } else if (m_drawPath == DrawPath::Planar && mProgram && !m_planarLayout.isEmpty()) {
        mProgram->bind();
        const GLuint textures[3] = {mTextureY, mTextureU, mTextureV};
        for (int plane = 0; plane < 3; ++plane) {
            glActiveTexture(GL_TEXTURE0 + plane);
            glBindTexture(GL_TEXTURE_2D, textures[plane]);
        }
        glActiveTexture(GL_TEXTURE0);
        mProgram->setUniformValue("SamplerY", 0);
        mProgram->setUniformValue("SamplerU", 1);
        mProgram->setUniformValue("SamplerV", 2);
        drawQuad(*mProgram);
        mProgram->release();
    }
    glFlush();
}

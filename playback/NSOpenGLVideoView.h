#pragma once
// The OpenGL video view: planar YUV 4:2:0 frames are drawn by a small GLSL program over three luminance
// textures, packed B,G,R,X frames as one textured quad. Frames may arrive on any thread: the entry copies
// the pixels at once and queues the upload to the GUI thread (see VideoUploadGate); the textures are
// filled and drawn in paintGL, where the context is current. The view draws the path of the last frame it
// was given, so planar frames still show after a packed one.

#include "VideoFrameSink.h"
#include "VideoTextureLayout.h"
#include "VideoUploadGate.h"

#include <QOpenGLFunctions>
#include <QOpenGLWidget>

#include <atomic>
#include <memory>

class QOpenGLShaderProgram;

class NSOpenGLVideoView : public QOpenGLWidget, protected QOpenGLFunctions, public VideoFrameReceiver
{
    Q_OBJECT

public:
    enum class DrawPath { None, Packed, Planar };

    explicit NSOpenGLVideoView(QWidget *parent = nullptr);
    ~NSOpenGLVideoView() override;

    // Any thread. Null data (or null planes) clears the picture and is always admitted.
    bool showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride);
    bool showYUVImage(unsigned char **planes, int width, int height, int *strides);
    bool acceptFrame(const VideoFrameDesc &desc) override;

    // GUI thread.
    void reshape();
    // Drops the textures and programs and ignores uploads still queued; the picture turns black.
    void reset();

    int pendingCount() const { return m_gate.pending(); }
    DrawPath drawPath() const { return m_drawPath; }
    VideoTextureLayout packedLayout() const { return m_packedLayout; }
    VideoTextureLayout planarLayout() const { return m_planarLayout; }
    bool hasPlanarProgram() const { return mProgram != nullptr; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void OnFrameArrived(std::shared_ptr<VideoFrameBuffer> frame);
    void OnContextAboutToBeDestroyed();

    void uploadPending();
    void uploadPacked(const VideoFrameBuffer &frame);
    void uploadPlanar(const VideoFrameBuffer &frame);
    bool buildPlanarProgram();
    bool buildPackedProgram();
    void drawQuad(QOpenGLShaderProgram &program);
    bool fitsTextureLimit(const VideoTextureLayout &layout) const;
    void releaseGL();

    VideoUploadGate m_gate;

    // GUI thread only.
    GLuint mTexture = 0;
    GLuint mTextureY = 0;
    GLuint mTextureU = 0;
    GLuint mTextureV = 0;
    std::unique_ptr<QOpenGLShaderProgram> mProgram;
    std::unique_ptr<QOpenGLShaderProgram> m_packedProgram;
    VideoTextureLayout m_packedLayout;
    VideoTextureLayout m_planarLayout;
    DrawPath m_drawPath = DrawPath::None;
    // The last frame given, kept so that a re-created context can be filled again.
    std::shared_ptr<VideoFrameBuffer> m_frame;
    bool m_frameDirty = false;
    bool m_glReady = false;
    int m_maxTextureSize = 0;
};

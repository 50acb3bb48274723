#pragma once
// An ordinary widget that hosts one video view (OpenGL or bitmap) filling it, and passes frames to it.
// Frame-delivering threads should hold frameSink() rather than the widget: the sink outlives the widget
// and refuses frames once the view is replaced or the container is gone.

#include <QWidget>

#include <memory>

class NSOpenGLVideoView;
class NSVideoView;
class VideoFrameSink;

class VideoViewContainer : public QWidget
{
    Q_OBJECT

public:
    explicit VideoViewContainer(QWidget *parent = nullptr);
    ~VideoViewContainer() override;

    // Replaces the view: an OpenGL view when true, a bitmap view when false.
    void SetOpenGl(bool openGl);
    bool isOpenGl() const { return m_bOpenGl; }
    void reshape();

    // Any thread while the container lives. Answer true when the frame was taken, false when dropped
    // (also when no view was made yet).
    bool showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride);
    bool showYUVImage(unsigned char **planes, int width, int height, int *strides);

    std::shared_ptr<VideoFrameSink> frameSink() const { return m_sink; }
    QWidget *videoView() const { return m_view; }
    NSOpenGLVideoView *openGlView() const { return m_glView; }
    NSVideoView *bitmapView() const { return m_bitmapView; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void destroyView();

    bool m_bOpenGl = true;
    QWidget *m_view = nullptr;
    NSOpenGLVideoView *m_glView = nullptr;
    NSVideoView *m_bitmapView = nullptr;
    std::shared_ptr<VideoFrameSink> m_sink;
};

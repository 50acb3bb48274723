#pragma once
// The clip editor's preview surface (one for the source picture, one for the edited picture): a black
// frameless widget with the video host letterboxed inside. It reports where the picture lies, so that the
// editor can draw crop and watermark boxes over it, and passes mouse events on.

#include <QRect>
#include <QWidget>

#include <memory>

class QMouseEvent;
class VideoFrameSink;
class QVideoElementWindow;

namespace Ui {
class QMediaElementWindow;
} // namespace Ui

class QMediaElementWindow : public QWidget
{
    Q_OBJECT

public:
    explicit QMediaElementWindow(QWidget *parent = nullptr);
    ~QMediaElementWindow() override;

    // The video host from the form.
    QVideoElementWindow *videoElement() const { return m_videoElement; }

    void setVideoElementSize(int width, int height);
    QRect getVideoElementRect() const;
    WId getVideoElementWid() const;

    void SetOpenGl(bool openGl);
    void reshape();
    bool showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride);
    bool showYUVImage(unsigned char **planes, int width, int height, int *strides);
    std::shared_ptr<VideoFrameSink> frameSink() const;

signals:
    void emitMouseMoveEvent(QMouseEvent *event);
    void emitMousePressEvent(QMouseEvent *event);
    void emitMouseReleaseEvent(QMouseEvent *event);
    void emitVideoElementSizeChange(QRect rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<Ui::QMediaElementWindow> m_ui;
    QVideoElementWindow *m_videoElement = nullptr;
    int m_videoWidth = 0;
    int m_videoHeight = 0;
};

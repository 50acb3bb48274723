#pragma once
// The bitmap video view: each frame becomes a QImage on the delivering thread (planar YUV 4:2:0 frames
// are converted with the same limited-range BT.601 matrix as the OpenGL view) and is painted scaled to the
// view with QPainter. Admission, back-pressure and hand-over to the GUI thread are those of the OpenGL
// view (VideoUploadGate).

#include "VideoFrameSink.h"
#include "VideoUploadGate.h"

#include <QImage>
#include <QWidget>

class NSVideoView : public QWidget, public VideoFrameReceiver
{
    Q_OBJECT

public:
    explicit NSVideoView(QWidget *parent = nullptr);

    // Any thread. Null data (or null planes) clears the picture and is always admitted.
    bool showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride);
    bool showYUVImage(unsigned char **planes, int width, int height, int *strides);
    bool acceptFrame(const VideoFrameDesc &desc) override;

    // GUI thread: clears the picture and ignores uploads still queued.
    void reset();

    int pendingCount() const { return m_gate.pending(); }
    QImage displayImage() const { return mDisplayImage; }

    // The picture of one frame as RGB32 (null for a clearing or unusable frame).
    static QImage frameToImage(const VideoFrameDesc &desc);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void OnFrameArrived(const QImage &image);

    VideoUploadGate m_gate;
    QImage mDisplayImage; // GUI thread only
};

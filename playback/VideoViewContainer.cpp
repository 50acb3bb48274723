#include "VideoViewContainer.h"

#include "NSOpenGLVideoView.h"
#include "NSVideoView.h"
#include "VideoFrameSink.h"

#include <algorithm>

VideoViewContainer::VideoViewContainer(QWidget *parent) : QWidget(parent), m_sink(std::make_shared<VideoFrameSink>())
{
    setAttribute(Qt::WA_MouseTracking);
}

VideoViewContainer::~VideoViewContainer()
{
    // Before the child view is deleted: no delivering thread may reach it from here on.
    m_sink->detachAll();
}

void VideoViewContainer::destroyView()
{
    if (!m_view)
        return;
    // Detaching waits for a delivery in progress, so the old view can go at once.
    m_sink->detachAll();
    delete m_view;
    m_view = nullptr;
    m_glView = nullptr;
    m_bitmapView = nullptr;
}

void VideoViewContainer::SetOpenGl(bool openGl)
{
    m_bOpenGl = openGl;
    destroyView();
    VideoFrameReceiver *receiver = nullptr;
    if (openGl) {
        m_glView = new NSOpenGLVideoView(this);
        m_view = m_glView;
        receiver = m_glView;
    } else {
        m_bitmapView = new NSVideoView(this);
        m_view = m_bitmapView;
        receiver = m_bitmapView;
    }
    m_view->setGeometry(rect());
    m_view->show();
    m_sink->attach(receiver);
}

void VideoViewContainer::reshape()
{
    if (m_bOpenGl && m_glView)
        m_glView->reshape();
}

bool VideoViewContainer::showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride)
{
    const auto clampInt = [](unsigned int v) { return int(std::min<unsigned int>(v, 0x7fffffffu)); };
    return m_sink->deliver(VideoFrameDesc::packed(data, clampInt(width), clampInt(height), clampInt(stride)));
}

bool VideoViewContainer::showYUVImage(unsigned char **planes, int width, int height, int *strides)
{
    return m_sink->deliver(VideoFrameDesc::planar(planes, width, height, strides));
}

void VideoViewContainer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_view)
        m_view->setGeometry(rect());
}

#include "VideoImageWindow.h"

#include "QVideoShowWidget.h"
#include "VideoFrameSink.h"
#include "VideoLetterbox.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "ui_VideoImageWindow.h"

VideoImageWindow::VideoImageWindow(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::VideoImageWindow>())
{
    m_ui->setupUi(this);
    m_ImageWidget = m_ui->m_ImageWidget;
    // The host's updates stay on: unlike a platform view, the video view is a child widget that paints
    // through Qt, and disabled updates on its parent would freeze it.
    setPalette(QPalette(Qt::black));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_MouseTracking);
    m_ImageWidget->setAttribute(Qt::WA_MouseTracking);
}

VideoImageWindow::~VideoImageWindow() = default;

void VideoImageWindow::letterbox()
{
    if (m_videoWidth < 1 || m_videoHeight < 1)
        return;
    m_ImageWidget->setGeometry(letterboxVideoRect(m_videoWidth, m_videoHeight, width(), height()));
}

void VideoImageWindow::setVideoScale(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    m_videoWidth = width;
    m_videoHeight = height;
    letterbox();
}

void VideoImageWindow::setVideoSize(int width, int height)
{
    setVideoScale(width, height);
}

void VideoImageWindow::showNormal()
{
    QWidget::showNormal();
    letterbox();
}

void VideoImageWindow::showFullScreen()
{
    QWidget::showFullScreen();
    letterbox();
}

void VideoImageWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A window manager may resize after the state change has returned: keep the picture in place.
    letterbox();
}

void VideoImageWindow::SetOpenGl(bool openGl)
{
    m_ImageWidget->SetOpenGl(openGl);
}

void VideoImageWindow::reshape()
{
    m_ImageWidget->reshape();
}

bool VideoImageWindow::showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride)
{
    return m_ImageWidget->showImage(data, width, height, stride);
}

bool VideoImageWindow::showYUVImage(unsigned char **planes, int width, int height, int *strides)
{
    return m_ImageWidget->showYUVImage(planes, width, height, strides);
}

std::shared_ptr<VideoFrameSink> VideoImageWindow::frameSink() const
{
    return m_ImageWidget->frameSink();
}

QRect VideoImageWindow::getVideoRect() const
{
    return m_ImageWidget->geometry();
}

WId VideoImageWindow::getWId() const
{
    return m_ImageWidget->winId();
}

void VideoImageWindow::refresh()
{
    m_ImageWidget->repaint();
    if (QWidget *view = m_ImageWidget->videoView())
        view->update();
}

void VideoImageWindow::SetImgBorderRect(QRect rect)
{
    m_imgBorderRect = rect;
    update();
}

void VideoImageWindow::ShowImageBorder(bool) {}

void VideoImageWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void VideoImageWindow::mouseMoveEvent(QMouseEvent *event)
{
    emit emitMouseMove(event);
    if (isFullScreen())
        emit emitShowBtn(qRound(event->localPos().y()) > height() - kControlBand);
}

void VideoImageWindow::mousePressEvent(QMouseEvent *event)
{
    emit emitMouseDown(event);
    m_pressPos = QCursor::pos();
}

void VideoImageWindow::mouseReleaseEvent(QMouseEvent *event)
{
    emit emitMouseUp(event);
    // A click, not the end of a drag.
    if (QCursor::pos() == m_pressPos)
        emit emitPlayOrPause();
}

void VideoImageWindow::mouseDoubleClickEvent(QMouseEvent *)
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
    emit emitFullScreen();
}

void VideoImageWindow::enterEvent(QEvent *)
{
    setCursor(Qt::ArrowCursor);
}

void VideoImageWindow::leaveEvent(QEvent *)
{
    emit emitMouseLeave();
}

#include "QMediaElementWindow.h"

#include "QVideoElementWindow.h"
#include "VideoFrameSink.h"
#include "VideoLetterbox.h"

#include <QPainter>

#include "ui_QMediaElementWindow.h"

QMediaElementWindow::QMediaElementWindow(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QMediaElementWindow>())
{
    m_ui->setupUi(this);
    m_videoElement = m_ui->m_videoElement;
    setPalette(QPalette(Qt::black));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_MouseTracking);
    // The element's updates stay on: its video view is a child widget that paints through Qt.
    m_videoElement->setAttribute(Qt::WA_MouseTracking);
}

QMediaElementWindow::~QMediaElementWindow() = default;

void QMediaElementWindow::setVideoElementSize(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    m_videoWidth = width;
    m_videoHeight = height;
    m_videoElement->setGeometry(letterboxVideoRect(width, height, this->width(), this->height()));
    emit emitVideoElementSizeChange(m_videoElement->geometry());
}

QRect QMediaElementWindow::getVideoElementRect() const
{
    return m_videoElement->geometry();
}

WId QMediaElementWindow::getVideoElementWid() const
{
    return m_videoElement->winId();
}

void QMediaElementWindow::SetOpenGl(bool openGl)
{
    m_videoElement->SetOpenGl(openGl);
}

void QMediaElementWindow::reshape()
{
    m_videoElement->reshape();
}

bool QMediaElementWindow::showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride)
{
    return m_videoElement->showImage(data, width, height, stride);
}

bool QMediaElementWindow::showYUVImage(unsigned char **planes, int width, int height, int *strides)
{
    return m_videoElement->showYUVImage(planes, width, height, strides);
}

std::shared_ptr<VideoFrameSink> QMediaElementWindow::frameSink() const
{
    return m_videoElement->frameSink();
}

void QMediaElementWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void QMediaElementWindow::mouseMoveEvent(QMouseEvent *event)
{
    emit emitMouseMoveEvent(event);
}

void QMediaElementWindow::mousePressEvent(QMouseEvent *event)
{
    emit emitMousePressEvent(event);
}

void QMediaElementWindow::mouseReleaseEvent(QMouseEvent *event)
{
    emit emitMouseReleaseEvent(event);
}

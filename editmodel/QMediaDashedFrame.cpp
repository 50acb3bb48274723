#include "QMediaDashedFrame.h"

#include <QPainter>
#include <QTimer>

QMediaDashedFrame::QMediaDashedFrame(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &QMediaDashedFrame::UpdateTimer);
}

QMediaDashedFrame::~QMediaDashedFrame()
{
    delete m_image;
}

void QMediaDashedFrame::setImage(const QString &path)
{
    delete m_image;
    m_image = new QImage(path);
}

void QMediaDashedFrame::setVisible(bool visible)
{
    if (!visible) {
        m_paintCount = 0;
        repaint();
    }
    QWidget::setVisible(visible);
}

void QMediaDashedFrame::UpdateTimer()
{
    const int before = m_paintCount++;
    if (before < 1)
        return;
    m_timer->stop();
    update();
}

void QMediaDashedFrame::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_paintCount == 0) {
        m_timer->start(50);
        return;
    }
    if (!m_image || m_image->isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintDashedBorderAngle(painter, *m_image, width(), height(), m_showCenter);
}

void QMediaDashedFrame::paintDashedBorderAngle(QPainter &painter, const QImage &image, int boxWidth, int boxHeight,
                                               bool showCenter)
{
    const int w = boxWidth - 1;
    const int h = boxHeight - 1;
    const int iw = image.width();
    const int ih = image.height();
    const int n = kHandleSize;
    const int e = n - 1; // from a handle's first pixel to its last
    // The image is used at its pixel size: the pieces are copied one to one.
    auto piece = [&](int tx, int ty, int sx, int sy) { painter.drawImage(QPoint(tx, ty), image, QRect(sx, sy, n, n)); };
    piece(0, 0, 0, 0);
    piece((w - e) / 2, 0, (iw - n) / 2, 0);
    piece(w - e, 0, iw - n, 0);
    piece(0, (h - e) / 2, 0, (ih - n) / 2);
    if (showCenter)
        painter.drawImage(QRect((w - 15) / 2, (h - 15) / 2, 16, 16), image,
                          QRect((iw - 16) / 2, (ih - 16) / 2, 16, 16));
    piece(w - e, (h - e) / 2, iw - n, (ih - n) / 2);
    piece(0, h - e, 0, ih - n);
    piece((w - e) / 2, h - e, (iw - n) / 2, ih - n);
    piece(w - e, h - e, iw - n, ih - n);

    const int a = (w - e) / 2;
    const int b = (h - e) / 2;
    QPen pen(Qt::white, 2.0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.drawLine(n, 0, a, 0);
    painter.drawLine(a + n, 0, w - e, 0);
    painter.drawLine(w + 1, 0, w + 1, b);
    painter.drawLine(w + 1, b, w + 1, h - e);
    painter.drawLine(0, n, 0, b);
    painter.drawLine(0, b + n, 0, h - e);
    painter.drawLine(0, h + 1, a, h + 1);
    painter.drawLine(a + n, h + 1, w - e, h + 1);
}

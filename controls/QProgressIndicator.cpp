#include "QProgressIndicator.h"

#include <QPainter>
#include <QTimerEvent>

QProgressIndicator::QProgressIndicator(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

void QProgressIndicator::startAnimation()
{
    m_angle = 0;
    if (m_timerId == -1)
        m_timerId = startTimer(m_delay);
}

void QProgressIndicator::stopAnimation()
{
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
    update();
}

void QProgressIndicator::setAnimationDelay(int delay)
{
    m_delay = delay;
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_timerId = startTimer(m_delay);
    }
}

void QProgressIndicator::setDisplayedWhenStopped(bool state)
{
    m_displayedWhenStopped = state;
    update();
}

void QProgressIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void QProgressIndicator::timerEvent(QTimerEvent *e)
{
    if (e->timerId() != m_timerId) {
        QWidget::timerEvent(e);
        return;
    }
    m_angle = (m_angle + 30) % 360;
    update();
}

void QProgressIndicator::paintEvent(QPaintEvent *)
{
    if (!m_displayedWhenStopped && !isAnimated())
        return;
    QPainter painter(this);
    DrawAnimation(painter);
}

void QProgressIndicator::DrawAnimation(QPainter &painter)
{
    const int w = width(), h = height();
    const int m = qMin(w, h);
    painter.setRenderHint(QPainter::Antialiasing);
    const int outer = int((m - 1) * 0.5);
    const int inner = int((m - 1) * 0.25);
    const int H = outer - inner;
    const int W = m <= 32 ? int(H * 0.35) : int(H * 0.23);
    const int radius = W / 2;
    const int D = int(0.6 * H);
    const int x0 = -W / 2;
    for (int i = 0; i < 12; ++i) {
        QColor c = m_color;
        c.setAlphaF(1.0 - i / 12.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(c);
        painter.save();
        painter.translate((w - 1) / 2, (h - 1) / 2);
        painter.rotate(m_angle - 30 * i);
        if (m_policy == Bars) {
            painter.drawRoundedRect(QRectF(x0, -outer, W, H), radius, radius);
        } else {
            const int side = int((1.0 - i / 12.0) * D);
            painter.drawEllipse(QRectF(x0, -outer, side, side));
        }
        painter.restore();
    }
}

#include "QScrollAreaFrameSelection.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

QScrollAreaFrameSelection::QScrollAreaFrameSelection(QWidget *parent) : QScrollArea(parent)
{
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &QScrollAreaFrameSelection::mouseChangeSliderTimer);
}

void QScrollAreaFrameSelection::startAt(const QPoint &p)
{
    m_start = QPoint(p.x(), p.y() + verticalScrollBar()->value());
    m_current = p;
    m_lastY = -1;
    m_selecting = true;
    sendSelectChangePt();
}

void QScrollAreaFrameSelection::itemPressStart()
{
    startAt(mapFromGlobal(QCursor::pos()));
}

void QScrollAreaFrameSelection::itemRelease()
{
    m_selecting = false;
    m_start = m_current = QPoint();
    m_lastY = 0;
    m_timer->stop();
}

void QScrollAreaFrameSelection::sendSelectChangePt()
{
    const int y = verticalScrollBar()->value() + m_current.y();
    if (y == m_lastY)
        return;
    m_lastY = y;
    emit emitSelectPtChange(m_start, QPoint(m_current.x(), y));
}

void QScrollAreaFrameSelection::mouseChangeSliderTimer()
{
    QScrollBar *bar = verticalScrollBar();
    if (!bar->isVisible())
        return;
    bar->setValue(bar->value() + (m_up ? -20 : 20));
    sendSelectChangePt();
}

bool QScrollAreaFrameSelection::event(QEvent *e)
{
    const bool handled = QScrollArea::event(e);
    if (e->type() == QEvent::LayoutRequest) {
        const bool shown = verticalScrollBar()->isVisible();
        if (shown != m_barShown) {
            m_barShown = shown;
            emit emitScrollBarShow(shown);
        }
    }
    return handled;
}

void QScrollAreaFrameSelection::mousePressEvent(QMouseEvent *e)
{
    QScrollArea::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        startAt(e->pos());
}

void QScrollAreaFrameSelection::mouseReleaseEvent(QMouseEvent *e)
{
    QScrollArea::mouseReleaseEvent(e);
    itemRelease();
}

void QScrollAreaFrameSelection::mouseMoveEvent(QMouseEvent *e)
{
    QScrollArea::mouseMoveEvent(e);
    if (!m_selecting)
        return;
    const int y = e->pos().y();
    const int h = height();
    if (y > h - 20) {
        m_up = false;
        m_timer->start(100);
    } else if (y <= 19) {
        m_up = true;
        m_timer->start(100);
    } else {
        m_timer->stop();
    }
    m_current = QPoint(e->pos().x(), qBound(0, y, h));
    sendSelectChangePt();
}

void QScrollAreaFrameSelection::paintEvent(QPaintEvent *e)
{
    QScrollArea::paintEvent(e);
}

void QScrollAreaFrameSelection::showEvent(QShowEvent *e)
{
    QScrollArea::showEvent(e);
}

void QScrollAreaFrameSelection::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
}

#include "QSliderCtrlBtn.h"

#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QSliderCtrlBtn::QSliderCtrlBtn(QWidget *parent) : QPushButton(parent) {}

bool QSliderCtrlBtn::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(m_strip.width() / 8, m_strip.height() / 2);
    return true;
}

void QSliderCtrlBtn::changeState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    repaint();
}

void QSliderCtrlBtn::setStatePress()
{
    changeState(2);
}

void QSliderCtrlBtn::setStateNormal()
{
    m_state = 0;
    repaint();
}

void QSliderCtrlBtn::updateOffsets(QMouseEvent *e)
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    m_offsetX = qRound(e->screenPos().x()) - origin.x();
    m_offsetY = qRound(e->screenPos().y()) - origin.y();
}

void QSliderCtrlBtn::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        updateOffsets(e);
        emit mouseDown(e, m_offsetX);
        emit mouseDownY(e, m_offsetY);
        if (!isEnabled())
            m_state = 3;
        else
            changeState(2);
    }
    QPushButton::mousePressEvent(e);
}

void QSliderCtrlBtn::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        updateOffsets(e);
        emit mouseUp(e, m_offsetX);
        emit mouseUpY(e, m_offsetY);
        if (!isEnabled())
            m_state = 3;
        else if (m_state == 2)
            changeState(0);
    }
    QPushButton::mouseReleaseEvent(e);
}

void QSliderCtrlBtn::mouseMoveEvent(QMouseEvent *e)
{
    if (m_state != 2)
        return;
    emit mouseMove(e, m_offsetX);
    emit mouseMoveY(e, m_offsetY);
}

void QSliderCtrlBtn::enterEvent(QEvent *e)
{
    if (!isEnabled())
        m_state = 3;
    else
        changeState(1);
    QPushButton::enterEvent(e);
}

void QSliderCtrlBtn::leaveEvent(QEvent *e)
{
    if (!isEnabled())
        m_state = 3;
    else if (m_state == 1)
        changeState(0);
    QPushButton::leaveEvent(e);
}

void QSliderCtrlBtn::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_state = isEnabled() ? 0 : 3;
    QPushButton::changeEvent(e);
}

void QSliderCtrlBtn::paintEvent(QPaintEvent *)
{
    if (m_strip.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const int k = (m_state >= 1 && m_state <= 3) ? m_state : 0;
    if (k == 0 || m_strip.width() <= 3) {
        p.drawImage(QPointF(0, 0), m_strip);
        return;
    }
    const int sx = k * (m_strip.width() / 4);
    p.drawImage(QPointF(0, 0), m_strip, QRectF(sx, 0, m_strip.width() - sx, m_strip.height()));
}

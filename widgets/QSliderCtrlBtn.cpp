#include "QSliderCtrlBtn.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QSliderCtrlBtn::QSliderCtrlBtn(QWidget *parent) : QPushButton(parent) {}

bool QSliderCtrlBtn::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(SkinImageLoad::stripFrameSize(m_strip));
    return true;
}

void QSliderCtrlBtn::setStatePress()
{
    if (m_look.state() != 2) {
        m_look.setState(2);
        repaint();
    }
}

void QSliderCtrlBtn::setStateNormal()
{
    m_look.setState(0);
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
        if (m_look.press(isEnabled()))
            repaint();
    }
    QPushButton::mousePressEvent(e);
}

void QSliderCtrlBtn::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        updateOffsets(e);
        emit mouseUp(e, m_offsetX);
        emit mouseUpY(e, m_offsetY);
        if (m_look.release(isEnabled()))
            repaint();
    }
    QPushButton::mouseReleaseEvent(e);
}

void QSliderCtrlBtn::mouseMoveEvent(QMouseEvent *e)
{
    if (m_look.state() != 2)
        return;
    emit mouseMove(e, m_offsetX);
    emit mouseMoveY(e, m_offsetY);
}

void QSliderCtrlBtn::enterEvent(QEvent *e)
{
    if (m_look.enter(isEnabled()))
        repaint();
    QPushButton::enterEvent(e);
}

void QSliderCtrlBtn::leaveEvent(QEvent *e)
{
    if (m_look.leave(isEnabled()))
        repaint();
    QPushButton::leaveEvent(e);
}

void QSliderCtrlBtn::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_look.enabledChanged(isEnabled());
    QPushButton::changeEvent(e);
}

void QSliderCtrlBtn::paintEvent(QPaintEvent *)
{
    if (m_strip.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // No over-state here: the disabled state shows the disabled frame.
    NineGridDraw::drawStripFrame(p, m_strip, std::max(0, m_look.frameIndex()));
}

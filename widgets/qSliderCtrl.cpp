#include "qSliderCtrl.h"

#include "QImagaeRatioDraw.h"
#include "QSliderCtrlBtn.h"
#include "SkinImageLoad.h"

#include <QDebug>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

qSliderCtrl::qSliderCtrl(QWidget *parent) : QWidget(parent) {}

void qSliderCtrl::SetVerticalMode(bool on)
{
    m_vertical = on;
    update();
}

void qSliderCtrl::setBtnHide()
{
    if (m_handle)
        m_handle->hide();
    m_hideHandle = true;
}

void qSliderCtrl::setWidth(int w)
{
    resize(w, 20);
}

bool qSliderCtrl::setBottomImage(const QString &path)
{
    if (!SkinImageLoad::pixmap2x(path, m_track))
        return false;
    m_trackWidth = m_track.width() / 2;
    m_trackHeight = m_track.height() / 2;
    resize(m_trackWidth, m_track.height() > 41 ? m_trackHeight : 20);
    return true;
}

bool qSliderCtrl::setTopImage(const QString &path)
{
    return SkinImageLoad::pixmap2x(path, m_fill);
}

bool qSliderCtrl::setBtnImage(const QString &path)
{
    QPixmap image;
    if (!SkinImageLoad::pixmap2x(path, image))
        return false;
    // A second call re-skins the existing handle instead of stacking another one.
    if (!m_handle) {
        m_handle = new QSliderCtrlBtn(this);
        connect(m_handle, &QSliderCtrlBtn::mouseMove, this, &qSliderCtrl::btnMouseMove);
    }
    m_handleImage = image;
    m_handle->setBtnImage(path);
    const int oldHandleWidth = m_handleWidth;
    m_handleWidth = m_handle->width();
    if (!m_track.isNull())
        resize(width() - oldHandleWidth + m_handleWidth, height());
    m_handleTop = (height() - m_handle->height()) / 2;
    m_handle->move(0, m_handleTop);
    if (m_hideHandle)
        m_handle->hide();
    else
        m_handle->show();
    m_position = 0;
    return true;
}

void qSliderCtrl::setValueRange(long long minimum, long long maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void qSliderCtrl::setValue(float v)
{
    // A percentage computed from an empty total arrives as NaN: it shows as the start, never as a position.
    if (std::isnan(v))
        v = float(m_minimum);
    if (v >= m_maximum) {
        m_percent = 100;
        m_position = usable();
    } else if (v <= m_minimum) {
        m_percent = 0;
        m_position = 0;
        if (m_handle)
            m_handle->move(0, m_handleTop);
        update();
        return;
    } else {
        // Here minimum < v < maximum, so the span is positive; the percent is of the maximum as the bar shows
        // it, and 0 when the maximum itself is 0 (a range below zero).
        m_percent = m_maximum != 0 ? float(100.0 * v / double(m_maximum)) : 0.0f;
        m_position = float(double(usable()) * (double(v) - double(m_minimum)) / double(m_maximum - m_minimum));
    }
    if (m_handle)
        m_handle->move(int(m_position), m_handleTop);
    update();
}

float qSliderCtrl::getValue() const
{
    return usable() > 0 ? float(m_position * 100.0 / usable()) : 0.0f;
}

void qSliderCtrl::resizeWidth()
{
    // The stored percent is of the maximum; map it back to a value of the range.
    setValue(float(m_percent * double(m_maximum) / 100.0));
}

double qSliderCtrl::fraction() const
{
    return usable() > 0 ? double(m_position) / double(usable()) : 0.0;
}

void qSliderCtrl::placeHandle(int x)
{
    if (m_handle)
        m_handle->move(x, m_handleTop);
}

void qSliderCtrl::mousePressEvent(QMouseEvent *e)
{
    if (!m_drag)
        return;
    const int px = qRound(e->screenPos().x());
    const int left = mapToGlobal(QPoint(0, 0)).x();
    const int half = m_handleWidth / 2;
    if (px < left + half || px > left + width() - half)
        return;
    placeHandle(px - left - half);
    if (m_handle)
        m_handle->setStatePress();
    m_position = px - left - half;
    repaint();
    emit sendProgressValue(fraction());
}

void qSliderCtrl::mouseMoveEvent(QMouseEvent *e)
{
    if (!m_drag || e->buttons() == Qt::NoButton)
        return;
    if (m_handle && !m_handle->getMove())
        return;
    const int px = qRound(e->screenPos().x());
    const int left = mapToGlobal(QPoint(0, 0)).x();
    const int half = m_handleWidth / 2;
    if (px < left + half)
        m_position = 0;
    else if (px > left + width() - half)
        m_position = usable();
    else
        m_position = px - left - half;
    placeHandle(int(m_position));
    repaint();
    emit sendProgressValue(fraction());
    qDebug() << fraction();
}

void qSliderCtrl::btnMouseMove(QMouseEvent *e, int x)
{
    if (!m_drag)
        return;
    const int px = qRound(e->screenPos().x());
    const int left = mapToGlobal(QPoint(0, 0)).x();
    const int half = m_handleWidth / 2;
    const int wanted = px - x;
    if (wanted >= left + half && wanted <= left + usable()) {
        m_position = wanted - left;
    } else if (wanted > left + usable()) {
        m_position = usable();
    } else {
        m_position = 0;
    }
    placeHandle(int(m_position));
    repaint();
    emit sendProgressValue(fraction());
}

void qSliderCtrl::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_handle)
        m_handle->setStateNormal();
    QWidget::mouseReleaseEvent(e);
}

void qSliderCtrl::enterEvent(QEvent *e)
{
    if (m_drag) {
        setCursor(Qt::PointingHandCursor);
        if (m_hideHandle && m_handle)
            m_handle->show();
    }
    QWidget::enterEvent(e);
}

void qSliderCtrl::leaveEvent(QEvent *e)
{
    if (m_hideHandle && m_handle)
        m_handle->hide();
    QWidget::leaveEvent(e);
}

void qSliderCtrl::paintPercentText(QPainter &p)
{
    const QFont oldFont = p.font();
    QFont font = p.font();
    font.setWeight(75);
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(31, 31, 31));
    const QString text = QStringLiteral("%1%").arg(double(m_percent), 0, 'g', 6);
    p.drawText(rect(), Qt::AlignCenter, QFontMetrics(font).elidedText(text, Qt::ElideRight, width()));
    p.setFont(oldFont);
}

void qSliderCtrl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const int W = width();
    const int H = height();
    if (m_vertical) {
        p.fillRect(rect(), QColor(159, 159, 159, 127));
        const int top = int((1.0 - m_percent / 100.0) * H);
        p.fillRect(QRect(0, top, W, int(H * m_percent / 100.0)), QColor(206, 205, 205, 229));
        if (m_showValue && m_percent != 0)
            paintPercentText(p);
        return;
    }
    if (m_circle) {
        paintRounded(p);
        if (m_showValue)
            paintPercentText(p);
        return;
    }
    const int half = m_handleWidth / 2;
    const int y0 = (H - m_trackHeight) / 2;
    if (!m_track.isNull())
        p.drawPixmap(QRect(half, y0, W - m_handleWidth, m_trackHeight), m_track);
    if (!m_fill.isNull() && int(m_position) > 0)
        p.drawPixmap(QRect(half, y0, int(m_position), m_trackHeight), m_fill);
    if (m_showValue)
        p.drawText(QPoint(W / 2, 11), QStringLiteral("%1%").arg(double(m_percent), 0, 'f', 2));
}

void qSliderCtrl::paintRounded(QPainter &p)
{
    const int W = width();
    const int L = m_endLength;
    const int h = m_trackHeight;
    const int half = m_handleWidth / 2;
    const int y0 = (height() - h) / 2;
    const int tw = m_trackWidth;
    if (!m_track.isNull()) {
        QImagaeRatioDraw::drawPixmap(p, QRect(half, y0, L, h), QRect(0, 0, L, h), m_track);
        QImagaeRatioDraw::drawPixmap(p, QRect(W - L - half, y0, L, h), QRect(tw - L, 0, L, h), m_track);
        QImagaeRatioDraw::drawPixmap(p, QRect(L + half, y0, W - 2 * L - 2 * half, h), QRect(L, 0, tw - 2 * L, h),
                                     m_track);
    }
    if (m_fill.isNull())
        return;
    const int fw = m_fill.width() / 2;
    const int fillTop = (height() - m_fill.height() / 2) / 2;
    const float pos = m_position;
    const int ip = int(pos);
    if (ip <= 0)
        return;
    if (pos <= L) {
        QImagaeRatioDraw::drawPixmap(p, QRect(half, y0, ip, h), QRect(0, 0, ip, h), m_fill);
    } else if (pos <= 2 * L) {
        // The right part shows the fill image's own right end so the fill always ends rounded.
        const int rest = int(pos - L);
        QImagaeRatioDraw::drawPixmap(p, QRect(half, fillTop, L, h), QRect(0, 0, L, h), m_fill);
        QImagaeRatioDraw::drawPixmap(p, QRect(half + L, y0, rest, h), QRect(fw - rest, 0, rest, h), m_fill);
    } else {
        QImagaeRatioDraw::drawPixmap(p, QRect(half, y0, L, h), QRect(0, 0, L, h), m_fill);
        QImagaeRatioDraw::drawPixmap(p, QRect(half + L, y0, int(pos - 2 * L), h), QRect(L, 0, fw - 2 * L, h), m_fill);
        QImagaeRatioDraw::drawPixmap(p, QRect(int(half + pos - L), y0, L, h), QRect(fw - L, 0, L, h), m_fill);
    }
}

#include "QDualSlider.h"

#include "QBaseImageDraw.h"
#include "QSliderCtrlBtn.h"
#include "SkinImageLoad.h"

#include <QCursor>
#include <QDebug>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

QDualSlider::QDualSlider(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void QDualSlider::setValueRange(long long minimum, long long maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void QDualSlider::showPlayBtn(bool show)
{
    if (m_play)
        m_play->setVisible(show);
}

void QDualSlider::setBtnHide()
{
    if (m_start)
        m_start->hide();
    m_hoverShow = true;
}

void QDualSlider::setWidth(int w)
{
    resize(w, 40);
}

bool QDualSlider::setBottomImage(const QString &path)
{
    if (!SkinImageLoad::pixmap2x(path, m_bottom))
        return false;
    m_bw = m_bottom.width() / 2;
    m_bh = m_bottom.height() / 2;
    return true;
}

bool QDualSlider::setTopImage(const QString &path)
{
    return SkinImageLoad::pixmap2x(path, m_top);
}

bool QDualSlider::setBtnBgImage(const QString &path)
{
    return SkinImageLoad::pixmap2x(path, m_handleBg);
}

QSliderCtrlBtn *QDualSlider::createHandle()
{
    return new QSliderCtrlBtn(this);
}

QSliderCtrlBtn *QDualSlider::makeHandle(QSliderCtrlBtn *existing, const QString &path, bool &ok)
{
    QSliderCtrlBtn *handle = existing ? existing : createHandle();
    ok = handle->setBtnImage(path);
    if (!ok && !existing) {
        delete handle;
        return nullptr;
    }
    if (!existing) {
        connect(handle, &QSliderCtrlBtn::mouseDown, this, &QDualSlider::btnMousePress);
        connect(handle, &QSliderCtrlBtn::mouseUp, this, &QDualSlider::btnMouseRelease);
    }
    return handle;
}

bool QDualSlider::setStartBtnImage(const QString &path, int y)
{
    if (path.isEmpty()) {
        resize(m_bw, std::max(m_bh, 40));
        m_ps = 0;
        return true;
    }
    bool ok = false;
    const bool fresh = !m_start;
    QSliderCtrlBtn *handle = makeHandle(m_start, path, ok);
    if (!ok)
        return false;
    m_start = handle;
    if (fresh)
        connect(m_start, &QSliderCtrlBtn::mouseMove, this, &QDualSlider::btnMouseMove);
    m_sw = m_start->width();
    resize(m_sw + m_bw + m_ew, std::max(m_bh, 40));
    m_ps = 0;
    m_rowY = y + (height() - m_start->height()) / 2 + 5;
    m_start->move(0, m_rowY);
    m_start->setVisible(!m_hoverShow || m_hovered);
    return true;
}

bool QDualSlider::setEndBtnImage(const QString &path)
{
    if (path.isEmpty()) {
        resize(m_bw, std::max(m_bh, 40));
    } else {
        bool ok = false;
        const bool fresh = !m_end;
        QSliderCtrlBtn *handle = makeHandle(m_end, path, ok);
        if (!ok)
            return false;
        m_end = handle;
        if (fresh)
            connect(m_end, &QSliderCtrlBtn::mouseMove, this, &QDualSlider::btnEndMouseMove);
        m_ew = m_end->width();
        resize(m_ew + m_bw + m_sw, std::max(m_bh, 40));
        m_end->move(width() - m_ew, m_rowY);
        m_end->show();
    }
    m_pe = width() - m_sw - m_ew;
    return true;
}

bool QDualSlider::setProgressBtnImage(const QString &path, int y)
{
    bool ok = false;
    const bool fresh = !m_play;
    QSliderCtrlBtn *handle = makeHandle(m_play, path, ok);
    if (!ok)
        return false;
    m_play = handle;
    if (fresh)
        connect(m_play, &QSliderCtrlBtn::mouseMove, this, &QDualSlider::btnProMouseMove);
    m_pw = m_play->width();
    m_playY = y;
    m_pp = m_sw;
    m_play->move(m_sw - m_pw / 2, y);
    m_play->show();
    return true;
}

void QDualSlider::setHandleTip(QSliderCtrlBtn *handle, const QString &tip)
{
    if (!handle)
        return;
    handle->setToolTip(tip);
    if (m_hovered) {
        QToolTip::showText(QCursor::pos(), QString());
        QToolTip::showText(QCursor::pos(), tip);
    }
}

void QDualSlider::setStartBtnToolTip(const QString &tip)
{
    setHandleTip(m_start, tip);
}

void QDualSlider::setEndBtnToolTip(const QString &tip)
{
    setHandleTip(m_end, tip);
}

float QDualSlider::getValue() const
{
    const int base = m_start ? width() - 2 * m_sw : width();
    return base > 0 ? float(m_ps * 100.0 / base) : 0.0f;
}

void QDualSlider::setValue(float v)
{
    if (std::isnan(v)) // no value at all: the start, never a position computed from NaN
        v = float(m_minimum);
    const int W = width();
    if (v >= m_maximum) {
        m_value = 100;
        m_ps = W - m_sw - m_ew;
    } else if (v <= m_minimum) {
        m_value = 0;
        m_ps = 0;
    } else {
        // minimum < v < maximum here, so the range is not empty.
        m_value = v;
        m_ps = float(double(W - m_sw) * (double(v) - m_minimum) / double(m_maximum - m_minimum));
    }
    if (m_start)
        m_start->move(std::max(0, int(m_ps) - m_sw), m_rowY);
    update();
}

void QDualSlider::setStartValue(float percent)
{
    const int T = span();
    if (percent <= m_minimum)
        m_ps = 0;
    else if (T > 0 && percent >= 100.0 * m_pe / T)
        m_ps = m_pe;
    else
        m_ps = float(T) * percent / 100.0f;
    m_ps = std::max(0.0f, std::min(m_ps, m_pe - 2));
    if (m_start)
        m_start->move(int(m_ps), m_rowY);
    update();
}

void QDualSlider::setEndValue(float percent)
{
    const int T = span();
    if (percent >= m_maximum)
        m_pe = T;
    else if (T > 0 && 100.0 * m_ps / T >= percent)
        m_pe = m_ps;
    else
        m_pe = float(T) * percent / 100.0f;
    if (m_pe < m_ps + 2)
        m_pe = m_ps + 2;
    m_pe = std::min(m_pe, float(T));
    if (m_end)
        m_end->move(int(m_pe + m_sw), m_rowY);
    update();
}

void QDualSlider::resetStartEndValue()
{
    m_ps = 0;
    m_pe = (m_start && m_end) ? span() : width();
}

void QDualSlider::setPlayValue(float percent, bool notify)
{
    const int W = width();
    if (percent >= m_maximum)
        m_pp = W - m_sw - m_ew;
    else if (percent <= m_minimum)
        m_pp = 0;
    else
        m_pp = float(W - m_sw - m_ew) * percent / 100.0f;
    if (m_play)
        m_play->move(int(m_pp + m_sw - m_pw / 2), m_playY);
    if (notify)
        emit sendPlayProValue(toFraction(m_pp));
}

int QDualSlider::globalX(QMouseEvent *e) const
{
    return qRound(e->screenPos().x());
}

void QDualSlider::btnMouseMove(QMouseEvent *e, int x)
{
    setFocus(Qt::OtherFocusReason);
    if (!m_dragging || !m_start)
        return;
    const int W = width();
    const int left = globalX(e) - x - mapToGlobal(QPoint(0, 0)).x();
    const int limit = m_end ? m_end->x() : W;
    const int hw = m_start->width();
    if (left >= m_sw / 2 && left + hw <= limit) {
        m_start->move(left, m_rowY);
        m_ps = left;
    } else if (left > m_sw / 2) {
        m_start->move(limit - hw, m_rowY);
        m_ps = limit - m_sw;
    } else {
        m_start->move(0, m_rowY);
        m_ps = 0;
    }
    // A dragged end handle holds its position one pixel left of its edge: the start never passes it, or
    // a range dragged shut would read as starting after its end.
    if (m_end && m_ps > m_pe)
        m_ps = std::max(0.0f, m_pe);
    const int T = span();
    setPlayValue(T > 0 ? float(100.0 * m_ps / T) : 0.0f, false);
    emit sendProgressValue(toFraction(m_ps));
    emit sendPlayProValue(toFraction(m_pp));
    repaint();
}

void QDualSlider::btnEndMouseMove(QMouseEvent *e, int x)
{
    setFocus(Qt::OtherFocusReason);
    if (!m_dragging || !m_end)
        return;
    const int W = width();
    const int left = globalX(e) - x - mapToGlobal(QPoint(0, 0)).x();
    const int r = m_start ? m_start->x() + m_start->width() : 0;
    if (left <= r) {
        m_end->move(r, m_rowY);
        m_pe = r - m_sw;
    } else if (left + m_sw >= W) {
        m_end->move(W - m_sw, m_rowY);
        m_pe = W - 2 * m_sw;
    } else {
        m_end->move(left, m_rowY);
        m_pe = left - 1 - m_sw;
    }
    const int T = span();
    setPlayValue(T > 0 ? float(100.0 * m_pe / T) : 0.0f, false);
    emit sendEndProgressValue(toFraction(m_pe));
    emit sendPlayProValue(toFraction(m_pp));
    repaint();
}

void QDualSlider::btnProMouseMove(QMouseEvent *e, int x)
{
    setFocus(Qt::OtherFocusReason);
    if (!m_dragging || !m_play)
        return;
    const int W = width();
    const int half = m_pw / 2;
    const int left = globalX(e) - x - mapToGlobal(QPoint(0, 0)).x();
    if (left <= m_sw - half) {
        m_play->move(m_sw - half, m_playY);
        m_pp = 0;
    } else if (left + m_sw >= W - 1 - half) {
        m_play->move(W - 1 - half - m_ew, m_playY);
        m_pp = W - m_sw - m_ew;
    } else {
        m_play->move(left, m_playY);
        m_pp = left - half;
    }
    emit sendPlayProValue(toFraction(m_pp));
}

void QDualSlider::btnMousePress(QMouseEvent *, int)
{
    if (m_start)
        m_focusInStart = sender() == m_start;
    emit emitMousePress();
}

void QDualSlider::btnMouseRelease(QMouseEvent *, int)
{
    emit emitmouseRelease();
}

void QDualSlider::movePlayFromSlider(int c, bool isPress)
{
    const int W = width();
    const int half = m_pw / 2;
    const int m = W - 1 - half;
    if (c >= m_sw && c + m_sw < m) {
        m_play->move(c - half, m_playY);
        m_pp = c - m_sw;
    } else if (isPress ? c <= m_sw - half : c <= m_sw) {
        // A drag snaps everything left of the track's start to 0; a press only the first half handle.
        m_play->move(m_sw - half, m_playY);
        m_pp = 0;
    } else if (c + m_sw >= m) {
        m_play->move(m - m_ew, m_playY);
        m_pp = W - m_sw - m_ew;
    }
    // Reported even when the press fell in the gap before the track and nothing moved: the listener
    // seeks to where the handle stands.
    emit sendPlayProValue(toFraction(m_pp));
}

void QDualSlider::mousePressEvent(QMouseEvent *e)
{
    if (m_logPress)
        qDebug() << "..............QDualSlider::mousePressEvent................";
    emit emitMousePress();
    if (m_dragging && m_play)
        movePlayFromSlider(globalX(e) - mapToGlobal(QPoint(0, 0)).x(), true);
}

void QDualSlider::mouseMoveEvent(QMouseEvent *e)
{
    if (m_dragging && m_play)
        movePlayFromSlider(globalX(e) - mapToGlobal(QPoint(0, 0)).x(), false);
}

void QDualSlider::mouseReleaseEvent(QMouseEvent *)
{
    if (m_start)
        m_start->setStateNormal();
    emit emitmouseRelease();
}

void QDualSlider::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Right)
        emit emitNextFrame();
    else if (e->key() == Qt::Key_Left)
        emit emitPreviousFrame();
}

void QDualSlider::enterEvent(QEvent *e)
{
    m_hovered = true;
    if (m_dragging) {
        setCursor(Qt::PointingHandCursor);
        if (m_hoverShow && m_start)
            m_start->show();
    }
    QWidget::enterEvent(e);
}

void QDualSlider::leaveEvent(QEvent *e)
{
    m_hovered = false;
    if (m_hoverShow && m_start)
        m_start->hide();
    QWidget::leaveEvent(e);
}

void QDualSlider::paintEvent(QPaintEvent *)
{
    if (m_bottom.isNull() || m_top.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (m_capped) {
        paintCapped(p);
        return;
    }
    const int W = width();
    const int yb = (height() - m_bh) / 2;
    p.drawPixmap(QRect(m_sw, yb, W - m_sw - m_ew, m_bh), m_bottom);
    if (int(m_ps) > 0)
        p.drawPixmap(QRect(m_sw, yb, int(m_ps), m_bh), m_top);
    if (m_showValue)
        p.drawText(QPoint(W / 2, 11), QStringLiteral("%1%").arg(int(m_value)));
}

void QDualSlider::paintCapped(QPainter &p)
{
    const int W = width();
    const int H = height();
    const int L = m_capLength;
    const int yb = (H - m_bh) / 2;
    if (!m_handleBg.isNull()) {
        const int gw = m_handleBg.width() / 2;
        const int gh = m_handleBg.height() / 2;
        const int y = (H - gh) / 2;
        QBaseImageDraw::drawPixmap(p, QRect(0, y, m_sw, gh), QRect(0, 0, m_sw, gh), m_handleBg);
        QBaseImageDraw::drawPixmap(p, QRect(W - m_ew, y, m_ew, gh), QRect(gw - m_ew, 0, m_ew, gh), m_handleBg);
    }
    QBaseImageDraw::drawPixmap(p, QRect(m_sw, yb, L, m_bh), QRect(0, 0, L, m_bh), m_bottom);
    QBaseImageDraw::drawPixmap(p, QRect(W - m_sw - L, yb, L, m_bh), QRect(m_bw - L, 0, L, m_bh), m_bottom);
    QBaseImageDraw::drawPixmap(p, QRect(m_sw + L, yb, W - m_sw - m_ew - 2 * L, m_bh), QRect(L, 0, m_bw - 2 * L, m_bh),
                               m_bottom);
    if (m_start && m_end) {
        const int from = m_start->x() + m_start->width() - 1;
        const int to = m_end->x() - 1;
        if (to >= from)
            QBaseImageDraw::drawPixmap(p, QRect(from, yb, to - from + 1, m_bh), QRect(10, 0, 1, m_bh), m_top);
        return;
    }
    const float s = m_pe - m_ps;
    const int tw = m_top.width() / 2;
    if (s <= 0)
        return;
    if (s <= L) {
        const int leftCols = int((s + 0.5f) * 0.5f);
        const int n = int((s - 0.5f) * 0.5f);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_ps), yb, leftCols, m_bh), QRect(0, 0, leftCols, m_bh), m_top);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_pe - n), yb, n, m_bh), QRect(tw - n, 0, n, m_bh), m_top);
    } else if (s <= 2 * L) {
        const int leftCols = int(s * 0.5f + 0.5f);
        const int n = int(s * 0.5f - 0.5f);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_ps), yb, leftCols, m_bh), QRect(0, 0, leftCols, m_bh), m_top);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_ps + n), yb, n, m_bh), QRect(tw - n, 0, n, m_bh), m_top);
    } else {
        QBaseImageDraw::drawPixmap(p, QRect(int(m_ps), yb, L, m_bh), QRect(0, 0, L, m_bh), m_top);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_pe - L), yb, L, m_bh), QRect(tw - L, 0, L, m_bh), m_top);
        QBaseImageDraw::drawPixmap(p, QRect(int(m_ps + L), yb, int(s - 2 * L + 1), m_bh), QRect(L, 0, tw - 2 * L, m_bh),
                                   m_top);
    }
}

#include "EdgeResizeTracker.h"

#include "FramelessScreen.h"

#include <QWidget>

Qt::CursorShape EdgeResizeTracker::hover(const QRect &g, const QPoint &p, bool horizontal)
{
    const int L = g.left(), T = g.top(), R = g.right(), B = g.bottom();
    const int gx = p.x(), gy = p.y();
    const int s = m_zones.side, b = m_zones.band;
    const bool leftZone = L <= gx && gx <= L + s;
    const bool rightZone = R - s <= gx && gx <= R;
    const bool sideRows = T + m_zones.sideTop < gy && gy < B - m_zones.sideBottom;
    const bool leftCorner = L <= gx && gx <= L + b;
    const bool rightCorner = R - b <= gx && gx <= R;
    const bool topBand = T <= gy && gy <= T + b;
    const bool bottomBand = B - b <= gy && gy <= B;
    const bool middleColumns = L + b < gx && gx < R - b;

    // Offsets are the pointer's distance inside the grabbed edge, so the edge lands at pointer - offset
    // (left, top) or pointer + offset (right, bottom).
    if (horizontal && leftZone && sideRows) {
        m_state = Left;
        m_ox = gx - L;
        return Qt::SizeHorCursor;
    }
    if (horizontal && leftCorner && topBand) {
        m_state = TopLeft;
        m_ox = gx - L;
        m_oy = gy - T;
        return Qt::SizeFDiagCursor;
    }
    if (topBand && middleColumns) {
        m_state = Top;
        m_oy = gy - T;
        return Qt::SizeVerCursor;
    }
    if (horizontal && rightCorner && topBand) {
        m_state = TopRight;
        m_ox = R - gx;
        m_oy = gy - T;
        return Qt::SizeBDiagCursor;
    }
    if (horizontal && rightZone && sideRows) {
        m_state = Right;
        m_ox = R - gx;
        return Qt::SizeHorCursor;
    }
    if (horizontal && rightCorner && bottomBand) {
        m_state = BottomRight;
        m_ox = R - gx;
        m_oy = B - gy;
        return Qt::SizeFDiagCursor;
    }
    if (bottomBand && middleColumns) {
        m_state = Bottom;
        m_oy = B - gy;
        return Qt::SizeVerCursor;
    }
    if (horizontal && leftCorner && bottomBand) {
        m_state = BottomLeft;
        m_ox = gx - L;
        m_oy = B - gy;
        return Qt::SizeBDiagCursor;
    }
    m_state = None;
    return Qt::ArrowCursor;
}

bool EdgeResizeTracker::drag(const QRect &g, const QPoint &p, const QSize &minimum, const QSize &bounds, QRect &result)
{
    ++m_moveCounter;
    if (m_moveCounter % 2 != 0)
        return false;
    const int L = g.left(), T = g.top(), R = g.right(), B = g.bottom();
    const int gx = p.x(), gy = p.y();
    const int dw = bounds.width(), ah = bounds.height();
    QRect r = g;
    const bool leftSide = m_state == Left || m_state == TopLeft || m_state == BottomLeft;
    const bool rightSide = m_state == TopRight || m_state == Right || m_state == BottomRight;
    const bool topSide = m_state == TopLeft || m_state == Top || m_state == TopRight;
    const bool bottomSide = m_state == BottomRight || m_state == Bottom || m_state == BottomLeft;
    if (leftSide && R - gx + m_ox > minimum.width()) {
        const int newLeft = gx - m_ox;
        if (R - newLeft < dw - 4)
            r.setLeft(newLeft);
    }
    if (rightSide && m_ox + gx - L > minimum.width()) {
        const int newRight = gx + m_ox;
        if (newRight - L < dw - 4)
            r.setRight(newRight);
    }
    if (topSide && B - gy + m_oy > minimum.height()) {
        const int newTop = gy - m_oy;
        if (B - newTop < ah)
            r.setTop(newTop);
    }
    if (bottomSide && m_oy + gy - T > minimum.height()) {
        const int newBottom = gy + m_oy;
        if (newBottom - T < ah)
            r.setBottom(newBottom);
    }
    result = r;
    return true;
}

bool EdgeResizeTracker::pointerMoved(QWidget *window, const QPoint &global, bool hoverAllowed, bool horizontal)
{
    if (hoverAllowed) {
        window->setCursor(hover(window->geometry(), global, horizontal));
        return false;
    }
    if (m_state == None)
        return false;
    QRect next;
    if (drag(window->geometry(), global, window->minimumSize(), FramelessScreen::availableGeometry(window).size(),
             next)) {
        window->setGeometry(next);
        window->update();
    }
    return true;
}

#include "EdgeResizeTracker.h"

#include "FramelessScreen.h"

#include <QWidget>

namespace {

// Which edge of the window a grab measures its offset from on one axis.
enum Edge { NoEdge, NearEdge, FarEdge };

// One grab zone: the columns and rows it covers, its cursor, and the edges the pointer's offset is taken
// from (left/top near, right/bottom far). Checked in this order; the first that holds wins.
struct Grab
{
    int state;
    bool needsHorizontal;
    enum Columns { LeftSide, RightSide, LeftCorner, RightCorner, Middle } columns;
    enum Rows { SideRows, TopBand, BottomBand } rows;
    Qt::CursorShape cursor;
    Edge x;
    Edge y;
};

const Grab kGrabs[] = {
    {EdgeResizeTracker::Left, true, Grab::LeftSide, Grab::SideRows, Qt::SizeHorCursor, NearEdge, NoEdge},
    {EdgeResizeTracker::TopLeft, true, Grab::LeftCorner, Grab::TopBand, Qt::SizeFDiagCursor, NearEdge, NearEdge},
    {EdgeResizeTracker::Top, false, Grab::Middle, Grab::TopBand, Qt::SizeVerCursor, NoEdge, NearEdge},
    {EdgeResizeTracker::TopRight, true, Grab::RightCorner, Grab::TopBand, Qt::SizeBDiagCursor, FarEdge, NearEdge},
    {EdgeResizeTracker::Right, true, Grab::RightSide, Grab::SideRows, Qt::SizeHorCursor, FarEdge, NoEdge},
    {EdgeResizeTracker::BottomRight, true, Grab::RightCorner, Grab::BottomBand, Qt::SizeFDiagCursor, FarEdge, FarEdge},
    {EdgeResizeTracker::Bottom, false, Grab::Middle, Grab::BottomBand, Qt::SizeVerCursor, NoEdge, FarEdge},
    {EdgeResizeTracker::BottomLeft, true, Grab::LeftCorner, Grab::BottomBand, Qt::SizeBDiagCursor, NearEdge, FarEdge},
};

} // namespace

Qt::CursorShape EdgeResizeTracker::hover(const QRect &g, const QPoint &p, bool horizontal)
{
    const int L = g.left(), T = g.top(), R = g.right(), B = g.bottom();
    const int gx = p.x(), gy = p.y();
    const int s = m_zones.side, b = m_zones.band;
    const bool columns[] = {
        L <= gx && gx <= L + s,   // LeftSide
        R - s <= gx && gx <= R,   // RightSide
        L <= gx && gx <= L + b,   // LeftCorner
        R - b <= gx && gx <= R,   // RightCorner
        L + b < gx && gx < R - b, // Middle
    };
    const bool rows[] = {
        T + m_zones.sideTop < gy && gy < B - m_zones.sideBottom, // SideRows
        T <= gy && gy <= T + b,                                  // TopBand
        B - b <= gy && gy <= B,                                  // BottomBand
    };

    // Offsets are the pointer's distance inside the grabbed edge, so the edge lands at pointer - offset
    // (left, top) or pointer + offset (right, bottom). An axis the grab does not move keeps its offset.
    for (const Grab &grab : kGrabs) {
        if ((grab.needsHorizontal && !horizontal) || !columns[grab.columns] || !rows[grab.rows])
            continue;
        m_state = grab.state;
        if (grab.x != NoEdge)
            m_ox = grab.x == NearEdge ? gx - L : R - gx;
        if (grab.y != NoEdge)
            m_oy = grab.y == NearEdge ? gy - T : B - gy;
        return grab.cursor;
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

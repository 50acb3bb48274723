#pragma once
// Edge and corner resizing of a frameless window: which edge the pointer grabs (and its cursor), and
// the geometry a drag of that edge gives within the minimum size and the screen's available area.

#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

class EdgeResizeTracker
{
public:
    // side: width of the left/right edge zones; band: height of the top/bottom zones and size of the
    // corners; sideTop/sideBottom: how far the left/right zones stay away from the corners.
    struct Zones
    {
        int side;
        int band;
        int sideTop;
        int sideBottom;
    };
    enum State { None = 0, Left, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft };

    explicit EdgeResizeTracker(Zones zones) : m_zones(zones) {}

    // Recomputes the state from a global pointer position over the window geometry; returns the cursor
    // to show. The grab offset is kept so that the grabbed edge follows the pointer without a jump.
    Qt::CursorShape hover(const QRect &geometry, const QPoint &global, bool horizontal);
    // Every second call acts (the others return false); on acting, fills result with the new geometry.
    bool drag(const QRect &geometry, const QPoint &global, const QSize &minimum, const QSize &bounds, QRect &result);
    // One pointer move over a window: when hovering is allowed the hover picks the edge and sets the
    // window's cursor; otherwise, with an edge grabbed, the window follows the drag within its minimum
    // size and the available screen area. True when the move was an edge drag, which must not also move
    // the window.
    bool pointerMoved(QWidget *window, const QPoint &global, bool hoverAllowed, bool horizontal);
    void reset() { m_state = None; }
    int state() const { return m_state; }
    QPoint offset() const { return QPoint(m_ox, m_oy); }

private:
    Zones m_zones;
    int m_state = None;
    int m_ox = 0;
    int m_oy = 0;
    unsigned long long m_moveCounter = 1;
};

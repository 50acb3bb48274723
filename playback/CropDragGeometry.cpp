#include "CropDragGeometry.h"

#include <algorithm>
#include <cmath>

namespace CropDragGeometry {

namespace {

// An item's box with a side under this is framed: its handles would meet on that side.
constexpr int kSmallItemPixels = 3 * kHandleSize;
// The frame lies this far outside the box: a handle and two clear pixels.
constexpr int kFrameMargin = kHandleSize + 2;
static_assert(kSmallItemPixels >= 2 * kGrabDistance, "a box left unframed has a move zone");
static_assert(kFrameMargin >= kGrabDistance, "a framed box lies wholly in its frame's move zone");

double unit(double v)
{
    return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

bool near(int a, int b)
{
    return std::abs(a - b) < kGrabDistance;
}

// One axis of a drag: `start`/`size` the box's start position and extent, `moved` the start position
// shifted by the pointer, `extent` the picture's size in pixels, `minPixels` the smallest box on screen.
void dragLow(double start, double size, double moved, double extent, double minPixels, double &pos, double &len)
{
    const double far = start + size;
    pos = moved < 0.0 ? 0.0 : std::min(moved, far - kEdgeMargin);
    len = far - pos;
    if (extent * len <= minPixels) {
        len = minPixels / extent;
        pos = far - len;
    }
}

void dragHigh(double start, double size, double moved, double extent, double minPixels, double &pos, double &len)
{
    moved = moved + size <= 1.0 ? std::max(moved, start - size + kEdgeMargin) : 1.0 - size;
    pos = start;
    len = moved + size - start;
    if (extent * len <= minPixels)
        len = minPixels / extent;
}

double moveWhole(double moved, double size)
{
    if (moved < 0.0)
        return 0.0;
    if (moved + size > 1.0)
        return 1.0 - size;
    return moved;
}

} // namespace

bool holdsLeft(unsigned zone)
{
    return zone == TopLeft || zone == BottomLeft || zone == Left;
}
bool holdsRight(unsigned zone)
{
    return zone == TopRight || zone == BottomRight || zone == Right;
}
bool holdsTop(unsigned zone)
{
    return zone == TopLeft || zone == TopRight || zone == Top;
}
bool holdsBottom(unsigned zone)
{
    return zone == BottomLeft || zone == BottomRight || zone == Bottom;
}

Qt::CursorShape cursorForZone(unsigned zone)
{
    switch (zone) {
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    case BottomLeft:
    case TopRight:
        return Qt::SizeBDiagCursor;
    case Left:
    case Right:
        return Qt::SizeHorCursor;
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    case Inside:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QRectF clampFraction(const QRectF &box)
{
    const double x = unit(box.x());
    const double y = unit(box.y());
    const double width = std::min(unit(box.width()), 1.0 - x);
    const double height = std::min(unit(box.height()), 1.0 - y);
    return QRectF(x, y, width, height);
}

bool isGrabbable(const QRectF &box)
{
    return box.width() > kMinGrabFraction && box.height() > kMinGrabFraction;
}

QRect pixelBox(const QRectF &box, const QRect &element)
{
    const double ew = element.width();
    const double eh = element.height();
    const int left = int(box.x() * ew + element.left());
    const int top = int(box.y() * eh + element.top());
    const int bottom = int(box.height() * eh + top);
    const int right = int(ew * box.width() + left);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

unsigned hitZone(const QRect &box, const QPoint &p)
{
    const int left = box.left();
    const int right = box.right();
    const int top = box.top();
    const int bottom = box.bottom();
    const bool nearTop = near(p.y(), top);
    const bool nearBottom = near(p.y(), bottom);
    const bool between = p.y() > top && p.y() < bottom;
    if (near(p.x(), left))
        return nearTop ? TopLeft : nearBottom ? BottomLeft : between ? Left : NoZone;
    if (near(p.x(), right))
        return nearTop ? TopRight : nearBottom ? BottomRight : between ? Right : NoZone;
    if (p.x() > left && p.x() < right)
        return nearTop ? Top : nearBottom ? Bottom : between ? Inside : NoZone;
    return NoZone;
}

bool needsFrame(const QRectF &box, const QRect &element)
{
    if (!isGrabbable(box))
        return false;
    const QRect own = pixelBox(box, element);
    return own.right() - own.left() < kSmallItemPixels || own.bottom() - own.top() < kSmallItemPixels;
}

QRect itemFrame(const QRectF &box, const QRect &element, bool framed)
{
    if (!framed || !isGrabbable(box))
        return QRect();
    return pixelBox(box, element).adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin);
}

unsigned itemZone(const QRectF &box, const QRect &element, const QPoint &point, bool framed)
{
    if (!isGrabbable(box))
        return NoZone;
    const QRect frame = itemFrame(box, element, framed);
    return hitZone(frame.isNull() ? pixelBox(box, element) : frame, point);
}

QRectF dragBox(unsigned zone, const QRectF &start, const QPoint &press, const QPoint &point, const QRect &element,
               const QSizeF &minPixels)
{
    const QRectF from = clampFraction(start);
    const double ew = element.width();
    const double eh = element.height();
    if (ew < 1.0 || eh < 1.0 || zone == NoZone || zone > Inside)
        return from;
    const double sx = from.x();
    const double sy = from.y();
    const double sw = from.width();
    const double sh = from.height();
    const double nx = (point.x() - press.x()) / ew + sx;
    const double ny = (point.y() - press.y()) / eh + sy;
    const double minW = std::max(0.0, minPixels.width());
    const double minH = std::max(0.0, minPixels.height());

    double x = sx, y = sy, w = sw, h = sh;
    if (zone == Inside) {
        x = moveWhole(nx, sw);
        y = moveWhole(ny, sh);
    } else {
        if (holdsLeft(zone))
            dragLow(sx, sw, nx, ew, minW, x, w);
        if (holdsRight(zone))
            dragHigh(sx, sw, nx, ew, minW, x, w);
        if (holdsTop(zone))
            dragLow(sy, sh, ny, eh, minH, y, h);
        if (holdsBottom(zone))
            dragHigh(sy, sh, ny, eh, minH, y, h);
    }
    return clampFraction(QRectF(x, y, w, h));
}

} // namespace CropDragGeometry

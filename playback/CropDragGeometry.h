#pragma once
// Geometry of a crop box dragged with the mouse over a picture. The box is kept in fractions of the frame
// (x, y, width, height in [0, 1]); the picture lies at `element` in widget pixels. Grabbing an edge or a
// corner resizes the box, grabbing inside moves it. Every step stays inside the frame, keeps the box at
// least kEdgeMargin of the frame and a minimum number of screen pixels wide and high, and never divides by
// an empty picture.

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <Qt>

namespace CropDragGeometry {

enum Zone : unsigned {
    NoZone = 0,
    TopLeft = 1,
    BottomLeft = 2,
    Left = 3,
    TopRight = 4,
    BottomRight = 5,
    Right = 6,
    Top = 7,
    Bottom = 8,
    Inside = 9
};

constexpr int kGrabDistance = 5;            // "near" an edge: closer than this many pixels
constexpr double kEdgeMargin = 0.02;        // smallest box, as a fraction of the frame
constexpr double kMinGrabFraction = 0.0001; // thinner boxes cannot be grabbed
constexpr double kMinBoxPixels = 20.0;
constexpr int kHandleSize = 6; // the square handles drawn at a box's corners and edge middles (logical pixels)

Qt::CursorShape cursorForZone(unsigned zone);
// Which sides of the box a zone moves.
bool holdsLeft(unsigned zone);
bool holdsRight(unsigned zone);
bool holdsTop(unsigned zone);
bool holdsBottom(unsigned zone);

// Every value finite and in [0, 1], the box inside the frame (non-finite values become 0).
QRectF clampFraction(const QRectF &box);
bool isGrabbable(const QRectF &box);

// The box in widget pixels over the picture at `element` (truncated toward zero).
QRect pixelBox(const QRectF &box, const QRect &element);
// Which part of `box` (widget pixels) lies at `point`; NoZone when none.
unsigned hitZone(const QRect &box, const QPoint &point);

// An item over the picture (a watermark's text or picture) measuring `box` on the picture at `element` is
// drawn and grabbed on its own pixel box, as the crop box is, unless a side is shorter than three handles: the
// handles would cover what it frames, and below 2 x kGrabDistance no point of it would move it. Such a box is
// drawn and grabbed in a frame a handle and a gap outside it, so that its handles and lines lie around it and
// all of it lies in the frame's move zone. Whether its size alone gives an item that frame:
bool needsFrame(const QRectF &box, const QRect &element);
// The frame of an item `framed` (its size decides, see needsFrame, but a drag keeps the framing it began with, so
// that a box taken across the size does not jump by the frame's margin under the pointer), or a null rectangle
// for an item drawn and grabbed on its own box (or too thin to be grabbed).
QRect itemFrame(const QRectF &box, const QRect &element, bool framed);
// Which part of such an item lies at `point`: the frame's zone where it has a frame, else the box's own; none
// for a box too thin to be grabbed.
unsigned itemZone(const QRectF &box, const QRect &element, const QPoint &point, bool framed);

// The box after dragging `zone` of `start` from `press` to `point` (widget pixels). With an empty
// picture the start box is returned unchanged (clamped).
QRectF dragBox(unsigned zone, const QRectF &start, const QPoint &press, const QPoint &point, const QRect &element,
               const QSizeF &minPixels = QSizeF(kMinBoxPixels, kMinBoxPixels));

} // namespace CropDragGeometry

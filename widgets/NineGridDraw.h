#pragma once
// Nine-grid drawing of a 2x frame image (corners unscaled, bands and centre stretched), shared by the
// image-strip widgets. The grid always starts at the painter's origin.

#include <QImage>
#include <QPainter>

namespace NineGridDraw {

// Corners are one third of min(area, frame) on each axis. The centre is drawn when both bands are.
void drawThirds(QPainter &p, int w, int h, const QImage &frame);

} // namespace NineGridDraw

#include "QBaseDrawWidget.h"

#include <QColor>
#include <QFont>

namespace NineGridDraw {

// Nine-grid of a whole background with explicit corner sizes (logical pixels): the top band takes the
// top-right corner's height, the bottom band the bottom-right corner's, left band and centre start below
// the top-left corner.
void drawCorners(QPainter &p, int W, int H, const QImage &image, const rectSize &tl, const rectSize &tr,
                 const rectSize &bl, const rectSize &br);

// The four corner sizes of a skinned frame's background.
struct Corners
{
    rectSize tl, tr, bl, br;

    void set(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight)
    {
        tl = topLeft;
        tr = topRight;
        bl = bottomLeft;
        br = bottomRight;
    }
    // Every corner a third of a 2x image's logical size.
    void thirdsOf(const QImage &image2x) { tl = tr = bl = br = rectSize(image2x.width() / 6, image2x.height() / 6); }
};

inline void drawCorners(QPainter &p, int W, int H, const QImage &image, const Corners &c)
{
    drawCorners(p, W, H, image, c.tl, c.tr, c.bl, c.br);
}

// Logo and one-line title of the image-skinned frames. A zero width or height of either rectangle is
// replaced by its default (and stored back): the logo's logical size, the window's width and 20 high.
void drawLogo(QPainter &p, QRect &logoRect, const QImage &logo);
void drawTitle(QPainter &p, QRect &titleRect, int windowWidth, const QString &title, const QFont &font,
               const QColor &color);

// One line of text in the font and colour, elided on the right to the rectangle's width: centred when
// the rectangle starts at the left edge, left-aligned after an indent. The painter's font is restored.
void drawElidedLine(QPainter &p, const QRect &rect, const QString &text, const QFont &font, const QColor &color);

} // namespace NineGridDraw

namespace NineGridDraw {
// Frame k of a four-frame strip at the origin: the strip from k quarters in to its right edge, clipped by
// the control's own size to one frame (the whole strip for frame 0 or a strip 3 pixels wide or less).
void drawStripFrame(QPainter &p, const QImage &strip, int k);
} // namespace NineGridDraw

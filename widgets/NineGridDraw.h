#pragma once
// Nine-grid drawing of a 2x frame image (corners unscaled, bands and centre stretched), shared by the
// image-strip widgets. The grid always starts at the painter's origin.

#include <QImage>
#include <QPainter>

namespace NineGridDraw {

// Corners are one third of min(area, frame) on each axis. The centre is drawn when both bands are.
void drawThirds(QPainter &p, int w, int h, const QImage &frame);

} // namespace NineGridDraw

#include "NineGridDraw.h"

#include "QImagaeRatioDraw.h"

#include <algorithm>

namespace NineGridDraw {

void drawThirds(QPainter &p, int w, int h, const QImage &frame)
{
    const int fw = frame.width() / 2;
    const int fh = frame.height() / 2;
    const int c = std::min(w, fw) / 3;
    const int d = std::min(h, fh) / 3;
    QImagaeRatioDraw::drawImage(p, QRect(0, 0, c, d), QRect(0, 0, c, d), frame);
    QImagaeRatioDraw::drawImage(p, QRect(w - c, 0, c, d), QRect(fw - c, 0, c, d), frame);
    QImagaeRatioDraw::drawImage(p, QRect(0, h - d, c, d), QRect(0, fh - d, c, d), frame);
    QImagaeRatioDraw::drawImage(p, QRect(w - c, h - d, c, d), QRect(fw - c, fh - d, c, d), frame);
    if (w - 2 * c > 0) {
        QImagaeRatioDraw::drawImage(p, QRect(c, 0, w - 2 * c, d), QRect(c, 0, fw - 2 * c, d), frame);
        QImagaeRatioDraw::drawImage(p, QRect(c, h - d, w - 2 * c, d), QRect(c, fh - d, fw - 2 * c, d), frame);
    }
    if (h - 2 * d > 0) {
        QImagaeRatioDraw::drawImage(p, QRect(0, d, c, h - 2 * d), QRect(0, d, c, fh - 2 * d), frame);
        QImagaeRatioDraw::drawImage(p, QRect(w - c, d, c, h - 2 * d), QRect(fw - c, d, c, fh - 2 * d), frame);
    }
    if (w - 2 * c > 0 && h - 2 * d > 0)
        QImagaeRatioDraw::drawImage(p, QRect(c, d, w - 2 * c, h - 2 * d), QRect(c, d, fw - 2 * c, fh - 2 * d), frame);
}

} // namespace NineGridDraw

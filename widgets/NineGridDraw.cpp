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

namespace NineGridDraw {

void drawCorners(QPainter &p, int W, int H, const QImage &image, const rectSize &tl, const rectSize &tr,
                 const rectSize &bl, const rectSize &br)
{
    const int Iw = image.width() / 2;
    const int Ih = image.height() / 2;
    QImagaeRatioDraw::drawImage(p, QRect(0, 0, tl.width, tl.height), QRect(0, 0, tl.width, tl.height), image);
    QImagaeRatioDraw::drawImage(p, QRect(W - tr.width, 0, tr.width, tr.height),
                                QRect(Iw - tr.width, 0, tr.width, tr.height), image);
    if (W - tl.width - tr.width > 0)
        QImagaeRatioDraw::drawImage(p, QRect(tl.width, 0, W - tl.width - tr.width, tr.height),
                                    QRect(tl.width, 0, Iw - tl.width - tr.width, tr.height), image);
    QImagaeRatioDraw::drawImage(p, QRect(0, H - bl.height, bl.width, bl.height),
                                QRect(0, Ih - bl.height, bl.width, bl.height), image);
    QImagaeRatioDraw::drawImage(p, QRect(W - br.width, H - br.height, br.width, br.height),
                                QRect(Iw - br.width, Ih - br.height, br.width, br.height), image);
    if (W - bl.width - br.width > 0)
        QImagaeRatioDraw::drawImage(p, QRect(bl.width, H - br.height, W - bl.width - br.width, br.height),
                                    QRect(bl.width, Ih - br.height, Iw - bl.width - br.width, br.height), image);
    if (H - tl.height - bl.height > 0)
        QImagaeRatioDraw::drawImage(p, QRect(0, tl.height, tl.width, H - tl.height - bl.height),
                                    QRect(0, tl.height, tl.width, Ih - tl.height - bl.height), image);
    if (H - tr.height - br.height > 0)
        QImagaeRatioDraw::drawImage(p, QRect(W - tr.width, tr.height, tr.width, H - tr.height - br.height),
                                    QRect(Iw - tr.width, tr.height, tr.width, Ih - tr.height - br.height), image);
    if (W - tl.width - tr.width > 0 && H - tl.height - bl.height > 0 && Ih - tl.height - bl.height > 0)
        QImagaeRatioDraw::drawImage(p, QRect(tl.width, tl.height, W - tl.width - tr.width, H - tl.height - bl.height),
                                    QRect(tl.width, tl.height, Iw - tl.width - tr.width, Ih - tl.height - bl.height),
                                    image);
}

void drawLogo(QPainter &p, QRect &logoRect, const QImage &logo)
{
    if (logo.isNull())
        return;
    if (logoRect.width() == 0)
        logoRect.setWidth(logo.width() / 2);
    if (logoRect.height() == 0)
        logoRect.setHeight(logo.height() / 2);
    p.drawImage(QRectF(logoRect), logo, QRectF(0, 0, logo.width(), logo.height()));
}

void drawTitle(QPainter &p, QRect &titleRect, int windowWidth, const QString &title, const QFont &font,
               const QColor &color)
{
    if (title.isEmpty())
        return;
    if (titleRect.width() == 0)
        titleRect.setWidth(windowWidth);
    if (titleRect.height() == 0)
        titleRect.setHeight(20);
    drawElidedLine(p, titleRect, title, font, color);
}

void drawElidedLine(QPainter &p, const QRect &rect, const QString &text, const QFont &font, const QColor &color)
{
    const QFont oldFont = p.font();
    p.setFont(font);
    p.setPen(color);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width());
    const Qt::Alignment align =
        rect.left() == 0 ? (Qt::AlignHCenter | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter);
    p.drawText(rect, align, shown);
    p.setFont(oldFont);
}

} // namespace NineGridDraw

namespace NineGridDraw {

void drawStripFrame(QPainter &p, const QImage &strip, int k)
{
    if (k <= 0 || strip.width() <= 3) {
        p.drawImage(QPointF(0, 0), strip);
        return;
    }
    const int sx = k * (strip.width() / 4);
    p.drawImage(QPointF(0, 0), strip, QRectF(sx, 0, strip.width() - sx, strip.height()));
}

} // namespace NineGridDraw

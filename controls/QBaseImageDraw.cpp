#include "QBaseImageDraw.h"

#include <QtGlobal>

namespace {
QRect toImagePixels(const QRect &logical)
{
    return QRect(logical.x() * 2, logical.y() * 2, logical.width() * 2, logical.height() * 2);
}
} // namespace

void QBaseImageDraw::drawImage(QPainter &painter, QRect target, QRect source, const QImage &image)
{
    if (image.isNull() || target.isEmpty() || source.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image, toImagePixels(source));
}

void QBaseImageDraw::drawPixmap(QPainter &painter, QRect target, QRect source, const QPixmap &pixmap)
{
    if (pixmap.isNull() || target.isEmpty() || source.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(target, pixmap, toImagePixels(source));
}

void QBaseImageDraw::drawBtnImageBg(QPainter &painter, QRect rect, const QImage &image, bool nineGrid)
{
    if (image.isNull() || rect.isEmpty())
        return;
    const int iw = image.width() / 2;
    const int ih = image.height() / 2;
    if (!nineGrid) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(rect, image, QRect(0, 0, 2 * iw, 2 * ih));
        return;
    }
    const int rx = rect.x(), ry = rect.y(), rw = rect.width(), rh = rect.height();
    const int cw = qMin(iw, rw) / 3;
    const int ch = qMin(ih, rh) / 3;
    drawImage(painter, QRect(rx, ry, cw, ch), QRect(0, 0, cw, ch), image);
    drawImage(painter, QRect(rx + rw - cw, ry, cw, ch), QRect(iw - cw, 0, cw, ch), image);
    if (rw - 2 * cw > 0)
        drawImage(painter, QRect(rx + cw, ry, rw - 2 * cw, ch), QRect(cw, 0, iw - 2 * cw, ch), image);
    drawImage(painter, QRect(rx, ry + rh - ch, cw, ch), QRect(0, ih - ch, cw, ch), image);
    drawImage(painter, QRect(rx + rw - cw, ry + rh - ch, cw, ch), QRect(iw - cw, ih - ch, cw, ch), image);
    if (rw - 2 * cw > 0)
        drawImage(painter, QRect(rx + cw, ry + rh - ch, rw - 2 * cw, ch), QRect(cw, ih - ch, iw - 2 * cw, ch), image);
    if (rh - 2 * ch > 0) {
        drawImage(painter, QRect(rx, ry + ch, cw, rh - 2 * ch), QRect(0, ch, cw, ih - 2 * ch), image);
        drawImage(painter, QRect(rx + rw - cw, ry + ch, cw, rh - 2 * ch), QRect(iw - cw, ch, cw, ih - 2 * ch), image);
        if (ih - 2 * ch > 0)
            drawImage(painter, QRect(rx + cw, ry + ch, rw - 2 * cw, rh - 2 * ch),
                      QRect(cw, ch, iw - 2 * cw, ih - 2 * ch), image);
    }
}

QPainterPath QBaseImageDraw::GetRoundedRectanglePath(QRectF rect, double radius)
{
    const double x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    const double right = x + w, bottom = y + h;
    const double r = qMin(radius, double(int(qMin(w, h)) / 2));
    QPainterPath path;
    path.moveTo(right - r, y);
    path.lineTo(x + r, y);
    path.quadTo(QPointF(x, y), QPointF(x, y + r));
    path.lineTo(x, bottom - r);
    path.quadTo(QPointF(x, bottom), QPointF(x + r, bottom));
    path.lineTo(right - r, bottom);
    path.quadTo(QPointF(right, bottom), QPointF(right, bottom - r));
    path.lineTo(right, y + r);
    path.quadTo(QPointF(right, y), QPointF(right - r, y));
    return path;
}

QImage QBaseImageDraw::stripFrame(const QImage &strip, int k)
{
    const int fw = strip.width() / 4;
    if (strip.isNull() || fw < 1)
        return QImage();
    QImage frame = strip.copy(k * fw, 0, fw, strip.height());
    frame.setDevicePixelRatio(2.0);
    return frame;
}

void QBaseImageDraw::drawIcon(QPainter &painter, QPoint topLeft, QSize size, const QImage &image)
{
    if (image.isNull())
        return;
    QImage scaled = image.scaled(size * 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(2.0);
    painter.drawImage(QPointF(topLeft), scaled);
}

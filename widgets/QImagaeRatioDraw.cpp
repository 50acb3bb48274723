#include "QImagaeRatioDraw.h"

namespace {
QRectF doubled(const QRect &source)
{
    return QRectF(2.0 * source.x(), 2.0 * source.y(), 2.0 * source.width(), 2.0 * source.height());
}
} // namespace

QImagaeRatioDraw::QImagaeRatioDraw(QObject *parent) : QObject(parent) {}

void QImagaeRatioDraw::drawImage(QPainter &p, const QRect &target, const QRect &source, const QImage &image)
{
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(target), image, doubled(source));
}

void QImagaeRatioDraw::drawPixmap(QPainter &p, const QRect &target, const QRect &source, const QPixmap &pixmap)
{
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawPixmap(QRectF(target), pixmap, doubled(source));
}

#pragma once
// Drawing helpers for 2x images: source rectangles are given in logical pixels and doubled into image
// pixels; nine-grid drawing keeps the corners at their natural size.

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRect>

class QBaseImageDraw
{
public:
    QBaseImageDraw() {}

    static void drawImage(QPainter &painter, QRect target, QRect source, const QImage &image);
    static void drawPixmap(QPainter &painter, QRect target, QRect source, const QPixmap &pixmap);
    static void drawBtnImageBg(QPainter &painter, QRect rect, const QImage &image, bool nineGrid);
    static QPainterPath GetRoundedRectanglePath(QRectF rect, double radius);
    // Frame k (0..3) of a four-frame strip at ratio 2; a null image for a strip without frames.
    static QImage stripFrame(const QImage &strip, int k);
    // A 2x image scaled smoothly into a logical box at topLeft, keeping its aspect.
    static void drawIcon(QPainter &painter, QPoint topLeft, QSize size, const QImage &image);
};

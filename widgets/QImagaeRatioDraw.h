#pragma once
// Draws part of a 2x image: source rectangles are given in logical pixels and doubled to image pixels.

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPixmap>
#include <QRect>

class QImagaeRatioDraw : public QObject
{
    Q_OBJECT
public:
    explicit QImagaeRatioDraw(QObject *parent = nullptr);

    static void drawImage(QPainter &p, const QRect &target, const QRect &source, const QImage &image);
    static void drawPixmap(QPainter &p, const QRect &target, const QRect &source, const QPixmap &pixmap);
};

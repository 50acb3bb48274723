#include "NSImgItemView.h"

#include <QPainter>
#include <QPen>

void drawImageSlice(QPainter &painter, const QImage &image, const QRectF &target, const QRectF &source)
{
    if (image.isNull() || target.width() <= 0.0 || target.height() <= 0.0 || source.width() <= 0.0 ||
        source.height() <= 0.0)
        return;
    painter.drawImage(target, image, source);
}

NSImgItemView::NSImgItemView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void NSImgItemView::setItemImage(const QString &path)
{
    setImage(QImage(path));
}

void NSImgItemView::setImage(const QImage &image)
{
    _image = image;
    if (!isHidden())
        update();
}

void NSImgItemView::paintEvent(QPaintEvent *)
{
    if (_image.isNull() || !_bShowBorder)
        return;
    QPainter painter(this);
    const double w = width();
    const double h = height();
    const double iw = _image.width();
    const double ih = _image.height();
    const double s = kHandleSize;
    struct Piece
    {
        double x, y, sx, sy;
    };
    const Piece handles[] = {
        {0, 0, 0, 0},                                   // top left
        {w - s, 0, iw - s, 0},                          // top right
        {0, h - s, 0, ih - s},                          // bottom left
        {w - s, h - s, iw - s, ih - s},                 // bottom right
        {(w - s) * 0.5, 0, (iw - s) * 0.5, 0},          // top middle
        {(w - s) * 0.5, h - s, (iw - s) * 0.5, ih - s}, // bottom middle
        {0, (h - s) * 0.5, 0, (ih - s) * 0.5},          // left middle
        {w - s, (h - s) * 0.5, iw - s, (ih - s) * 0.5}, // right middle
    };
    for (const Piece &piece : handles)
        drawImageSlice(painter, _image, QRectF(piece.x, piece.y, s, s), QRectF(piece.sx, piece.sy, s, s));
    if (_bShowMid) {
        const double c = kCentreSize;
        drawImageSlice(painter, _image, QRectF((w - c) * 0.5, (h - c) * 0.5, c, c),
                       QRectF((iw - c) * 0.5, (ih - c) * 0.5, c, c));
    }
    // 3 on, 2 off in pixels; Qt measures dash patterns in pen widths, and square caps would close the gaps.
    QPen pen(Qt::white, 2.0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1.5, 1.0});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()));
}

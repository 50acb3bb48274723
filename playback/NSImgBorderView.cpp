#include "NSImgBorderView.h"

#include "NSImgItemView.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

NSImgBorderView::NSImgBorderView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void NSImgBorderView::setItemRect(const QRect &rect)
{
    if (!_itemView) {
        _itemView = new NSImgItemView(this);
        _itemView->setItemImage(_itemImg);
        _itemView->show();
    }
    _itemView->setGeometry(rect);
}

void NSImgBorderView::setBackgroundImage(const QString &path)
{
    setImage(QImage(path));
}

void NSImgBorderView::setImage(const QImage &image)
{
    _image = image;
    const QSizeF slice(std::floor(image.width() / 3.0 + 0.5), std::floor(image.height() / 3.0 + 0.5));
    setGridViewInfo(slice, slice, slice, slice);
    setMouseTracking(true);
    if (!isHidden())
        update();
}

void NSImgBorderView::setGridViewInfo(const QSizeF &upLeft, const QSizeF &upRight, const QSizeF &downLeft,
                                      const QSizeF &downRight)
{
    _upLeft = upLeft;
    _upRight = upRight;
    _downLeft = downLeft;
    _downRight = downRight;
    update();
}

void NSImgBorderView::paintEvent(QPaintEvent *)
{
    if (_image.isNull())
        return;
    QPainter painter(this);
    const double w = width();
    const double h = height();
    const double iw = _image.width();
    const double ih = _image.height();
    const double ulw = _upLeft.width(), ulh = _upLeft.height();
    const double urw = _upRight.width(), urh = _upRight.height();
    const double dlw = _downLeft.width(), dlh = _downLeft.height();
    const double drw = _downRight.width(), drh = _downRight.height();

    // Corners at their own size; edges and centre stretched over the gaps, each widened by one pixel at
    // both ends so that no seam shows between the pieces.
    drawImageSlice(painter, _image, QRectF(0, 0, ulw, ulh), QRectF(0, 0, ulw, ulh));
    drawImageSlice(painter, _image, QRectF(w - urw, 0, urw, urh), QRectF(iw - urw, 0, urw, urh));
    if (int(w - ulw - urw) > 0)
        drawImageSlice(painter, _image, QRectF(ulw - 1, 0, w - ulw - urw + 2, ulh),
                       QRectF(ulw, 0, iw - ulw - urw, ulh));
    drawImageSlice(painter, _image, QRectF(0, h - dlh, dlw, dlh), QRectF(0, ih - dlh, dlw, dlh));
    drawImageSlice(painter, _image, QRectF(w - drw, h - drh, drw, drh), QRectF(iw - drw, ih - drh, drw, drh));
    drawImageSlice(painter, _image, QRectF(dlw - 1, h - dlh, w - dlw - drw + 2, dlh),
                   QRectF(dlw, ih - dlh, iw - dlw - drw, dlh));
    drawImageSlice(painter, _image, QRectF(0, ulh - 1, ulw, h - ulh - dlh + 2), QRectF(0, ulh, ulw, ih - ulh - dlh));
    drawImageSlice(painter, _image, QRectF(w - urw, urh - 1, urw, h - urh - drh + 2),
                   QRectF(iw - urw, urh, urw, ih - urh - drh));
    drawImageSlice(painter, _image, QRectF(ulw - 1, ulh - 1, w - ulw - urw + 2, h - ulh - dlh + 2),
                   QRectF(ulw, ulh, iw - ulw - urw, ih - ulh - dlh));
}

void NSImgBorderView::report(MouseCallback callback, QMouseEvent *event)
{
    if (!callback)
        return;
    const QPointF location = QPointF(mapTo(window(), QPoint(0, 0))) + event->localPos();
    callback(location, _pObject);
}

void NSImgBorderView::mouseMoveEvent(QMouseEvent *event)
{
    report(_mouseMove, event);
}

void NSImgBorderView::mousePressEvent(QMouseEvent *event)
{
    report(_mouseDown, event);
}

void NSImgBorderView::mouseReleaseEvent(QMouseEvent *event)
{
    report(_mouseUp, event);
}

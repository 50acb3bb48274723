#pragma once
// A resizable selection frame drawn over the video: the frame image is stretched around the view by
// nine-slice drawing, the selected item is a child NSImgItemView, and mouse activity is reported to plain
// callbacks with the position in window coordinates and the owner pointer given at registration.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QWidget>

class NSImgItemView;

class NSImgBorderView : public QWidget
{
    Q_OBJECT

public:
    using MouseCallback = void (*)(QPointF location, void *owner);

    explicit NSImgBorderView(QWidget *parent = nullptr);

    void setCallBackObject(void *owner) { _pObject = owner; }
    void setMoveCallback(MouseCallback callback) { _mouseMove = callback; }
    void setDownCallback(MouseCallback callback) { _mouseDown = callback; }
    void setUpCallback(MouseCallback callback) { _mouseUp = callback; }

    // Creates the item view on first use (with the item image path stored so far), then places it.
    void setItemRect(const QRect &rect);
    // Takes effect when the item view is created.
    void setItemImage(const QString &path) { _itemImg = path; }
    void setBackgroundImage(const QString &path);
    // Keeps a copy; the four corner slices become a third of the image each way.
    void setImage(const QImage &image);
    void setGridViewInfo(const QSizeF &upLeft, const QSizeF &upRight, const QSizeF &downLeft, const QSizeF &downRight);

    NSImgItemView *itemView() const { return _itemView; }
    QImage image() const { return _image; }
    QSizeF upLeft() const { return _upLeft; }
    QSizeF upRight() const { return _upRight; }
    QSizeF downLeft() const { return _downLeft; }
    QSizeF downRight() const { return _downRight; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void report(MouseCallback callback, QMouseEvent *event);

    void *_pObject = nullptr;
    MouseCallback _mouseMove = nullptr;
    MouseCallback _mouseDown = nullptr;
    MouseCallback _mouseUp = nullptr;
    NSImgItemView *_itemView = nullptr;
    QString _itemImg;
    QImage _image;
    QSizeF _upLeft;
    QSizeF _upRight;
    QSizeF _downLeft;
    QSizeF _downRight;
};

#pragma once
// The selected item inside a crop overlay: handle pieces at its corners and edge midpoints, taken from
// the item image, an optional centre piece and a dashed white outline. Mouse events pass through it to
// the overlay underneath, which does the dragging.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>

class QPainter;

// Draws the part `source` of `image` scaled into `target`; pieces without area are skipped.
void drawImageSlice(QPainter &painter, const QImage &image, const QRectF &target, const QRectF &source);

class NSImgItemView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHandleSize = 6;
    static constexpr int kCentreSize = 16;

    explicit NSImgItemView(QWidget *parent = nullptr);

    void setItemImage(const QString &path);
    void setImage(const QImage &image);
    QImage image() const { return _image; }

    // Neither requests a redraw.
    void showBorderImg(bool show) { _bShowBorder = show; }
    void showMidImg(bool show) { _bShowMid = show; }
    bool isBorderShown() const { return _bShowBorder; }
    bool isMidShown() const { return _bShowMid; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage _image;
    bool _bShowBorder = true;
    bool _bShowMid = true;
};

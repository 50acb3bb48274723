#pragma once
// Lets the user drag a crop box on an NSImgBorderView: it registers itself for the view's mouse callbacks,
// grabs an edge, a corner or the inside of the box, moves the item view along and reports the box as
// fractions of the picture. The picture's place inside the view is given with setElementRect.

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QSizeF>

class NSImgBorderView;

class CropBoxTracker : public QObject
{
    Q_OBJECT

public:
    explicit CropBoxTracker(NSImgBorderView *view, QObject *parent = nullptr);
    ~CropBoxTracker() override;

    // The picture's rectangle in the view's coordinates.
    void setElementRect(const QRect &element);
    QRect elementRect() const { return m_element; }
    // Clamped to the frame; does not emit.
    void setCropRect(const QRectF &crop);
    QRectF cropRect() const { return m_crop; }
    void setMinimumBoxPixels(const QSizeF &pixels) { m_minPixels = pixels; }

    unsigned dragZone() const { return m_zone; }

signals:
    void emitCropRectChange(QRectF crop);

private:
    static void OnMouseMove(QPointF location, void *owner);
    static void OnMouseDown(QPointF location, void *owner);
    static void OnMouseUp(QPointF location, void *owner);

    QPoint viewPoint(QPointF location) const;
    void mouseDown(const QPoint &point);
    void mouseMove(const QPoint &point);
    void mouseUp();
    void placeItem();

    QPointer<NSImgBorderView> m_view;
    QRect m_element;
    QRectF m_crop = QRectF(0.0, 0.0, 1.0, 1.0);
    QRectF m_startBox;
    QPoint m_press;
    QSizeF m_minPixels;
    unsigned m_zone = 0;
};
